// Undo Clean in the real program: a clean with the recycle setting on sends the objects to Wine's
// bin (the freedesktop Trash of the tests' XDG_DATA_HOME), and the objects page's undo, answered
// yes, brings them back to their places.
#include "tests/windows/ProgramWindowsFixture.h"

#include "prefs/uSettings.h"

using namespace program_testing;
using testing_support::ReadBytes;

namespace {

// The main window's "Undo Clean", shown or not; null when the window has none.
HWND UndoButton(HWND main)
{
    for (const auto& child : Children(main))
        if (child.className == "Button" && child.text == "Undo Clean")
            return child.handle;
    return nullptr;
}

} // namespace

TEST_F(ProgramWindows, UndoCleanBringsBackWhatTheCleanMovedToTheBin)
{
    const std::string target = MakeTarget({"a.qsx", "sub\\b.qsx"}, "first");
    WriteFile(target + "\\sub\\b.qsx", "second");
    Stored().CleanupOptions = 1u << 21;
    Stored().CustomFiles = "*.qsx";
    Stored().Confirmations = false;
    Store();
    WriteFile(TSettings::FileBeside(prefs), "recycle=1\r\n");

    auto program = Start("\"" + target + "\"");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(Press(main, "Continue >"));
    ASSERT_TRUE(FindChild(main, "Idle", "Static", 30000)) << "the scan ends";
    HWND undo = UndoButton(main);
    ASSERT_TRUE(undo);
    EXPECT_FALSE(IsWindowVisible(undo)) << "nothing to undo before a clean";
    ASSERT_TRUE(Press(main, "Clean"));
    HWND question = program->WaitForWindow("Warning");
    ASSERT_TRUE(question) << "custom files are unsafe";
    ASSERT_TRUE(Press(FindChild(question, "Yes", "Button")));
    ASSERT_TRUE(FindChild(main, "Repeat", "Button", 30000)) << "the clean ends";
    ASSERT_FALSE(Exists(target + "\\a.qsx"));
    ASSERT_FALSE(Exists(target + "\\sub\\b.qsx"));
    EXPECT_TRUE(IsWindowVisible(undo));

    // The clean's report offers it too.
    ASSERT_TRUE(Press(main, "Report"));
    HWND report = program->WaitForWindow("Report");
    ASSERT_TRUE(report);
    HWND reportUndo = FindChild(report, "Undo Clean");
    ASSERT_TRUE(reportUndo);
    EXPECT_TRUE(IsWindowVisible(reportUndo));
    ASSERT_TRUE(PressKey(report, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(report));

    ASSERT_TRUE(Press(undo));
    HWND confirm = program->WaitForWindow("Confirm");
    ASSERT_TRUE(confirm);
    EXPECT_TRUE(FindChild(confirm, "Restore the 2 objects this clean moved to the Recycle Bin to their places?", "Static"));
    ASSERT_TRUE(Press(FindChild(confirm, "Yes", "Button")));
    HWND result = program->WaitForWindow("Information");
    ASSERT_TRUE(result);
    EXPECT_TRUE(FindChild(result, "2 objects restored.", "Static"));
    ASSERT_TRUE(Press(FindChild(result, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(result));
    EXPECT_EQ("first", ReadBytes(target + "\\a.qsx"));
    EXPECT_EQ("second", ReadBytes(target + "\\sub\\b.qsx"));
    EXPECT_TRUE(WaitUntilGone(undo)) << "nothing left to undo";

    CloseWithEscape(*program, main);
}
