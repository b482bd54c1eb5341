// The file viewer in the real program: a found file opened from the objects list's context menu.
#include "tests/windows/ProgramWindowsFixture.h"

using namespace program_testing;

namespace {

// The context menu key on the control, then the item's accelerator, as a user would type them.
::testing::AssertionResult ChooseFromContextMenu(HWND control, char accelerator)
{
    // Notify, not send: the menu runs its own loop until the item is chosen.
    if (!SendNotifyMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), -1))
        return ::testing::AssertionFailure() << "cannot ask for the context menu";
    if (auto idle = WaitForIdle(control); !idle)
        return idle;
    return PressKey(control, static_cast<WORD>(accelerator));
}

TEST_F(ProgramWindows, ViewAsHexShowsTheFoundFileAsAHexadecimalDump)
{
    const std::string target = dir.File("target");
    ASSERT_TRUE(CreateDirectoryW(platform::Widen(target).c_str(), nullptr));
    WriteFile(target + "\\trace.qsx", "Quillsweep\tview\x82r");
    Stored().CleanupOptions = 1u << 21; // custom files
    Stored().CustomFiles = "*.qsx";
    Store();

    auto program = Start("\"" + target + "\"");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(Press(main, "Continue >"));
    ASSERT_TRUE(FindChild(main, "Idle", "Static", 30000)) << "the scan ends";
    HWND list = ObjectsList(main);
    ASSERT_TRUE(list);
    ASSERT_EQ(1, ListViewItemCount(list));
    ASSERT_TRUE(SelectListViewItem(list, 0));
    ASSERT_TRUE(ChooseFromContextMenu(list, 'H'));

    HWND viewer = program->WaitForWindow("Hexadecimal File Viewer");
    ASSERT_TRUE(viewer);
    const std::string dump = "0000: 51 75 69 6C 6C 73 77 65 65 70 09 76 69 65 77 82   Quillsweep.view\u00E9\r\n"
                             "0010: 72" + std::string(48, ' ') + "r" + std::string(15, ' ');
    HWND view = FindChild(viewer, dump);
    ASSERT_TRUE(view);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(view, nullptr), &thread));
    EXPECT_EQ(view, thread.hwndFocus) << "the keys scroll the text";

    // Its own context menu selects and copies the whole text.
    ASSERT_TRUE(ChooseFromContextMenu(view, 'A'));
    ASSERT_TRUE(ChooseFromContextMenu(view, 'C'));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE copied = GetClipboardData(CF_UNICODETEXT);
    const std::string clipboard = copied ? platform::Narrow(static_cast<const wchar_t*>(GlobalLock(copied))) : "";
    if (copied)
        GlobalUnlock(copied);
    CloseClipboard();
    EXPECT_EQ(dump, clipboard);

    ASSERT_TRUE(PressKey(viewer, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(viewer));
    CloseWithEscape(*program, main);
}

} // namespace
