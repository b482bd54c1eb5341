#include "tests/windows/WindowDriver.h"

#include "platform/win32/Win32Text.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <sstream>

namespace window_testing {

namespace {

constexpr DWORD kPollMs = 20;
// Reading a text must not hang a test on a program that stopped answering.
constexpr DWORD kAnswerMs = 2000;

class TDeadline {
public:
    explicit TDeadline(DWORD timeoutMs) : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}
    bool Passed() const { return std::chrono::steady_clock::now() >= end_; }

private:
    std::chrono::steady_clock::time_point end_;
};

std::string ClassOf(HWND window)
{
    wchar_t name[256] = L"";
    const int length = GetClassNameW(window, name, 256);
    return platform::Narrow(name, length);
}

bool Matches(const TWindowInfo& info, const std::string& text, const std::string& className)
{
    return info.visible && info.text == text && (className.empty() || info.className == className);
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Listing(const std::vector<TWindowInfo>& windows)
{
    std::ostringstream out;
    for (const TWindowInfo& info : windows)
        out << "\n  " << Quoted(info.text) << " (" << info.className << (info.visible ? "" : ", hidden")
            << (info.enabled ? "" : ", disabled") << ")";
    return windows.empty() ? "\n  (none)" : out.str();
}

std::string Wanted(const std::string& text, const std::string& className)
{
    return Quoted(text) + (className.empty() ? "" : " of class " + className);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// Under Wine all test programs share one server: on the common desktop another program's
// windows, focus, typed keys and FindWindow calls would meet these ones, and that desktop goes
// away with the display of whoever opened it. So each test program starts its programs on a
// desktop of its own, which this thread joins (before it has any window) to enumerate them.
std::wstring PrivateDesktop()
{
    static const std::wstring name = [] {
        std::wstring desktop = L"quillsweep-tests-" + std::to_wstring(GetCurrentProcessId());
        HDESK handle = CreateDesktopW(desktop.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (!handle || !SetThreadDesktop(handle))
            ADD_FAILURE() << "cannot use a desktop of the tests' own, error " << GetLastError();
        // Up before the program wants it: Wine brings a new desktop's window up in the background,
        // and a program started too early cannot create its windows there.
        GetDesktopWindow();
        for (int attempt = 0; attempt < 100; ++attempt) {
            HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
            if (probe) {
                DestroyWindow(probe);
                break;
            }
            Sleep(50);
        }
        return desktop;
    }();
    return name;
}

// Programs on one X display share its keyboard focus: a window shown by another test takes it
// from the window being typed into. So tests driving windows on the same display take turns.
HANDLE TakeDisplayTurn()
{
    wchar_t display[64] = L"";
    GetEnvironmentVariableW(L"DISPLAY", display, 64);
    HANDLE turn = CreateMutexW(nullptr, FALSE, (L"quillsweep-window-tests-display" + std::wstring(display)).c_str());
    constexpr DWORD kTurnWaitMs = 10 * 60 * 1000;
    const DWORD waited = turn ? WaitForSingleObject(turn, kTurnWaitMs) : WAIT_FAILED;
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return turn;
    ADD_FAILURE() << "other tests on this display kept it for 10 minutes; going on without a turn";
    if (turn)
        CloseHandle(turn);
    return nullptr;
}

// The enabled state as a user meets it: a control in a disabled window cannot be used either.
HWND DisabledAncestorOrSelf(HWND window)
{
    for (HWND w = window; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        if (!IsWindowEnabled(w))
            return w;
    return nullptr;
}

::testing::AssertionResult Usable(HWND window, const char* what)
{
    if (!IsWindow(window))
        return ::testing::AssertionFailure() << what << " is not a window (any more)";
    if (!IsWindowVisible(window))
        return ::testing::AssertionFailure() << what << " " << Quoted(WindowText(window)) << " is hidden";
    if (HWND disabled = DisabledAncestorOrSelf(window)) {
        auto failure = ::testing::AssertionFailure() << what << " " << Quoted(WindowText(window));
        if (disabled == window)
            return failure << " is disabled";
        return failure << " is in the disabled window " << Quoted(WindowText(disabled)) << " (is a modal window open?)";
    }
    return ::testing::AssertionSuccess();
}

// Memory in another process for the messages whose pointers the system does not carry across.
class TRemoteBuffer {
public:
    TRemoteBuffer(HWND window, size_t size)
    {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, id);
        BOOL targetWow64 = FALSE;
        BOOL ownWow64 = FALSE;
        // The structures are laid out for this process's pointer size.
        if (process_ && IsWow64Process(process_, &targetWow64) && IsWow64Process(GetCurrentProcess(), &ownWow64)
            && targetWow64 == ownWow64)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_)
            ADD_FAILURE() << "cannot share memory with the process of " << ClassOf(window)
                          << " (not 32-bit like the tests?), error " << GetLastError();
    }
    ~TRemoteBuffer()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    TRemoteBuffer(const TRemoteBuffer&) = delete;
    TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

    bool Ok() const { return address_ != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const
    {
        return WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const
    {
        return ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

constexpr int kItemTextChars = 1024;
// What the system posts when it takes F1 from the keyboard; the headers do not name it.
constexpr UINT kKeyF1Message = 0x004D;

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerMs, &result);
    return static_cast<LRESULT>(result);
}

LPARAM KeyData(WORD virtualKey, bool up, bool alt)
{
    UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const bool extended = (virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN) || virtualKey == VK_INSERT
                          || virtualKey == VK_DELETE;
    LPARAM data = 1 | (scan << 16) | (extended ? 1 << 24 : 0) | (alt ? 1 << 29 : 0);
    if (up)
        data |= 0xC0000000;
    return data;
}

struct TKeyMessage {
    UINT message;
    WORD virtualKey;
    LPARAM data;
};

// Threads answer sent messages before they take posted ones, so a single round trip may come back
// before the keys were even read. Each pass of the message loop takes one posted message, and the
// pause lets the loop ask for the next one before the next round trip is queued: two rounds for
// every key message (covering the characters TranslateMessage adds), and one more.
::testing::AssertionResult WaitForKeysTaken(HWND window, size_t posted)
{
    for (size_t round = 0; round < 2 * posted + 1; ++round) {
        Sleep(2);
        if (auto idle = WaitForIdle(window); !idle)
            return idle;
    }
    return ::testing::AssertionSuccess();
}

// The program's focus when it is in the window (or is the window), else nullptr.
HWND FocusWithin(HWND window)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) || !thread.hwndFocus)
        return nullptr;
    return thread.hwndFocus == window || IsChild(window, thread.hwndFocus) ? thread.hwndFocus : nullptr;
}

::testing::AssertionResult PostKeys(HWND window, const std::vector<TKeyMessage>& keys)
{
    if (auto usable = Usable(window, "window"); !usable)
        return usable;
    // The X display has one keyboard focus for all programs on it: when another window took it,
    // this one lost its focus. Bring it back first, as a user would click it.
    const HWND root = GetAncestor(window, GA_ROOT);
    if (!FocusWithin(root)) {
        SetForegroundWindow(root);
        if (auto idle = WaitForIdle(root); !idle)
            return idle;
    }
    // Keys go where the program's focus is, as a user's would, as long as that is in this window.
    const HWND focus = FocusWithin(window);
    const HWND target = focus ? focus : window;
    // Posted, so the program's message loop sees them (dialog keys, accelerators, characters);
    // injected input would need the foreground, which under Wine releases the modifiers.
    for (const TKeyMessage& key : keys)
        if (!PostMessageW(target, key.message, key.virtualKey, key.data))
            return ::testing::AssertionFailure() << "cannot post a key to " << Quoted(WindowText(target));
    return WaitForKeysTaken(window, keys.size());
}

} // namespace

TProgram::TProgram(const std::string& exe, const std::string& arguments, const std::string& folder)
{
    displayTurn_ = TakeDisplayTurn();
    const std::wstring desktop = PrivateDesktop();
    std::wstring commandLine = L"\"" + platform::Widen(exe) + L"\"";
    if (!arguments.empty())
        commandLine += L" " + platform::Widen(arguments);
    const std::wstring directory = platform::Widen(folder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(desktop.c_str());
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start " << exe << " in " << (folder.empty() ? "this folder" : folder) << ", error "
                      << GetLastError();
        return;
    }
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    id_ = process.dwProcessId;
}

TProgram::~TProgram()
{
    Kill();
    if (displayTurn_) {
        ReleaseMutex(displayTurn_);
        CloseHandle(displayTurn_);
    }
}

std::optional<DWORD> TProgram::WaitForExit(DWORD timeoutMs) const
{
    DWORD code = 0;
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(process_, &code))
        return std::nullopt;
    return code;
}

