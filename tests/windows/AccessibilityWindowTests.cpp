// The windows as a screen reader sees them: every control read through Active Accessibility
// from another process (AccessibleObjectFromWindow), compared with what the window shows and
// with what the command-line tool reports, and a whole cycle run through default actions alone.
#include "tests/windows/ProgramWindowsFixture.h"

#include "CliProcess.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <sstream>

using namespace program_testing;
using cli_testing::RunTool;

namespace {

// One element: an object, or a simple child (an item) of one.
struct TElement {
    IAccessible* object = nullptr;
    long child = CHILDID_SELF;

    VARIANT Id() const
    {
        VARIANT id;
        VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = child;
        return id;
    }
    template <class Get>
    std::string Text(Get get) const
    {
        BSTR text = nullptr;
        if (!object || FAILED((object->*get)(Id(), &text)) || !text)
            return {};
        std::string result = platform::Narrow(text, static_cast<int>(SysStringLen(text)));
        SysFreeString(text);
        return result;
    }
    std::string Name() const { return Text(&IAccessible::get_accName); }
    std::string Value() const { return Text(&IAccessible::get_accValue); }
    std::string Description() const { return Text(&IAccessible::get_accDescription); }
    std::string DefaultAction() const { return Text(&IAccessible::get_accDefaultAction); }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const
    {
        VARIANT value;
        VariantInit(&value);
        if (!object || FAILED((object->*get)(Id(), &value)) || value.vt != VT_I4)
            return -1;
        return value.lVal;
    }
    long Role() const { return Number(&IAccessible::get_accRole); }
    long State() const { return Number(&IAccessible::get_accState); }
    bool Has(long state) const { return State() >= 0 && (State() & state) != 0; }
    long ChildCount() const
    {
        long count = -1;
        return object && SUCCEEDED(object->get_accChildCount(&count)) ? count : -1;
    }
    TElement Item(long id) const { return {object, id}; }
    HRESULT DoDefaultAction() const { return object ? object->accDoDefaultAction(Id()) : E_FAIL; }
};

// The client object of a window, as a screen reader gets it; released with the test's scope.
class TAccessibleWindow {
public:
    explicit TAccessibleWindow(HWND window)
    {
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&object_));
    }
    ~TAccessibleWindow()
    {
        if (object_)
            object_->Release();
    }
    TAccessibleWindow(const TAccessibleWindow&) = delete;
    TAccessibleWindow& operator=(const TAccessibleWindow&) = delete;
    explicit operator bool() const { return object_ != nullptr; }
    TElement Self() const { return {object_, CHILDID_SELF}; }

private:
    IAccessible* object_ = nullptr;
};

// Joins COM after the first program started: the thread moves to the tests' desktop then, which
// a thread with a window (COM's) cannot do.
class TComScope {
public:
    TComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~TComScope() { CoUninitialize(); }
};

std::string WithoutMnemonics(const std::string& caption)
{
    std::string read;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        read += caption[i];
    }
    return read;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');)
        fields.push_back(field);
    return fields;
}

std::vector<std::vector<std::string>> Records(const std::string& text)
{
    std::vector<std::vector<std::string>> records;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        if (!line.empty())
            records.push_back(Fields(line));
    return records;
}

// Every button of the window reads as a button of its caption (a glyph's by its hint), with
// its real state and an action; returns how many were read.
int CheckButtons(HWND window)
{
    int read = 0;
    for (const TWindowInfo& control : Children(window)) {
        if (!control.visible || control.className != "Button")
            continue;
        TAccessibleWindow accessible(control.handle);
        EXPECT_TRUE(accessible) << control.text;
        if (!accessible)
            continue;
        const TElement button = accessible.Self();
        const long role = button.Role();
        EXPECT_TRUE(role == ROLE_SYSTEM_PUSHBUTTON || role == ROLE_SYSTEM_CHECKBUTTON || role == ROLE_SYSTEM_RADIOBUTTON)
            << control.text << " reads as role " << role;
        if (!control.text.empty()) {
            EXPECT_EQ(WithoutMnemonics(control.text), button.Name());
        }
        EXPECT_FALSE(button.Name().empty()) << "every button has a name, glyphs their hint";
        EXPECT_EQ(!control.enabled, button.Has(STATE_SYSTEM_UNAVAILABLE)) << control.text;
        EXPECT_EQ(IsChecked(control.handle), button.Has(STATE_SYSTEM_CHECKED)) << control.text;
        EXPECT_FALSE(button.DefaultAction().empty()) << control.text;
        ++read;
    }
    return read;
}

