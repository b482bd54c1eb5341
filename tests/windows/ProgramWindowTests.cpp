// The real program started in a scratch folder and driven through its windows, as a user would.
#include "tests/windows/ProgramWindowsFixture.h"
#include "tests/windows/WindowDriver.h"

#include "TestSupport.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32Text.h"
#include "prefs/VelaPreferences.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace program_testing;
using namespace window_testing;
using testing_support::ReadBytes;
using testing_support::TempDir;

namespace {

const char kWelcome[] = "Welcome to Quillsweep!\r\nPlease take some time to read the help before cleanning your "
                        "disks.\r\nMisuse of this program may delete your entire data hierarchy.";

bool HasVisibleWindow(const TProgram& program, const std::string& text)
{
    for (const auto& window : program.Windows())
        if (window.visible && window.text == text)
            return true;
    return false;
}

SIZE SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

} // namespace

TEST_F(ProgramWindows, MainWindowShowsItsTitleMenuBarAndStatusBar)
{
    Store();
    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    EXPECT_TRUE(FindChild(main, "Quillsweep", "Static")) << "the title bar's caption";
    for (const char* caption : {"&Options", "&Statistics", "&Legend", "&Help", "&About", "&Updates", "Minimize",
                                "Maximize", "Close"})
        EXPECT_TRUE(FindChild(main, caption, "Button")) << caption;
    EXPECT_TRUE(FindChild(main, "", "QuillsweepProgressBar")) << "the status bar's progress bar";
    EXPECT_FALSE(HasVisibleWindow(*program, "Warning")) << "no welcome for a returning user";
    CloseWithEscape(*program, main);
}

TEST_F(ProgramWindows, SecondCopyEndsWithoutAWindow)
{
    Store();
    auto first = Start();
    HWND main = first->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);

    auto second = Start();
    EXPECT_EQ(0u, second->WaitForExit().value_or(0xFFFFFFFF));
    int mainWindows = 0;
    for (const auto& window : first->Windows())
        mainWindows += window.visible && window.text == "Quillsweep";
    EXPECT_EQ(1, mainWindows);
    CloseWithEscape(*first, main);
}

TEST_F(ProgramWindows, WelcomeNoticeComesOnTheFirstRunOnly)
{
    {
        auto program = Start();
        HWND notice = program->WaitForWindow("Warning");
        ASSERT_TRUE(notice);
        EXPECT_TRUE(FindChild(notice, kWelcome, "Static"));
        ASSERT_TRUE(Press(FindChild(notice, "Close", "Button")));
        HWND main = program->WaitForWindow("Quillsweep");
        ASSERT_TRUE(main);
        CloseWithEscape(*program, main);
    }
    EXPECT_FALSE(Reloaded()->FirstRun);

    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitForIdle(main));
    EXPECT_FALSE(HasVisibleWindow(*program, "Warning"));
    CloseWithEscape(*program, main);
}

TEST_F(ProgramWindows, EscapeAsksAndNoKeepsTheWindowButTheCloseButtonDoesNotAsk)
{
    Stored().Confirmations = false;
    Store();
    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);

    ASSERT_TRUE(PressKey(main, VK_ESCAPE));
    HWND confirm = program->WaitForWindow("Confirm");
    ASSERT_TRUE(confirm);
    EXPECT_TRUE(FindChild(confirm, "Close Quillsweep?", "Static"));
    ASSERT_TRUE(Press(FindChild(confirm, "No", "Button")));
    ASSERT_TRUE(WaitUntilGone(confirm));
    EXPECT_FALSE(program->WaitForExit(300));
    EXPECT_TRUE(IsWindowVisible(main));

    ASSERT_TRUE(Press(FindChild(main, "Close", "Button")));
    EXPECT_EQ(0u, program->WaitForExit().value_or(0xFFFFFFFF)) << "closed without a question";
}

TEST_F(ProgramWindows, DefaultSizeOptionAndPlacementThatSurvivesARestart)
{
    Store();
    {
        auto program = Start("-defaultsize");
        HWND main = program->WaitForWindow("Quillsweep");
        ASSERT_TRUE(main);
        ASSERT_TRUE(WaitForIdle(main));
        const SIZE size = SizeOf(WindowRect(main));
        EXPECT_EQ(960, size.cx);
        EXPECT_EQ(661, size.cy);
        // Where the user leaves it.
        ASSERT_TRUE(SetWindowPos(main, nullptr, 37, 41, 900, 640, SWP_NOZORDER | SWP_NOACTIVATE));
        ASSERT_TRUE(WaitForIdle(main));
        CloseWithEscape(*program, main);
    }
    const auto saved = Reloaded();
    EXPECT_EQ(37, saved->WindowLeft);
    EXPECT_EQ(41, saved->WindowTop);

    auto program = Start("-DEFAULTSIZE");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitForIdle(main));
    const RECT bounds = WindowRect(main);
    EXPECT_EQ(37, bounds.left);
    EXPECT_EQ(41, bounds.top);
    EXPECT_EQ(900, SizeOf(bounds).cx) << "the option in capitals does nothing";
    EXPECT_EQ(640, SizeOf(bounds).cy);
    CloseWithEscape(*program, main);
}

