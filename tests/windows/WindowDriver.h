#pragma once
// Drives the windows of another process from a test program, as a user would: finds windows by
// their text, presses buttons, types keys, reads texts, list views and tree views.
// Texts are UTF-8. Every wait polls with a timeout; what is not found fails the test with a list
// of what is there instead. The driven program must be 32-bit, like the tests. Programs run on a
// desktop of the test program's own, so other tests sharing the Wine server neither see nor
// disturb their windows; the first TProgram moves the calling thread there.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace window_testing {

constexpr DWORD kWaitMs = 5000;

struct TWindowInfo {
    HWND handle = nullptr;
    std::string className;
    std::string text;
    bool visible = false;
    bool enabled = false;
    RECT rect{};  // screen coordinates
};

// A program started for a test, killed when the test ends unless it has exited. Tests driving
// windows on the same X display take turns: the first program of a test waits for the display.
class TProgram {
public:
    // arguments are passed as written (quote them yourself); an empty folder keeps the tests' own.
    explicit TProgram(const std::string& exe, const std::string& arguments = "", const std::string& folder = "");
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    HANDLE Process() const { return process_; }
    DWORD Id() const { return id_; }

    // The exit code, or nothing while the program still runs after timeoutMs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kWaitMs) const;
    void Kill();

    // All top-level windows of the program, hidden ones too.
    std::vector<TWindowInfo> Windows() const;
    // Waits for a visible top-level window with exactly this text (and class, when given) and for
    // its thread to answer; nullptr and a test failure when none comes.
    HWND WaitForWindow(const std::string& text, const std::string& className = "", DWORD timeoutMs = kWaitMs) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    HANDLE displayTurn_ = nullptr;
};

// Waits until the window is destroyed or hidden.
::testing::AssertionResult WaitUntilGone(HWND window, DWORD timeoutMs = kWaitMs);

// A round trip through the window's thread: it has handled what was sent before, or it is
// waiting in a (modal) message loop.
::testing::AssertionResult WaitForIdle(HWND window, DWORD timeoutMs = kWaitMs);

// The text as the window itself answers it (WM_GETTEXT), so edits give what is typed in them.
std::string WindowText(HWND window);
::testing::AssertionResult WaitForText(HWND window, const std::string& text, DWORD timeoutMs = kWaitMs);
RECT ClientRect(HWND window);
RECT WindowRect(HWND window);
TWindowInfo Describe(HWND window);

// All descendants, depth first.
std::vector<TWindowInfo> Children(HWND parent);
// Waits for a visible descendant with exactly this text (and class, when given); nullptr and a
// test failure when none comes.
HWND FindChild(HWND parent, const std::string& text, const std::string& className = "", DWORD timeoutMs = kWaitMs);

// Clicks a button as a user could: refused when it, or the window it sits in, is hidden or
// disabled (a modal window disables its owner). Returns once the click was handled or a modal
// loop it opened is running.
::testing::AssertionResult Press(HWND button);
::testing::AssertionResult Press(HWND parent, const std::string& text);

bool IsChecked(HWND checkBox);
// Clicks the check box only when its state differs.
::testing::AssertionResult SetChecked(HWND checkBox, bool checked);

// Types a key (VK_ESCAPE, VK_RETURN, VK_F1, ...) or Alt+letter into the focused control of the
// window, through its thread's message loop, and waits until the keys were taken from there.
// The target's keyboard state is not changed: GetKeyState there does not see the keys.
::testing::AssertionResult PressKey(HWND window, WORD virtualKey);
::testing::AssertionResult PressAltKey(HWND window, char letter);
// Types the text into the focused control of the window, character by character, as the
// keyboard would give it.
::testing::AssertionResult TypeText(HWND window, const std::string& text);

int ListViewItemCount(HWND listView);
int ListViewColumnCount(HWND listView);
std::string ListViewText(HWND listView, int item, int subItem = 0);
bool ListViewChecked(HWND listView, int item);
// Selects and focuses one row, the others not, as a click on it would.
::testing::AssertionResult SelectListViewItem(HWND listView, int item);
// Every item's texts, one column after the other.
std::vector<std::vector<std::string>> ListViewRows(HWND listView);

struct TTreeItem {
    int depth = 0;  // 0 for the roots
    std::string text;
};
// Every item in display order, collapsed branches included.
std::vector<TTreeItem> TreeViewItems(HWND treeView);
// Selects the first item with exactly this text, as a click on it would.
::testing::AssertionResult SelectTreeViewItem(HWND treeView, const std::string& text);

} // namespace window_testing