void TProgram::Kill()
{
    if (!process_)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, kWaitMs);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

std::vector<TWindowInfo> TProgram::Windows() const
{
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<TWindowInfo> windows;
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == id_)
            windows.push_back(Describe(window));
    }
    return windows;
}

HWND TProgram::WaitForWindow(const std::string& text, const std::string& className, DWORD timeoutMs) const
{
    const TDeadline deadline(timeoutMs);
    for (;;) {
        const std::vector<TWindowInfo> windows = Windows();
        for (const TWindowInfo& info : windows)
            if (Matches(info, text, className)) {
                if (auto idle = WaitForIdle(info.handle); !idle) {
                    ADD_FAILURE() << idle.message();
                    return nullptr;
                }
                return info.handle;
            }
        const std::optional<DWORD> exit = WaitForExit(0);
        if (exit || deadline.Passed()) {
            ADD_FAILURE() << "no window " << Wanted(text, className) << " in " << timeoutMs << " ms"
                          << (exit ? "; the program exited with code " + std::to_string(*exit) : "")
                          << "; its top-level windows:" << Listing(windows);
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

::testing::AssertionResult WaitUntilGone(HWND window, DWORD timeoutMs)
{
    const TDeadline deadline(timeoutMs);
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (deadline.Passed())
            return ::testing::AssertionFailure() << "the window " << Quoted(WindowText(window))
                                                 << " is still there after " << timeoutMs << " ms";
        Sleep(kPollMs);
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WaitForIdle(HWND window, DWORD timeoutMs)
{
    if (!window)
        return ::testing::AssertionFailure() << "no window to wait for";
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) || !IsWindow(window))
        return ::testing::AssertionSuccess();  // a window gone is one its thread has finished with
    return ::testing::AssertionFailure() << "the window " << Quoted(WindowText(window)) << " did not answer in "
                                         << timeoutMs << " ms (busy or hung)";
}

std::string WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerMs, &length)) {
        // Not answering: the caption the system keeps is better than nothing in a failure message.
        wchar_t caption[512] = L"";
        return platform::Narrow(caption, InternalGetWindowText(window, caption, 512));
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, kAnswerMs,
                        &copied);
    return platform::Narrow(text.c_str(), static_cast<int>(std::min<DWORD_PTR>(copied, length)));
}

