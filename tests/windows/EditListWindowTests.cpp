// The list editor opened through the window services, as the options window opens it, and
// driven as a user would; the opener's results are read back from the file the host writes.
#include "tests/windows/WindowDriver.h"

#include "TestSupport.h"
#include "platform/PlatformSystem.h"

#include <gtest/gtest.h>

using namespace window_testing;
using testing_support::ReadBytes;
using testing_support::TempDir;

namespace {

std::string HostNextToTests()
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + "../ui/" QS_GALLERY_EXE;
}

std::vector<std::string> Rows(HWND list)
{
    std::vector<std::string> rows;
    for (const auto& row : ListViewRows(list))
        rows.push_back(row.at(0));
    return rows;
}

HWND FieldOf(HWND editor)
{
    for (const auto& child : Children(editor))
        if (child.className == "Edit")
            return child.handle;
    return nullptr;
}

class EditListWindow : public ::testing::Test {
protected:
    // Opens the editor on text; words: "directories", "confirm".
    HWND Open(const std::string& text, const std::string& words = "")
    {
        program = std::make_unique<TProgram>(HostNextToTests(), "editlist \"" + results + "\" \"Exclude Files\" \"" +
                                                                    text + "\" " + words);
        HWND editor = program->WaitForWindow("Exclude Files Editor");
        list = editor ? FindChild(editor, "", "SysListView32") : nullptr;
        return editor;
    }
    bool Enabled(HWND editor, const std::string& caption) { return Describe(FindChild(editor, caption)).enabled; }
    // The modal result, whether the list changed, and the text the opener holds afterwards.
    std::string Results()
    {
        EXPECT_EQ(0u, program->WaitForExit().value_or(0xFFFFFFFF));
        return ReadBytes(results);
    }

    TempDir dir;
    std::string results = dir.File("results.txt");
    std::unique_ptr<TProgram> program;
    HWND list = nullptr;
};

} // namespace

TEST_F(EditListWindow, AddReorderAndOKGiveTheEditedText)
{
    HWND editor = Open("desktop.ini;index.dat");
    ASSERT_TRUE(editor && list);
    EXPECT_EQ((std::vector<std::string>{"desktop.ini", "index.dat"}), Rows(list));
    EXPECT_EQ(1, ListViewColumnCount(list));
    EXPECT_FALSE(Enabled(editor, "&Add")) << "nothing typed yet";
    EXPECT_FALSE(Enabled(editor, "&Remove"));
    EXPECT_TRUE(Enabled(editor, "&Browse"));

    // The focus starts in the field; letter case makes a new item.
    ASSERT_TRUE(TypeText(editor, "Desktop.ini"));
    ASSERT_TRUE(Press(editor, "&Add"));
    EXPECT_EQ((std::vector<std::string>{"desktop.ini", "index.dat", "Desktop.ini"}), Rows(list));
    ASSERT_TRUE(Press(editor, "&Add"));
    HWND notice = program->WaitForWindow("Information");
    ASSERT_TRUE(notice);
    EXPECT_TRUE(FindChild(notice, "Object item \"Desktop.ini\" already exists in the list.\r\n"
                                  "Please specify a different item name."));
    ASSERT_TRUE(Press(FindChild(notice, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(notice));

    ASSERT_TRUE(SelectListViewItem(list, 2));
    EXPECT_TRUE(WaitForText(FieldOf(editor), "Desktop.ini"));
    ASSERT_TRUE(Press(editor, "Move &Up"));
    ASSERT_TRUE(PressAltKey(editor, 'u')) << "the accelerator moves the same row again";
    EXPECT_EQ((std::vector<std::string>{"Desktop.ini", "desktop.ini", "index.dat"}), Rows(list));
    EXPECT_FALSE(Enabled(editor, "Move &Up")) << "the moved row stays selected, now the first";
    EXPECT_TRUE(Enabled(editor, "Move &Down"));

    ASSERT_TRUE(PressKey(editor, VK_RETURN));
    EXPECT_EQ("1\n1\nDesktop.ini;desktop.ini;index.dat\n", Results());
}

TEST_F(EditListWindow, CancelAndAnUnchangedOKLeaveTheOpenersText)
{
    HWND editor = Open("C:\\Data;C:\\Temp", "directories confirm");
    ASSERT_TRUE(editor && list);
    EXPECT_FALSE(Enabled(editor, "&Browse")) << "several files only in files mode";
    ASSERT_TRUE(SelectListViewItem(list, 0));
    ASSERT_TRUE(Press(editor, "&Remove"));
    HWND confirm = program->WaitForWindow("Confirm");
    ASSERT_TRUE(confirm);
    EXPECT_TRUE(FindChild(confirm, "This will remove the \"C:\\Data\" object item from the list.\r\n"
                                   "Are you sure you want to continue?"));
    ASSERT_TRUE(Press(FindChild(confirm, "Yes", "Button")));
    ASSERT_TRUE(WaitUntilGone(confirm));
    EXPECT_EQ((std::vector<std::string>{"C:\\Temp"}), Rows(list));
    ASSERT_TRUE(PressKey(editor, VK_ESCAPE));
    EXPECT_EQ("2\n1\nC:\\Data;C:\\Temp\n", Results()) << "changed, yet the opener keeps its text";

    editor = Open("desktop.ini;index.dat");
    ASSERT_TRUE(editor);
    ASSERT_TRUE(Press(editor, "OK"));
    EXPECT_EQ("1\n0\ndesktop.ini;index.dat\n", Results());
}
