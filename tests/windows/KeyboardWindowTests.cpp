// A whole cycle by keys alone, as a user without a mouse works: tick an option (and answer its
// warning), scan, uncheck a row, clean, open and close the report, the options window, the about
// box and the window menu (Alt+Space). Every control is reached by Tab, and the focus shows.
#include "tests/windows/ProgramWindowsFixture.h"

#include <gtest/gtest.h>

using namespace program_testing;

namespace {

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Presses Tab until the focus is on target; fails when a round of Tab never gets there.
::testing::AssertionResult TabTo(HWND window, HWND target)
{
    for (int presses = 0; presses < 60; ++presses) {
        if (FocusOf(window) == target)
            return ::testing::AssertionSuccess();
        if (!PressKey(window, VK_TAB))
            return ::testing::AssertionFailure() << "Tab was refused";
    }
    return ::testing::AssertionFailure() << "Tab never reaches " << Describe(target).text << " ("
                                         << Describe(target).className << ")";
}

// The focus is drawn where it is: the window no longer hides focus rectangles.
bool FocusShown(HWND control)
{
    return (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

} // namespace

TEST_F(ProgramWindows, AWholeCycleByKeysAlone)
{
    const std::string target = MakeTarget({"a.qsx", "b.qsx", "keep.txt"});
    Stored().CleanupOptions = 0;
    Stored().FirstRun = false;
    Stored().CustomFiles = "*.qsx";
    Stored().Confirmations = false;
    Store();

    auto program = Start("\"" + target + "\"");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);

    // The options: Tab into the list, Down to Custom Files (the 22nd row), Space ticks it.
    HWND options = OptionsList(main);
    ASSERT_TRUE(options);
    ASSERT_TRUE(TabTo(main, options));
    EXPECT_TRUE(FocusShown(options));
    ASSERT_TRUE(PressKey(options, VK_HOME));
    for (int row = 0; row < 21; ++row)
        ASSERT_TRUE(PressKey(options, VK_DOWN));
    ASSERT_TRUE(PressKey(options, VK_SPACE));
    ASSERT_TRUE(ListViewChecked(options, 21)) << "Custom Files ticked by Space";
    HWND warning = program->WaitForWindow("Warning");
    ASSERT_TRUE(warning) << "ticking Custom Files warns";
    ASSERT_TRUE(PressKey(warning, VK_RETURN));
    ASSERT_TRUE(WaitUntilGone(warning));

    // Scan: Tab to Continue, Enter.
    HWND next = FindChild(main, "Continue >", "Button");
    ASSERT_TRUE(TabTo(main, next));
    ASSERT_TRUE(PressKey(main, VK_RETURN));
    ASSERT_TRUE(FindChild(main, "Idle", "Static", 30000)) << "the scan ends";

    // The objects: Tab into the list, Space unchecks the focused first row.
    HWND objects = ObjectsList(main);
    ASSERT_TRUE(objects);
    ASSERT_EQ(2, ListViewItemCount(objects));
    ASSERT_TRUE(TabTo(main, objects));
    ASSERT_TRUE(PressKey(objects, VK_HOME));
    ASSERT_TRUE(PressKey(objects, VK_SPACE));
    ASSERT_FALSE(ListViewChecked(objects, 0));
    const std::string kept = ListViewText(objects, 0, 1);

    // Clean, and the question answered Yes, by Tab and Enter.
    ASSERT_TRUE(TabTo(main, FindChild(main, "Clean", "Button")));
    EXPECT_TRUE(FocusShown(FocusOf(main)));
    ASSERT_TRUE(PressKey(main, VK_RETURN));
    HWND question = program->WaitForWindow("Warning");
    ASSERT_TRUE(question);
    ASSERT_TRUE(TabTo(question, FindChild(question, "Yes", "Button")));
    ASSERT_TRUE(PressKey(question, VK_RETURN));
    ASSERT_TRUE(FindChild(main, "Repeat", "Button", 30000)) << "the clean ends";
    EXPECT_TRUE(Exists(kept)) << "unchecked, so kept";
    EXPECT_TRUE(Exists(target + "\\keep.txt"));
    EXPECT_EQ(1, Exists(target + "\\a.qsx") + Exists(target + "\\b.qsx"));

    // The report by Tab and Enter, closed by Escape.
    ASSERT_TRUE(TabTo(main, FindChild(main, "Report", "Button")));
    ASSERT_TRUE(PressKey(main, VK_RETURN));
    HWND report = program->WaitForWindow("Report");
    ASSERT_TRUE(report);
    ASSERT_TRUE(PressKey(report, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(report));

    // The options window and the about box by their menu-bar keys, closed by Escape.
    for (const auto& [letter, title] : {std::pair<char, const char*>{'O', "Options"}, {'A', "About"}}) {
        ASSERT_TRUE(PressAltKey(main, letter)) << title;
        HWND window = program->WaitForWindow(title);
        ASSERT_TRUE(window) << title;
        ASSERT_TRUE(PressKey(window, VK_ESCAPE)) << title;
        ASSERT_TRUE(WaitUntilGone(window)) << title;
    }

    // Alt+Space: the window menu of the drawn title bar, closed again by Escape.
    const auto menuShown = [&] {
        for (const TWindowInfo& window : program->Windows())
            if (window.visible && window.className == "#32768")
                return true;
        return false;
    };
    ASSERT_TRUE(PressAltKey(main, ' '));
    bool shown = false;
    for (int wait = 0; wait < 100 && !shown; ++wait, Sleep(50))
        shown = menuShown();
    EXPECT_TRUE(shown) << "no window menu";
    ASSERT_TRUE(PressKey(main, VK_ESCAPE));
    for (int wait = 0; wait < 100 && menuShown(); ++wait)
        Sleep(50);
    EXPECT_FALSE(menuShown());
    // The first Escape closes the menu, a second one leaves the keyboard's menu mode.
    ASSERT_TRUE(PressKey(main, VK_ESCAPE));
    ASSERT_TRUE(WaitForIdle(main));
    CloseWithEscape(*program, main);
}
