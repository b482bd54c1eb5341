// The same scan through the main window and through the command-line tool, under Wine: the
// window's time runs from pressing "Continue >" until its status reads "Idle" with every row
// counted; the tool's is its whole run less its run on an empty folder (start-up and exit). The
// floor is the whole run of a bare walk of the tree (benchmarks/win32/BareWalk.cpp), when given.
// Usage (see benchmarks/window-vs-cli.sh): main_window_benchmark TREE [RUNS [BAREWALK]]
#include "tests/windows/WindowDriver.h"

#include "TestSupport.h"
#include "cli/CliProcess.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32Text.h"
#include "prefs/VelaPreferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace window_testing;

namespace {
std::string gTree;
int gRuns = 3;
std::string gWalk;

std::string BesideMe(const std::string& relative)
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + relative;
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

BOOL CALLBACK CollectChild(HWND child, LPARAM all)
{
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(child);
    return TRUE;
}

// Waits for a visible static control to read text, asking the system for the text it keeps: the
// driver's FindChild sends every child two messages a poll, which the window answers in the
// middle of the scan being timed.
bool WaitForStatic(HWND main, const std::string& text, DWORD timeoutMs)
{
    const std::wstring wanted = platform::Widen(text);
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
        std::vector<HWND> all;
        EnumChildWindows(main, CollectChild, reinterpret_cast<LPARAM>(&all));
        for (HWND child : all) {
            wchar_t className[32] = L"", caption[64] = L"";
            if (IsWindowVisible(child) && GetClassNameW(child, className, 32) && std::wstring(className) == L"Static" &&
                InternalGetWindowText(child, caption, 64) == static_cast<int>(wanted.size()) && caption == wanted)
                return true;
        }
    }
    return false;
}

int ObjectsRowCount(HWND main)
{
    for (const auto& child : Children(main))
        if (child.visible && child.className == "SysListView32" && ListViewColumnCount(child.handle) == 4)
            return ListViewItemCount(child.handle);
    return -1;
}
} // namespace

TEST(MainWindowScan, WindowAgainstTool)
{
    ASSERT_FALSE(gTree.empty()) << "usage: main_window_benchmark TREE [RUNS]";
    testing_support::TempDir dir;
    const std::string exe = dir.File("quillswp32.exe");
    ASSERT_TRUE(CopyFileW(platform::Widen(BesideMe("../app/quillswp32.exe")).c_str(), platform::Widen(exe).c_str(), FALSE));
    const std::string prefs = dir.File("quillswp32.prefs");
    {
        TPreferenceValues values(false);
        values.SetFileName(prefs);
        values.Load();
        values.FirstRun = false;
        values.CleanupOptions = 1u << 21; // custom files
        values.CustomFiles = "*.qsb";
        ASSERT_TRUE(values.Save());
    }
    const std::string empty = dir.File("empty");
    ASSERT_TRUE(CreateDirectoryW(platform::Widen(empty).c_str(), nullptr));

    // Each window run is followed by a run of the floor, so that a change in the machine's load
    // falls on both.
    double window = 1e9, walk = 1e9;
    for (int run = 0; run < gRuns; ++run) {
        TProgram program(exe, "\"" + gTree + "\"", dir.Str());
        HWND main = program.WaitForWindow("Quillsweep");
        ASSERT_TRUE(main);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(Press(main, "Continue >"));
        ASSERT_TRUE(WaitForStatic(main, "Idle", 600000));
        window = std::min(window, Seconds(start));
        if (run == 0)
            std::printf("window rows : %d\n", ObjectsRowCount(main));
        program.Kill();
        program.WaitForExit();
        if (!gWalk.empty()) {
            const auto walkStart = std::chrono::steady_clock::now();
            const auto result = cli_testing::RunTool({gTree, "*.qsb"}, gWalk);
            walk = std::min(walk, Seconds(walkStart));
            EXPECT_EQ(0, result.status) << result.err;
        }
    }

    const std::string tool = BesideMe("../cli/quillsweep-cli.exe");
    const auto toolRun = [&](const std::string& target) {
        const auto start = std::chrono::steady_clock::now();
        const auto result = cli_testing::RunTool({"scan", target, "--prefs", prefs, "--stored"}, tool);
        EXPECT_EQ(0, result.status) << result.err;
        return Seconds(start);
    };
    double tool_tree = 1e9, tool_empty = 1e9;
    for (int run = 0; run < gRuns; ++run) {
        tool_tree = std::min(tool_tree, toolRun(gTree));
        tool_empty = std::min(tool_empty, toolRun(empty));
    }
    const double toolScan = tool_tree - tool_empty;
    std::printf("window scan : %8.3f s (best of %d)\n", window, gRuns);
    std::printf("tool scan   : %8.3f s (whole run %.3f s less start-up %.3f s, best of %d)\n", toolScan, tool_tree,
                tool_empty, gRuns);
    std::printf("window/tool : %8.2f\n", window / toolScan);
    EXPECT_LE(window, toolScan * 1.2) << "the window falls more than 20 % behind the tool";
    if (gWalk.empty())
        return;
    std::printf("bare walk   : %8.3f s (whole run, best of %d)\n", walk, gRuns);
    std::printf("window/walk : %8.2f\n", window / walk);
    EXPECT_LE(window, walk * 1.5) << "the window takes more than half as long again as a bare walk";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        gTree = argv[1];
    if (argc > 2)
        gRuns = std::max(1, std::atoi(argv[2]));
    if (argc > 3)
        gWalk = argv[3];
    return RUN_ALL_TESTS();
}