TEST_F(ProgramWindows, FirstStartLeavesTheDefaultFileWithTheProgramsStamp)
{
    RunOnce("", true);
    const std::string bytes = ReadBytes(prefs);
    ASSERT_GT(bytes.size(), 14u);
    EXPECT_EQ("Vela.PREFS", bytes.substr(0, 10));
    EXPECT_EQ(std::string("\xE9\x03\x00\x00", 4), bytes.substr(10, 4)) << "stamp 1001 of version 1.0.0.1";
    const auto saved = Reloaded();
    EXPECT_FALSE(saved->FirstRun) << "the welcome was shown";
    EXPECT_EQ(1u, saved->ProgramRuns);
    EXPECT_EQ("desktop.ini;index.dat", saved->ExcludeFiles);
}

TEST_F(ProgramWindows, OnlyAFirstResetArgumentInAnyCaseBringsTheDefaultsBack)
{
    Stored().ExcludeFiles = "only-this.txt";
    Stored().ProgramRuns = 41;
    Store();

    RunOnce("-resetprefs_not C:\\", false);
    EXPECT_EQ("only-this.txt", Reloaded()->ExcludeFiles);
    RunOnce("C:\\ -RESETPREFS", false);
    EXPECT_EQ(43u, Reloaded()->ProgramRuns) << "only the first argument may ask for a reset";

    RunOnce("-RESETPREFS", true);
    const auto reset = Reloaded();
    EXPECT_EQ("desktop.ini;index.dat", reset->ExcludeFiles);
    EXPECT_EQ(1u, reset->ProgramRuns) << "counted from the defaults";
}

namespace {
// The system's scaling for programs started while it lives (Wine reads it at process start).
class TSystemDpi {
public:
    explicit TSystemDpi(DWORD dpi)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key_, nullptr);
        DWORD size = sizeof previous_;
        hadValue_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_),
                                     &size) == ERROR_SUCCESS;
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~TSystemDpi()
    {
        if (hadValue_)
            RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_), sizeof previous_);
        else
            RegDeleteValueW(key_, L"LogPixels");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 96;
    bool hadValue_ = false;
};

// The caption's width in the window's font at a DPI, without its accelerator mark.
int CaptionWidth(std::string caption, int dpi, bool bold = false)
{
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                             0, 0, L"Tahoma");
    HGDIOBJ previous = SelectObject(screen, font);
    const std::wstring text = platform::Widen(caption);
    SIZE size{};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return size.cx;
}
} // namespace

TEST_F(ProgramWindows, AtOneHundredFiftyPercentEverythingIsScaledAndNoCaptionClipped)
{
    Store();
    TSystemDpi scaling(144);
    auto program = Start("-defaultsize");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitForIdle(main));
    const SIZE size = SizeOf(WindowRect(main));
    EXPECT_EQ(1440, size.cx);
    EXPECT_EQ(992, size.cy);

    HWND options = FindChild(main, "&Options", "Button");
    ASSERT_TRUE(options);
    EXPECT_NEAR(86, SizeOf(WindowRect(options)).cx, 1) << "57 design pixels";
    EXPECT_NEAR(27, SizeOf(WindowRect(options)).cy, 1) << "18 design pixels";
    for (const char* caption : {"&Options", "&Statistics", "&Legend", "&Help", "&About", "&Updates"}) {
        HWND button = FindChild(main, caption, "Button");
        ASSERT_TRUE(button) << caption;
        EXPECT_LE(CaptionWidth(caption, 144), SizeOf(ClientRect(button)).cx) << caption;
    }
    HWND title = FindChild(main, "Quillsweep", "Static");
    ASSERT_TRUE(title);
    EXPECT_LE(CaptionWidth("Quillsweep", 144, true), SizeOf(ClientRect(title)).cx);
    EXPECT_GE(SizeOf(ClientRect(title)).cy, MulDiv(8, 144, 72)) << "the title's line fits its height";
    CloseWithEscape(*program, main);
}


