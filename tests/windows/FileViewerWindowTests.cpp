// The file viewer in the real program: a found file opened from the objects list's context menu.
#include "tests/windows/ProgramWindowsFixture.h"

#include "platform/PlatformError.h"

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

class FileViewerWindow : public ProgramWindows {
protected:
    // The program scans a folder holding trace.qsx with these bytes and selects its row.
    void ScanAndSelect(const std::string& bytes)
    {
        const std::string target = dir.File("target");
        ASSERT_TRUE(CreateDirectoryW(platform::Widen(target).c_str(), nullptr));
        file = target + "\\trace.qsx";
        WriteFile(file, bytes);
        Stored().CleanupOptions = 1u << 21; // custom files
        Stored().CustomFiles = "*.qsx";
        Store();
        program = Start("\"" + target + "\"");
        main = program->WaitForWindow("Quillsweep");
        ASSERT_TRUE(main);
        ASSERT_TRUE(Press(main, "Continue >"));
        ASSERT_TRUE(FindChild(main, "Idle", "Static", 30000)) << "the scan ends";
        list = ObjectsList(main);
        ASSERT_TRUE(list);
        ASSERT_EQ(1, ListViewItemCount(list));
        ASSERT_TRUE(SelectListViewItem(list, 0));
    }

    std::unique_ptr<TProgram> program;
    HWND main = nullptr;
    HWND list = nullptr;
    std::string file;
};

TEST_F(FileViewerWindow, ViewAsHexShowsTheFoundFileAsAHexadecimalDump)
{
    ASSERT_NO_FATAL_FAILURE(ScanAndSelect("Quillsweep\tview\x82r"));
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

TEST_F(FileViewerWindow, AFileThatCannotBeReadIsReportedAndNoViewerStays)
{
    ASSERT_NO_FATAL_FAILURE(ScanAndSelect("locked"));
    // Held without sharing, as a program writing it would.
    HANDLE held = CreateFileW(platform::Widen(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ASSERT_TRUE(ChooseFromContextMenu(list, 'T'));

    HWND error = program->WaitForWindow("Error");
    ASSERT_TRUE(error);
    EXPECT_TRUE(FindChild(error, "Cannot open file \"" + file + "\": " + platform::SystemErrorMessage(ERROR_SHARING_VIOLATION),
                          "Static"));
    ASSERT_TRUE(Press(FindChild(error, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(error));
    CloseHandle(held);
    ASSERT_TRUE(WaitForIdle(main));
    for (const auto& window : program->Windows())
        EXPECT_FALSE(window.visible && window.text == "Text File Viewer");
    EXPECT_TRUE(IsWindowEnabled(main));
    CloseWithEscape(*program, main);
}

} // namespace
