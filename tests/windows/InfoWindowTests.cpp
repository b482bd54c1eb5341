// The legend and the about box opened from the real program's menu bar: their texts as real
// child windows, Enter and Escape closing them, F1 only in the legend, F2's note in the about box.
#include "tests/windows/ProgramWindowsFixture.h"

#include "support/VelaDetect.h"

#include <cstring>
#include <map>

using namespace program_testing;

namespace {

class InfoWindows : public ProgramWindows {
protected:
    void SetUp() override
    {
        ProgramWindows::SetUp();
        Store();
    }

    // Opens the window from the menu bar button and waits for it.
    static HWND Open(TProgram& program, HWND main, const std::string& button, const std::string& title)
    {
        EXPECT_TRUE(Press(main, button));
        return program.WaitForWindow(title);
    }

    // Each way of closing: Enter, Escape, the Close button; the main window takes over again.
    static void ClosesEveryWay(TProgram& program, HWND main, const std::string& button, const std::string& title)
    {
        for (WORD key : {WORD(VK_RETURN), WORD(VK_ESCAPE)}) {
            HWND window = Open(program, main, button, title);
            ASSERT_TRUE(window);
            ASSERT_TRUE(PressKey(window, key));
            ASSERT_TRUE(WaitUntilGone(window)) << "key " << key;
        }
        HWND window = Open(program, main, button, title);
        ASSERT_TRUE(window);
        std::vector<HWND> closeButtons;
        for (const auto& child : Children(window))
            if (child.text == "Close" && child.className == "Button")
                closeButtons.push_back(child.handle);
        ASSERT_EQ(2u, closeButtons.size()) << "the title bar's and the window's own";
        ASSERT_TRUE(Press(closeButtons.back()));
        ASSERT_TRUE(WaitUntilGone(window));
        EXPECT_TRUE(IsWindowEnabled(main));
    }

    // The program's copy without its help: F1 then answers with an error box of its own.
    void WithoutHelp()
    {
        std::string program = testing_support::ReadBytes(exe);
        program.replace(program.size() - 8, 8, std::string(8, '\0'));
        WriteFile(exe, program);
    }

    static bool HasVisible(const TProgram& program, const std::string& title)
    {
        for (const auto& window : program.Windows())
            if (window.visible && window.text == title)
                return true;
        return false;
    }
};

} // namespace

TEST_F(InfoWindows, TheLegendExplainsTheSafetyClassesAndClosesWithEnterEscapeAndClose)
{
    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    HWND legend = Open(*program, main, "&Legend", "Legend");
    ASSERT_TRUE(legend);
    for (const char* text : {"Quillsweep classifies files and directories into one of the following categories.",
                             "Safe", "Files and directories that can generally be safely deleted.",
                             "Potentially Unsafe", "Files and directories that require extra care in order to be deleted.",
                             "Unsafe", "Files and directories that require your attention in order to be deleted."})
        EXPECT_TRUE(FindChild(legend, text, "Static")) << text;
    ASSERT_TRUE(PressKey(legend, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(legend));

    ClosesEveryWay(*program, main, "&Legend", "Legend");
    CloseWithEscape(*program, main);
}

TEST_F(InfoWindows, TheAboutBoxTellsTheProgramAndTheSystemAndF2ShowsItsNote)
{
    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    HWND about = Open(*program, main, "&About", "About");
    ASSERT_TRUE(about);
    // The texts themselves are the controller's (its tests fake the system); here: that each line
    // the user reads is shown, filled from this system.
    const std::string version = TDetect::GetFileVersion(exe);
    ASSERT_FALSE(version.empty());
    for (const std::string& text : {std::string("Quillsweep"), "Version: " + version,
                                    std::string("Architecture: 32-bit (x86)"), std::string("Class: System Cleanup Utility")})
        EXPECT_TRUE(FindChild(about, text, "Static")) << text;
    std::map<std::string, int> shown;
    for (const auto& child : Children(about))
        if (child.visible && child.className == "Static")
            for (const char* start : {"Microsoft Windows ", "Architecture: ", "Total physical memory size: ",
                                      "Available physical memory size: ", "Revision: "})
                if (child.text.rfind(start, 0) == 0 && child.text.size() > std::strlen(start))
                    ++shown[start];
    EXPECT_EQ((std::map<std::string, int>{{"Microsoft Windows ", 1}, {"Architecture: ", 2},
                                          {"Total physical memory size: ", 1},
                                          {"Available physical memory size: ", 1}, {"Revision: ", 1}}),
              shown);

    ASSERT_TRUE(PressKey(about, VK_F2));
    HWND note = FindChild(about, "Sweep on!", "Static");
    ASSERT_TRUE(note);
    RECT noteRect = WindowRect(note), logoRect{};
    for (const auto& child : Children(about))
        if (child.visible && child.className == "Static" && child.text.empty() &&
            child.rect.right - child.rect.left == child.rect.bottom - child.rect.top)
            logoRect = child.rect;
    EXPECT_EQ(logoRect.bottom, noteRect.top) << "directly below the logo";
    EXPECT_EQ(logoRect.left + 4, noteRect.left);
    ASSERT_TRUE(PressKey(about, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(about));

    ClosesEveryWay(*program, main, "&About", "About");
    CloseWithEscape(*program, main);
}

TEST_F(InfoWindows, F1OpensTheHelpFromTheLegendButNotFromTheAboutBox)
{
    WithoutHelp();
    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);

    HWND about = Open(*program, main, "&About", "About");
    ASSERT_TRUE(about);
    ASSERT_TRUE(PressKey(about, VK_F1));
    ASSERT_TRUE(WaitForIdle(about));
    Sleep(300);
    EXPECT_FALSE(HasVisible(*program, "Error")) << "no help asked for";
    EXPECT_TRUE(IsWindowVisible(about));
    ASSERT_TRUE(PressKey(about, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(about));

    HWND legend = Open(*program, main, "&Legend", "Legend");
    ASSERT_TRUE(legend);
    ASSERT_TRUE(PressKey(legend, VK_F1));
    HWND box = program->WaitForWindow("Error");
    ASSERT_TRUE(box) << "the help was asked for";
    ASSERT_TRUE(Press(FindChild(box, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(box));
    EXPECT_TRUE(IsWindowVisible(legend));
    ASSERT_TRUE(PressKey(legend, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(legend));
    CloseWithEscape(*program, main);
}
