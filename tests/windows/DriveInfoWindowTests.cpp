// The drive information window: opened from the main window on the system drive, where Wine
// reports no disk behind the volume, and hosted over a made-up drive so the filled list can be read.
#include "tests/windows/ProgramWindowsFixture.h"

using namespace program_testing;

namespace {

const char kNotice[] = "Drive information is not available for target \"C:\\\".";

HWND ChildOfClass(HWND parent, const std::string& className)
{
    for (const auto& child : Children(parent))
        if (child.visible && child.className == className)
            return child.handle;
    return nullptr;
}

// Waits for the notice, checks it is the only thing it says, and closes it.
void CloseNotice(TProgram& program)
{
    HWND notice = program.WaitForWindow("Information");
    ASSERT_TRUE(notice);
    EXPECT_TRUE(FindChild(notice, kNotice, "Static"));
    ASSERT_TRUE(Press(FindChild(notice, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(notice));
}

std::string GalleryNextToTests()
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + "../ui/" QS_GALLERY_EXE;
}

} // namespace

TEST_F(ProgramWindows, DriveInformationOnTheSystemDriveGivesTheNoticeAndRefreshAsksAgain)
{
    Store();
    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    HWND tree = ChildOfClass(main, "SysTreeView32");
    ASSERT_TRUE(tree);
    // The shell names the drive by its label, which Wine leaves empty.
    ASSERT_TRUE(SelectTreeViewItem(tree, " (C:)"));
    ASSERT_TRUE(Press(main, "Drive Information"));

    HWND window = program->WaitForWindow("Drive Information");
    ASSERT_TRUE(window);
    ASSERT_NO_FATAL_FAILURE(CloseNotice(*program));
    HWND list = ChildOfClass(window, "SysListView32");
    ASSERT_TRUE(list);
    EXPECT_EQ(3, ListViewColumnCount(list));
    EXPECT_EQ(0, ListViewItemCount(list));
    EXPECT_TRUE(IsWindowVisible(window)) << "the notice leaves the window open";

    ASSERT_TRUE(PressAltKey(window, 'R'));
    ASSERT_NO_FATAL_FAILURE(CloseNotice(*program));
    EXPECT_EQ(0, ListViewItemCount(list));

    ASSERT_TRUE(PressKey(window, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(window));
    CloseWithEscape(*program, main);
}

TEST(DriveInfoWindow, AFilledListShowsEveryDetailAndCloseEndsIt)
{
    TProgram gallery(GalleryNextToTests(), "driveinfo");
    HWND window = gallery.WaitForWindow("Drive Information");
    ASSERT_TRUE(window);
    HWND list = ChildOfClass(window, "SysListView32");
    ASSERT_TRUE(list);
    const auto rows = ListViewRows(list);
    ASSERT_EQ(14u, rows.size());
    EXPECT_EQ((std::vector<std::string>{"Root Path", "C:\\", "Root path and drive letter assigned by the operating system."}),
              rows[0]);
    EXPECT_EQ((std::vector<std::string>{"Drive Type", "Fixed (solid-state)", "Drive type based on hardware detection."}),
              rows[6]);
    EXPECT_EQ((std::vector<std::string>{"Partition Free Space", "418,307 Mo", "Drive partition free space."}), rows[12]);
    EXPECT_EQ((std::vector<std::string>{"", "", ""}), rows[13]);
    const RECT strip = WindowRect(FindChild(window, "Toolbar"));
    EXPECT_EQ(30, strip.bottom - strip.top) << "the toolbar's own height";

    ASSERT_TRUE(PressKey(window, VK_RETURN)) << "Close is the default button";
    EXPECT_TRUE(WaitUntilGone(window));
    EXPECT_EQ(2u, gallery.WaitForExit().value_or(0xFFFFFFFF));
}
