// The report window in the real program: a scan report saved from it is the command-line
// tool's report of the same scan, and a clean report is saved as it is shown.
#include "tests/windows/ProgramWindowsFixture.h"

#include "CliProcess.h"

#include <commctrl.h>
#include <cstdio>

using namespace program_testing;
using testing_support::ReadBytes;

namespace {

class ReportWindow : public ProgramWindows {
protected:
    // a.qsx, sub\b.qsx and keep.txt; the program looks for custom files "*.qsx" without asking.
    void SetUp() override
    {
        ProgramWindows::SetUp();
        target = MakeTarget({"a.qsx", "sub\\b.qsx", "keep.txt"});
        Stored().CleanupOptions = 1u << 21;
        Stored().CustomFiles = "*.qsx";
        Store();
    }

    // Starts the program on the target and scans it; the main window, or null.
    HWND StartAndScan(std::unique_ptr<TProgram>& program)
    {
        program = Start("\"" + target + "\"");
        HWND main = program->WaitForWindow("Quillsweep");
        if (!main || !Press(main, "Continue >") || !FindChild(main, "Idle", "Static", 30000))
            return nullptr;
        return main;
    }

    // Presses "Report" and waits for the window.
    HWND OpenReport(TProgram& program, HWND main)
    {
        EXPECT_TRUE(Press(main, "Report"));
        return program.WaitForWindow("Report");
    }

    // Saves through the standard dialog as a user would: the proposed name replaced by a typed path.
    static void SaveAs(TProgram& program, HWND report, const std::string& proposed, const std::string& path)
    {
        ASSERT_TRUE(Press(report, "&Save"));
        HWND dialog = program.WaitForWindow("Save report...");
        ASSERT_TRUE(dialog);
        HWND name = FindChild(dialog, proposed, "Edit");
        ASSERT_TRUE(name) << "the dialog proposes " << proposed;
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(platform::Widen(path).c_str()));
        ASSERT_TRUE(Press(FindChild(dialog, "&Save", "Button")));
        ASSERT_TRUE(WaitUntilGone(dialog));
        EXPECT_TRUE(FindChild(report, path, "Static")) << "the title names the saved file";
    }

    static std::string Today(const char* format)
    {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
        std::string name = format;
        return name.replace(name.find("%s"), 2, date);
    }

    std::string target;
};

HWND ReportList(HWND report)
{
    for (const auto& child : Children(report))
        if (child.visible && child.className == "SysListView32")
            return child.handle;
    return nullptr;
}

} // namespace

TEST_F(ReportWindow, AScanReportSavedHereIsTheToolsReportOfTheSameScan)
{
    std::unique_ptr<TProgram> program;
    HWND main = StartAndScan(program);
    ASSERT_TRUE(main) << "the scan ends";

    HWND report = OpenReport(*program, main);
    ASSERT_TRUE(report);
    HWND list = ReportList(report);
    ASSERT_TRUE(list);
    ASSERT_EQ(23, ListViewItemCount(list));
    EXPECT_EQ(200, SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0)) << "the category column as specified";
    const RECT strip = WindowRect(FindChild(report, "Toolbar"));
    EXPECT_EQ(30, strip.bottom - strip.top) << "the toolbar's own height";
    EXPECT_EQ("Custom Files", ListViewText(list, 21));
    EXPECT_EQ("2", ListViewText(list, 21, 1));
    EXPECT_EQ("2 Ko", ListViewText(list, 21, 2));

    const std::string saved = dir.File("from-window.txt");
    SaveAs(*program, report, Today("QSR-SCAN-%s.txt"), saved);

    const std::string fromTool = dir.File("from-tool.txt");
    const cli_testing::TToolRun tool =
        cli_testing::RunTool({"scan", target, "--prefs", prefs, "--options", "21", "--report", fromTool});
    ASSERT_EQ(0, tool.status) << tool.err;
    const std::string expected = ReadBytes(fromTool);
    EXPECT_NE(std::string::npos, expected.find("\r\nCustom Files, 2 found count, 2 Ko found capacity, 100"));
    EXPECT_EQ(expected, ReadBytes(saved));

    ASSERT_TRUE(PressKey(report, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(report));
    CloseWithEscape(*program, main);
}

TEST_F(ReportWindow, AfterACleanTheCleanReportIsShownAndSavedAsShown)
{
    Stored().Confirmations = false;
    Store();
    std::unique_ptr<TProgram> program;
    HWND main = StartAndScan(program);
    ASSERT_TRUE(main) << "the scan ends";
    ASSERT_TRUE(Press(main, "Clean"));
    HWND question = program->WaitForWindow("Warning");
    ASSERT_TRUE(question) << "custom files are unsafe";
    ASSERT_TRUE(Press(FindChild(question, "Yes", "Button")));
    ASSERT_TRUE(FindChild(main, "Repeat", "Button", 30000)) << "the clean ends";

    HWND report = OpenReport(*program, main);
    ASSERT_TRUE(report);
    HWND text = nullptr;
    for (const auto& child : Children(report))
        if (child.visible && child.className == "Edit")
            text = child.handle;
    ASSERT_TRUE(text);
    const std::string shown = WindowText(text);
    EXPECT_EQ(0u, shown.find("Quillsweep ")) << shown;
    EXPECT_NE(std::string::npos, shown.find("\r\nRemoved objects   :        2    Total size:      2 Ko\r\n")) << shown;

    const std::string saved = dir.File("clean.txt");
    SaveAs(*program, report, Today("QSR-CLEAN-%s.txt"), saved);
    EXPECT_EQ(shown, ReadBytes(saved));

    // The same name again, from the keyboard: only "Yes" would replace it.
    WriteFile(saved, "kept");
    ASSERT_TRUE(PressAltKey(report, 'S'));
    HWND dialog = program->WaitForWindow("Save report...");
    ASSERT_TRUE(dialog);
    HWND name = FindChild(dialog, Today("QSR-CLEAN-%s.txt"), "Edit");
    ASSERT_TRUE(name);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(platform::Widen(saved).c_str()));
    ASSERT_TRUE(Press(FindChild(dialog, "&Save", "Button")));
    HWND confirm = program->WaitForWindow("Confirm");
    ASSERT_TRUE(confirm);
    EXPECT_TRUE(FindChild(confirm, "File \"clean.txt\" already exists.\r\nDo you want to overwrite it?", "Static"));
    ASSERT_TRUE(Press(FindChild(confirm, "No", "Button")));
    ASSERT_TRUE(WaitUntilGone(confirm));
    EXPECT_EQ("kept", ReadBytes(saved));

    ASSERT_TRUE(Press(FindChild(report, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(report));
    CloseWithEscape(*program, main);
}
