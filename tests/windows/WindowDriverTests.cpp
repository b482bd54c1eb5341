// The window driver against its fixture program, one group of operations at a time.
#include "tests/windows/WindowDriver.h"

#include "TestSupport.h"
#include "platform/PlatformSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>

using namespace window_testing;
using ::testing::HasSubstr;

namespace {

std::string FixturePath()
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + QS_DRIVER_FIXTURE_EXE;
}

class WindowDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = fixture.WaitForWindow("Driver Fixture", "DriverFixture");
        ASSERT_TRUE(window);
        status = FindChild(window, "Pressed 0", "Static");
        ASSERT_TRUE(status);
    }

    TProgram fixture{FixturePath()};
    HWND window = nullptr;
    HWND status = nullptr;
};

} // namespace

TEST(WindowDriverProcess, StartsWithArgumentsInItsFolderAndSeesTheExitCode)
{
    testing_support::TempDir folder;
    TProgram fixture(FixturePath(), "one \"two three\"", folder.Str());
    HWND window = fixture.WaitForWindow("Driver Fixture");
    ASSERT_TRUE(window);
    EXPECT_TRUE(FindChild(window, "one \"two three\"", "Edit"));
    EXPECT_TRUE(FindChild(window, "Folder " + folder.Str(), "Static"));
    EXPECT_FALSE(fixture.WaitForExit(0));

    ASSERT_TRUE(PressKey(window, VK_ESCAPE));
    EXPECT_TRUE(WaitUntilGone(window));
    EXPECT_EQ(3u, fixture.WaitForExit().value_or(0xFFFFFFFF)) << "the code its message loop ends with";
}

TEST(WindowDriverProcess, AProgramStillRunningIsKilledWithTheTest)
{
    HANDLE process = nullptr;
    {
        TProgram fixture(FixturePath());
        ASSERT_TRUE(fixture.WaitForWindow("Driver Fixture"));
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), fixture.Process(), GetCurrentProcess(), &process, SYNCHRONIZE,
                                    FALSE, 0));
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 0));
    CloseHandle(process);
}

TEST_F(WindowDriver, ListsChildrenWithClassStateAndPlace)
{
    TWindowInfo disabled;
    for (const TWindowInfo& child : Children(window))
        if (child.text == "Disabled")
            disabled = child;
    EXPECT_EQ("Button", disabled.className);
    EXPECT_TRUE(disabled.visible);
    EXPECT_FALSE(disabled.enabled);
    EXPECT_EQ(90, disabled.rect.right - disabled.rect.left);
    EXPECT_GT(disabled.rect.left, WindowRect(window).left) << "screen coordinates";
    const RECT client = ClientRect(disabled.handle);
    EXPECT_EQ(26, client.bottom - client.top);

    // What is there instead is the first thing to know when a window is not found.
    static HWND shown;
    shown = window;
    EXPECT_NONFATAL_FAILURE(FindChild(shown, "Missing", "", 100), "\"Disabled\" (Button, disabled)");
}

TEST_F(WindowDriver, PressReturnsWhileTheModalWindowItOpenedWaits)
{
    EXPECT_FALSE(Press(window, "Disabled"));
    ASSERT_TRUE(Press(window, "&Press"));
    EXPECT_EQ("Pressed 1", WindowText(status)) << "the click is handled when Press returns";

    HWND box = fixture.WaitForWindow("Fixture Question");
    ASSERT_TRUE(box);
    std::vector<std::string> shown;
    for (const TWindowInfo& top : fixture.Windows())
        if (top.visible)
            shown.push_back(top.text + (top.enabled ? "" : " (disabled)"));
    EXPECT_THAT(shown, ::testing::UnorderedElementsAre("Driver Fixture (disabled)", "Fixture Question"));
    const ::testing::AssertionResult refused = Press(window, "&Press");
    EXPECT_FALSE(refused);
    EXPECT_THAT(refused.message(), HasSubstr("in the disabled window \"Driver Fixture\""));

    ASSERT_TRUE(Press(box, "&No"));
    EXPECT_TRUE(WaitUntilGone(box));
    EXPECT_TRUE(WaitForText(status, "Pressed 1 No"));
}

TEST_F(WindowDriver, CheckBoxIsClickedOnlyWhenItsStateDiffers)
{
    HWND apply = FindChild(window, "Apply to all items", "Button");
    ASSERT_TRUE(apply);
    EXPECT_FALSE(IsChecked(apply));
    EXPECT_TRUE(SetChecked(apply, true));
    EXPECT_TRUE(SetChecked(apply, true));
    EXPECT_TRUE(IsChecked(apply)) << "a second click would have cleared it";
    EXPECT_TRUE(SetChecked(apply, false));
    EXPECT_FALSE(IsChecked(apply));
}

TEST_F(WindowDriver, KeysGoThroughTheMessageLoopToTheFocus)
{
    ASSERT_TRUE(PressAltKey(window, 'p'));
    EXPECT_EQ("Pressed 1", WindowText(status)) << "Alt+P is the button's mnemonic";
    HWND box = fixture.WaitForWindow("Fixture Question");
    ASSERT_TRUE(box);
    ASSERT_TRUE(PressKey(box, VK_RETURN));
    EXPECT_TRUE(WaitUntilGone(box));
    EXPECT_TRUE(WaitForText(status, "Pressed 1 Yes")) << "Yes is the default button";

    ASSERT_TRUE(PressKey(window, VK_F1));
    EXPECT_EQ("Help", WindowText(status));
}

TEST_F(WindowDriver, ListAndTreeViewsAreReadInTheirProcess)
{
    HWND list = FindChild(window, "", "SysListView32");
    ASSERT_TRUE(list);
    using TRows = std::vector<std::vector<std::string>>;
    EXPECT_EQ((TRows{{"alpha", "1 KB"}, {"beta", "2 KB"}}), ListViewRows(list));
    EXPECT_TRUE(ListViewChecked(list, 0));
    EXPECT_FALSE(ListViewChecked(list, 1));

    HWND tree = FindChild(window, "", "SysTreeView32");
    ASSERT_TRUE(tree);
    std::vector<std::string> items;
    for (const TTreeItem& item : TreeViewItems(tree))
        items.push_back(std::string(static_cast<size_t>(item.depth) * 2, ' ') + item.text);
    EXPECT_EQ((std::vector<std::string>{"Root", "  First", "  Second"}), items);
}