TEST_F(ProgramWindows, ACycleDeletesExactlyTheCheckedObjects)
{
    const std::string target = MakeTarget({"a.qsx", "b.qsx", "sub\\c.qsx", "keep.txt"});
    Stored().CleanupOptions = 1u << 21; // custom files
    Stored().CustomFiles = "*.qsx";
    Stored().Confirmations = false;
    Store();

    auto program = Start("\"" + target + "\"");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(Press(main, "Continue >"));
    ASSERT_TRUE(FindChild(main, "Idle", "Static", 30000)) << "the scan ends";

    HWND list = ObjectsList(main);
    ASSERT_TRUE(list);
    const auto rows = ListViewRows(list);
    ASSERT_EQ(3u, rows.size());
    int kept = -1;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ("Custom Files", rows[i][0]);
        EXPECT_EQ("1 Ko", rows[i][2]);
        EXPECT_TRUE(ListViewChecked(list, static_cast<int>(i)));
        if (rows[i][1] == target + "\\b.qsx")
            kept = static_cast<int>(i);
    }
    ASSERT_GE(kept, 0) << "b.qsx is listed with its path";

    ASSERT_TRUE(SelectListViewItem(list, kept));
    ASSERT_TRUE(PressKey(list, VK_SPACE));
    EXPECT_FALSE(ListViewChecked(list, kept));

    ASSERT_TRUE(Press(main, "Clean"));
    HWND question = program->WaitForWindow("Warning");
    ASSERT_TRUE(question);
    EXPECT_TRUE(FindChild(question, "It appears that there is at least one unsafe item checked in this list.\r\n"
                                    "Are you sure you want to continue?", "Static"));
    ASSERT_TRUE(Press(FindChild(question, "Yes", "Button")));
    ASSERT_TRUE(FindChild(main, "Repeat", "Button", 30000)) << "the clean ends";

    EXPECT_FALSE(Exists(target + "\\a.qsx"));
    EXPECT_FALSE(Exists(target + "\\sub\\c.qsx"));
    EXPECT_TRUE(Exists(target + "\\b.qsx")) << "unchecked, so kept";
    EXPECT_TRUE(Exists(target + "\\keep.txt"));
    CloseWithEscape(*program, main);
}

TEST_F(ProgramWindows, AScanThatFindsNothingSaysSoAndLeavesCleanDisabled)
{
    const std::string target = dir.File("empty");
    ASSERT_TRUE(CreateDirectoryW(platform::Widen(target).c_str(), nullptr));
    Stored().CleanupOptions = 1u << 21;
    Stored().CustomFiles = "*.qsx";
    Store();

    auto program = Start("\"" + target + "\"");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(Press(main, "Continue >"));
    ASSERT_TRUE(FindChild(main, "The search criteria returned no results. Please review the scanner settings.",
                          "Static", 30000));
    HWND clean = FindChild(main, "Clean", "Button");
    ASSERT_TRUE(clean);
    EXPECT_FALSE(IsWindowEnabled(clean));
    CloseWithEscape(*program, main);
}

TEST_F(ProgramWindows, EscapeDuringAScanRefusesToCloseAndStopEndsTheScan)
{
    // The system's program folders: a read-only walk long enough to be caught in progress.
    Stored().CleanupOptions = 1u << 21;
    Stored().CustomFiles = "*.qs-matches-nothing";
    Store();

    auto program = Start("Z:\\usr");
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(Press(main, "Continue >"));
    HWND stop = FindChild(main, "Stop", "Button");
    ASSERT_TRUE(stop);
    for (int i = 0; i < 200 && !IsWindowEnabled(stop); ++i)
        Sleep(10);
    ASSERT_TRUE(IsWindowEnabled(stop)) << "the scan runs";

    ASSERT_TRUE(PressKey(main, VK_ESCAPE));
    HWND refusal = program->WaitForWindow("Information");
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(FindChild(refusal,
                          "You cannot close this program while a scan or a clean operation is in progress.\r\n"
                          "Please stop the current operation and then close this program.",
                          "Static"));
    ASSERT_TRUE(Press(FindChild(refusal, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(refusal));
    EXPECT_TRUE(IsWindow(main)) << "the window stays";

    ASSERT_TRUE(Press(stop));
    EXPECT_TRUE(FindChild(main, "The search criteria returned no results. Please review the scanner settings.",
                          "Static", 30000))
        << "the stopped scan ends";
    CloseWithEscape(*program, main);
}