HWND ChildOfClass(HWND parent, const std::string& className, const std::string& text = "")
{
    for (const TWindowInfo& child : Children(parent))
        if (child.visible && child.className == className && (text.empty() || child.text == text))
            return child.handle;
    return nullptr;
}

// Waits, handling this thread's messages meanwhile (events from other processes arrive there).
::testing::AssertionResult WaitFor(const std::function<bool()>& condition)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > kWaitMs)
            return ::testing::AssertionFailure() << "timed out";
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(20);
    }
    return ::testing::AssertionSuccess();
}

// Counts the name changes a window's client announces, as a screen reader listening for events.
class TNameChanges {
public:
    explicit TNameChanges(HWND window) : window_(window)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        listening_ = this;
        hook_ = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, &Heard, process, 0,
                                WINEVENT_OUTOFCONTEXT);
    }
    ~TNameChanges()
    {
        if (hook_)
            UnhookWinEvent(hook_);
        listening_ = nullptr;
    }
    TNameChanges(const TNameChanges&) = delete;
    TNameChanges& operator=(const TNameChanges&) = delete;
    int Count() const { return count_; }

private:
    static void CALLBACK Heard(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD)
    {
        if (listening_ && window == listening_->window_ && object == OBJID_CLIENT)
            ++listening_->count_;
    }
    static inline TNameChanges* listening_ = nullptr;
    HWND window_;
    HWINEVENTHOOK hook_ = nullptr;
    int count_ = 0;
};

} // namespace