::testing::AssertionResult WaitForText(HWND window, const std::string& text, DWORD timeoutMs)
{
    const TDeadline deadline(timeoutMs);
    for (;;) {
        const std::string now = WindowText(window);
        if (now == text)
            return ::testing::AssertionSuccess();
        if (deadline.Passed() || !IsWindow(window))
            return ::testing::AssertionFailure() << "the window shows " << Quoted(now) << ", not " << Quoted(text)
                                                 << ", after " << timeoutMs << " ms";
        Sleep(kPollMs);
    }
}

RECT ClientRect(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TWindowInfo Describe(HWND window)
{
    TWindowInfo info;
    info.handle = window;
    info.className = ClassOf(window);
    info.text = WindowText(window);
    info.visible = IsWindowVisible(window);
    info.enabled = IsWindowEnabled(window);
    info.rect = WindowRect(window);
    return info;
}

std::vector<TWindowInfo> Children(HWND parent)
{
    // Without a parent the system would list the top-level windows instead.
    if (!parent)
        return {};
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<TWindowInfo> children;
    for (HWND child : all)
        children.push_back(Describe(child));
    return children;
}

HWND FindChild(HWND parent, const std::string& text, const std::string& className, DWORD timeoutMs)
{
    if (!IsWindow(parent)) {
        ADD_FAILURE() << "no window to look for " << Wanted(text, className) << " in";
        return nullptr;
    }
    const TDeadline deadline(timeoutMs);
    for (;;) {
        const std::vector<TWindowInfo> children = Children(parent);
        for (const TWindowInfo& info : children)
            if (Matches(info, text, className))
                return info.handle;
        if (deadline.Passed() || !IsWindow(parent)) {
            ADD_FAILURE() << "no visible child " << Wanted(text, className) << " in " << Quoted(WindowText(parent))
                          << " after " << timeoutMs << " ms; its children:" << Listing(children);
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

::testing::AssertionResult Press(HWND button)
{
    // A control the last click enabled may wait for its window to catch up on a loaded machine;
    // one that stays disabled still fails below.
    for (int waited = 0; IsWindow(button) && !IsWindowEnabled(button) && waited < 2000; waited += 50) {
        WaitForIdle(button);
        Sleep(50);
    }
    if (auto usable = Usable(button, "button"); !usable)
        return usable;
    // Not SendMessage: a click that opens a modal window would not return before that window
    // closes, and the test could not close it; SendMessageTimeout would come back only at its
    // timeout, not knowing why. A notify message returns at once yet is queued with sent messages,
    // so the round trip behind it ends only once the click was handled or a modal loop it opened
    // runs. (A posted click would come after the round trip: threads answer sent messages first.)
    if (!SendNotifyMessageW(button, BM_CLICK, 0, 0))
        return ::testing::AssertionFailure() << "cannot click " << Quoted(WindowText(button));
    return WaitForIdle(button);
}

::testing::AssertionResult Press(HWND parent, const std::string& text)
{
    HWND button = FindChild(parent, text);
    if (!button)
        return ::testing::AssertionFailure() << "no button " << Quoted(text);
    return Press(button);
}

bool IsChecked(HWND checkBox)
{
    return Ask(checkBox, BM_GETCHECK) == BST_CHECKED;
}

::testing::AssertionResult SetChecked(HWND checkBox, bool checked)
{
    if (IsChecked(checkBox) == checked)
        return ::testing::AssertionSuccess();
    if (auto pressed = Press(checkBox); !pressed)
        return pressed;
    if (IsChecked(checkBox) != checked)
        return ::testing::AssertionFailure() << Quoted(WindowText(checkBox)) << " did not become "
                                             << (checked ? "checked" : "unchecked");
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PressKey(HWND window, WORD virtualKey)
{
    std::vector<TKeyMessage> keys{{WM_KEYDOWN, virtualKey, KeyData(virtualKey, false, false)}};
    // The system turns only a key from the keyboard into help (WM_KEYF1, then WM_HELP); a posted
    // one gets the same from here.
    if (virtualKey == VK_F1)
        keys.push_back({kKeyF1Message, 0, 0});
    keys.push_back({WM_KEYUP, virtualKey, KeyData(virtualKey, true, false)});
    return PostKeys(window, keys);
}

::testing::AssertionResult PressAltKey(HWND window, char letter)
{
    const WORD key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(letter)));
    // What the keyboard gives for Alt+letter; releasing Alt last is a plain key-up, which opens no menu.
    return PostKeys(window, {{WM_SYSKEYDOWN, VK_MENU, KeyData(VK_MENU, false, true)},
                             {WM_SYSKEYDOWN, key, KeyData(key, false, true)},
                             {WM_SYSKEYUP, key, KeyData(key, true, true)},
                             {WM_KEYUP, VK_MENU, KeyData(VK_MENU, true, false)}});
}

::testing::AssertionResult TypeText(HWND window, const std::string& text)
{
    std::vector<TKeyMessage> keys;
    for (wchar_t ch : platform::Widen(text))
        keys.push_back({WM_CHAR, static_cast<WORD>(ch), 1});
    return PostKeys(window, keys);
}

int ListViewItemCount(HWND listView)
{
    return static_cast<int>(Ask(listView, LVM_GETITEMCOUNT));
}

int ListViewColumnCount(HWND listView)
{
    HWND header = reinterpret_cast<HWND>(Ask(listView, LVM_GETHEADER));
    return header ? static_cast<int>(Ask(header, HDM_GETITEMCOUNT)) : 1;
}

std::string ListViewText(HWND listView, int item, int subItem)
{
    TRemoteBuffer remote(listView, sizeof(LVITEMW) + kItemTextChars * sizeof(wchar_t));
    if (!remote.Ok())
        return {};
    LVITEMW request{};
    request.iSubItem = subItem;
    request.pszText = reinterpret_cast<wchar_t*>(remote.At(sizeof request));
    request.cchTextMax = kItemTextChars;
    remote.Write(0, &request, sizeof request);
    const int length = static_cast<int>(Ask(listView, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote.At(0))));
    std::wstring text(static_cast<size_t>(std::max(length, 0)), L'\0');
    if (length > 0)
        remote.Read(sizeof request, text.data(), text.size() * sizeof(wchar_t));
    return platform::Narrow(text);
}

::testing::AssertionResult SelectListViewItem(HWND listView, int item)
{
    TRemoteBuffer remote(listView, sizeof(LVITEMW));
    if (!remote.Ok())
        return ::testing::AssertionFailure() << "no memory in the list's process";
    // Only this row selected and focused, as a click on it would leave it.
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &none, sizeof none);
    Ask(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.At(0)));
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &state, sizeof state);
    if (!Ask(listView, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(remote.At(0))))
        return ::testing::AssertionFailure() << "row " << item << " cannot be selected";
    return ::testing::AssertionSuccess();
}