TEST_F(ProgramWindows, AScreenReaderReadsTheMainWindowAndRunsACycleThroughDefaultActionsAlone)
{
    const std::string target = MakeTarget({"a.qsx", "b.qsx", "c.qsx", "keep.txt"});
    Stored().CleanupOptions = 1u << 21; // custom files
    Stored().CustomFiles = "*.qsx";
    Stored().Confirmations = false;
    Stored().QuotaReportsLargestCapacity = false; // shares of what was found
    Store();
    const auto options = Records(RunTool({"options"}).out);
    const auto found = Records(RunTool({"scan", target, "--stored", "--prefs", prefs}).out);
    ASSERT_EQ(23u, options.size());
    ASSERT_EQ(3u, found.size());

    auto program = Start("\"" + target + "\"");
    TComScope com;
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    EXPECT_GE(CheckButtons(main), 10) << "the title bar's, the menu bar's and the page's";

    // The options: check items named by their titles, described by their texts, their checks
    // and availability as the tool reports them.
    HWND optionsHandle = OptionsList(main);
    ASSERT_TRUE(optionsHandle);
    TAccessibleWindow optionsList(optionsHandle);
    ASSERT_TRUE(optionsList);
    const TElement list = optionsList.Self();
    EXPECT_EQ(ROLE_SYSTEM_LIST, list.Role());
    ASSERT_EQ(23, list.ChildCount());
    int unavailable = 0;
    for (long id = 1; id <= 23; ++id) {
        const TElement item = list.Item(id);
        const auto& option = options[static_cast<size_t>(id - 1)];
        ASSERT_GE(option.size(), 6u);
        EXPECT_EQ(ROLE_SYSTEM_CHECKBUTTON, item.Role());
        EXPECT_EQ(ListViewText(optionsHandle, static_cast<int>(id - 1)), item.Name());
        EXPECT_EQ(0u, option[5].find(item.Name())) << "the tool's title begins with the row's";
        EXPECT_FALSE(item.Description().empty()) << item.Name();
        EXPECT_EQ(id == 22, item.Has(STATE_SYSTEM_CHECKED)) << item.Name();
        EXPECT_EQ(option[4] != "available", item.Has(STATE_SYSTEM_UNAVAILABLE)) << item.Name();
        unavailable += item.Has(STATE_SYSTEM_UNAVAILABLE) ? 1 : 0;
    }
    EXPECT_GT(unavailable, 0) << "this system lacks some options' programs";

    // Checks change by default action as by a click, and read back at once.
    const TElement backups = list.Item(16); // backup files: inside the targets only
    ASSERT_EQ("Check", backups.DefaultAction());
    ASSERT_HRESULT_SUCCEEDED(backups.DoDefaultAction());
    EXPECT_TRUE(WaitFor([&] { return ListViewChecked(optionsHandle, 15); }));
    EXPECT_TRUE(backups.Has(STATE_SYSTEM_CHECKED));
    EXPECT_EQ("Uncheck", backups.DefaultAction());
    ASSERT_HRESULT_SUCCEEDED(backups.DoDefaultAction());
    EXPECT_TRUE(WaitFor([&] { return !ListViewChecked(optionsHandle, 15); }));

    // Scan, by the button's default action; the status line's changes are heard as the progress
    // bar's name changing.
    HWND bar = ChildOfClass(main, "QuillsweepProgressBar");
    ASSERT_TRUE(bar);
    TNameChanges heard(bar);
    {
        TAccessibleWindow scan(FindChild(main, "Continue >", "Button"));
        ASSERT_TRUE(scan);
        ASSERT_HRESULT_SUCCEEDED(scan.Self().DoDefaultAction());
    }
    ASSERT_TRUE(FindChild(main, "Idle", "Static", 30000)) << "the scan ends";
    EXPECT_TRUE(WaitFor([&] { return heard.Count() > 0; })) << "no name change of the status heard";
    {
        TAccessibleWindow progress(bar);
        ASSERT_TRUE(progress);
        EXPECT_EQ(ROLE_SYSTEM_PROGRESSBAR, progress.Self().Role());
        EXPECT_EQ("Idle", progress.Self().Name()) << "the status line over the bar";
        EXPECT_NE(std::string::npos, progress.Self().Value().find(" %"));
    }

    // The objects: rows named by their paths, with the safety class and size in words, the
    // quota bar's share as their value, each checked row unchecked by its action.
    HWND objectsHandle = ObjectsList(main);
    ASSERT_TRUE(objectsHandle);
    TAccessibleWindow objectsList(objectsHandle);
    ASSERT_TRUE(objectsList);
    const TElement objects = objectsList.Self();
    EXPECT_EQ(ROLE_SYSTEM_LIST, objects.Role());
    ASSERT_EQ(3, objects.ChildCount());
    const auto rows = ListViewRows(objectsHandle);
    long kept = 0;
    for (long id = 1; id <= 3; ++id) {
        const TElement row = objects.Item(id);
        EXPECT_EQ(ROLE_SYSTEM_LISTITEM, row.Role());
        EXPECT_EQ(rows[static_cast<size_t>(id - 1)][1], row.Name());
        bool listed = false;
        for (const auto& object : found) {
            ASSERT_GE(object.size(), 4u);
            if (object[2] != row.Name())
                continue;
            listed = true;
            EXPECT_EQ(object[0] + ", " + object[1] + ", " + object[3], row.Description());
        }
        EXPECT_TRUE(listed) << row.Name() << " is what the tool finds";
        EXPECT_EQ("33 %", row.Value()) << "three objects of one size";
        EXPECT_TRUE(row.Has(STATE_SYSTEM_CHECKED));
        if (row.Name() == target + "\\b.qsx")
            kept = id;
    }
    ASSERT_GT(kept, 0);
    ASSERT_HRESULT_SUCCEEDED(objects.Item(kept).DoDefaultAction());
    EXPECT_TRUE(WaitFor([&] { return !ListViewChecked(objectsHandle, static_cast<int>(kept - 1)); }));
    EXPECT_FALSE(objects.Item(kept).Has(STATE_SYSTEM_CHECKED));
    EXPECT_TRUE(ListViewChecked(objectsHandle, kept == 1 ? 1 : 0)) << "only that row changed";

    // Clean, and the question answered, by default actions.
    {
        TAccessibleWindow clean(FindChild(main, "Clean", "Button"));
        ASSERT_TRUE(clean);
        ASSERT_HRESULT_SUCCEEDED(clean.Self().DoDefaultAction());
    }
    HWND question = program->WaitForWindow("Warning");
    ASSERT_TRUE(question);
    EXPECT_EQ(3, CheckButtons(question)) << "the title bar's Close, No and Yes";
    {
        TAccessibleWindow yes(FindChild(question, "Yes", "Button"));
        ASSERT_TRUE(yes);
        ASSERT_HRESULT_SUCCEEDED(yes.Self().DoDefaultAction());
    }
    ASSERT_TRUE(FindChild(main, "Repeat", "Button", 30000)) << "the clean ends";
    EXPECT_FALSE(Exists(target + "\\a.qsx"));
    EXPECT_FALSE(Exists(target + "\\c.qsx"));
    EXPECT_TRUE(Exists(target + "\\b.qsx")) << "unchecked, so kept";
    EXPECT_TRUE(Exists(target + "\\keep.txt"));
    CloseWithEscape(*program, main);
}