bool ListViewChecked(HWND listView, int item)
{
    // State image 2 is the ticked box.
    const LRESULT state = Ask(listView, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK);
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

std::vector<std::vector<std::string>> ListViewRows(HWND listView)
{
    const int columns = ListViewColumnCount(listView);
    std::vector<std::vector<std::string>> rows;
    for (int item = 0, count = ListViewItemCount(listView); item < count; ++item) {
        rows.emplace_back();
        for (int column = 0; column < columns; ++column)
            rows.back().push_back(ListViewText(listView, item, column));
    }
    return rows;
}

namespace {

// Visits every item in display order, collapsed branches included, until visit returns false.
template <typename Visit>
void WalkTreeView(HWND treeView, Visit visit)
{
    TRemoteBuffer remote(treeView, sizeof(TVITEMW) + kItemTextChars * sizeof(wchar_t));
    if (!remote.Ok())
        return;
    auto next = [&](HTREEITEM item, WPARAM relation) {
        return reinterpret_cast<HTREEITEM>(Ask(treeView, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    // Depth first without recursion: a deep tree must not exhaust the stack.
    std::vector<HTREEITEM> path;
    for (HTREEITEM item = next(nullptr, TVGN_ROOT); item;) {
        TVITEMW request{};
        request.mask = TVIF_TEXT | TVIF_HANDLE;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(remote.At(sizeof request));
        request.cchTextMax = kItemTextChars;
        wchar_t text[kItemTextChars] = L"";
        remote.Write(0, &request, sizeof request);
        if (Ask(treeView, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.At(0))))
            remote.Read(sizeof request, text, sizeof text);
        text[kItemTextChars - 1] = L'\0';
        if (!visit(item, TTreeItem{static_cast<int>(path.size()), platform::Narrow(text)}))
            return;

        if (HTREEITEM child = next(item, TVGN_CHILD)) {
            path.push_back(item);
            item = child;
            continue;
        }
        item = next(item, TVGN_NEXT);
        while (!item && !path.empty()) {
            item = next(path.back(), TVGN_NEXT);
            path.pop_back();
        }
    }
}

} // namespace

std::vector<TTreeItem> TreeViewItems(HWND treeView)
{
    std::vector<TTreeItem> items;
    WalkTreeView(treeView, [&](HTREEITEM, const TTreeItem& item) {
        items.push_back(item);
        return true;
    });
    return items;
}

::testing::AssertionResult SelectTreeViewItem(HWND treeView, const std::string& text)
{
    HTREEITEM found = nullptr;
    std::string seen;
    WalkTreeView(treeView, [&](HTREEITEM item, const TTreeItem& entry) {
        if (entry.text == text)
            found = item;
        seen += " \"" + entry.text + "\"";
        return !found;
    });
    if (!found)
        return ::testing::AssertionFailure() << "no item \"" << text << "\" among" << seen;
    if (!Ask(treeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found)))
        return ::testing::AssertionFailure() << "item \"" << text << "\" cannot be selected";
    return ::testing::AssertionSuccess();
}

} // namespace window_testing
