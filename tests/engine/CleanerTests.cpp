#include "CleanerTestSupport.h"
#include "TestSupport.h"

#include "engine/uCleaner.h"
#include "engine/uEngineConstants.h"
#include "engine/uSecureRewrite.h"
#include "platform/PlatformEnvironment.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformSystem.h"
#include "prefs/uPreferences.h"
#include "uVersion.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

using namespace cleaner_testing;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

bool Exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(testing_support::PathOf(path), error));
}

void MakeReadOnly(const std::string& path)
{
    using std::filesystem::perms;
    std::filesystem::permissions(testing_support::PathOf(path), perms::owner_read | perms::group_read | perms::others_read);
}

} // namespace

TEST(Cleaner, DeletesCheckedObjectsSkipsTheRestAndAddsToTheStatistics)
{
    TempDir dir;
    WriteBytes(dir.File("a.tmp"), "aaa");
    WriteBytes(dir.File("kept.tmp"), "bbb");
    WriteBytes(dir.File("readonly.tmp"), "ccc");
    MakeReadOnly(dir.File("readonly.tmp"));
    TCleanRun run;
    run.targets = {dir.Str()};
    run.Add(dir.File("a.tmp"), 3);
    run.Add(dir.File("kept.tmp"), 5, scSafe, 13, false);
    run.Add(dir.File("gone.tmp"), 7);
    run.Add(dir.File("readonly.tmp"), 11);
    run.diskSpaceGain = 100;
    run.programRuns = 4;
    run.Clean();

    EXPECT_FALSE(Exists(dir.File("a.tmp")));
    EXPECT_TRUE(Exists(dir.File("kept.tmp")));
    // Without secure delete the read-only attribute is cleared first.
    EXPECT_FALSE(Exists(dir.File("readonly.tmp")));
    EXPECT_EQ((std::vector<std::string>{dir.File("kept.tmp"), dir.File("gone.tmp")}), run.SkippedPaths());
    // Removed: the 3 bytes of each file, 1 Ko each; skipped: as the scan found them.
    EXPECT_EQ("Removed objects   :        2    Total size:      2 Ko", run.Line("Removed objects"));
    EXPECT_EQ("Skipped objects   :        2    Total size:     12 Ko", run.Line("Skipped objects"));
    EXPECT_EQ("Disk space gain   :        2 Ko Total size:     26 Ko", run.Line("Disk space gain"));
    EXPECT_EQ("Total space gain  :      102 Ko Total runs:      4 times", run.Line("Total space gain"));
    EXPECT_EQ(2u, run.cleaner->GetStatistics().diskSpaceGain);
    EXPECT_EQ(2u, run.cleaner->GetStatistics().objectsCleaned);

    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3}), run.dispatch->progress);
    EXPECT_EQ((std::vector<std::string>{"Deleting: \"" + dir.File("a.tmp") + "\"", "Skipping \"" + dir.File("kept.tmp") + "\"",
                                        "Skipping \"" + dir.File("gone.tmp") + "\"",
                                        "Deleting: \"" + dir.File("readonly.tmp") + "\"", "Clean complete."}),
              run.dispatch->statusTexts);
    EXPECT_FALSE(run.dispatch->offThread);
    ASSERT_EQ(1u, run.notices.size());
    EXPECT_EQ(kTestWindow, run.notices[0].window);
    EXPECT_EQ(WM_CLEANFINISHED, run.notices[0].message);
}

// The window reads the statistics whenever it likes (its statistics box, the tray tip, a
// preferences save) while the cleaner runs on its own thread: the clean's figures reach them on
// the window's thread only. A race here is reported under ThreadSanitizer (native-tsan).
TEST(Cleaner, LeavesTheWindowsStatisticsToTheWindowThread)
{
    TempDir dir;
    WriteBytes(dir.File("one"), "x");
    TCleanRun run;
    run.targets = {dir.Str()};
    run.Add(dir.File("one"), 1, scUnsafe);
    run.dispatch->answers = {caYes};
    run.confirmations = true;
    run.diskSpaceGain = 100;
    run.programRuns = 4;
    auto values = std::make_unique<TPreferenceValues>(false);
    values->SetDefaults();
    values->DiskSpaceGain = 100;
    values->ObjectsCleaned = 10;
    InstallPreferences(std::move(values));

    std::atomic<bool> reading{false}, finished{false};
    std::thread window([&] {
        const TPreferenceValues& shown = Preferences();
        volatile uint64_t sum = 0;
        while (!finished) {
            sum = sum + shown.DiskSpaceGain + shown.ObjectsCleaned;
            reading = true;
        }
    });
    while (!reading)
        std::this_thread::yield();
    run.Clean(1);  // stopped once the object is answered: no closing wait
    finished = true;
    window.join();

    EXPECT_FALSE(Exists(dir.File("one")));
    EXPECT_EQ("Total space gain  :      101 Ko Total runs:      4 times", run.Line("Total space gain"));
    EXPECT_EQ(1u, run.cleaner->GetStatistics().diskSpaceGain);
    EXPECT_EQ(1u, run.cleaner->GetStatistics().objectsCleaned);
    EXPECT_EQ(100u, Preferences().DiskSpaceGain);
    EXPECT_EQ(10u, Preferences().ObjectsCleaned);
    InstallPreferences(nullptr);
}

TEST(Cleaner, ReportLinesKeepTheirLayoutAndSaveWithLineBreaks)
{
    TCleanRun run;
    run.figures->SetFoundCount(1234);
    run.figures->SetFoundCapacity(5120);
    run.figures->SetSelectedCount(12);
    run.figures->SetSelectedCapacity(1024);
    run.report->GetLines().push_back("left from the last clean");
    run.diskSpaceGain = 3 * 1024 * 1024;
    run.programRuns = 1234567;
    run.Clean();

    const auto& lines = run.Lines();
    ASSERT_EQ(10u, lines.size());
    EXPECT_EQ("Quillsweep " QS_VERSION_TEXT " Report\r\n", lines[0]);
    EXPECT_EQ(0u, lines[1].find("Process started   : "));
    EXPECT_GT(lines[1].size(), std::string("Process started   : ").size());
    EXPECT_EQ("Total objects     :    1,234    Total size:      5 Mo", lines[2]);
    EXPECT_EQ("Selected objects  :       12    Total size:  1,024 Ko", lines[3]);
    EXPECT_EQ("Removed objects   :        0    Total size:      0 Ko", lines[4]);
    EXPECT_EQ("Skipped objects   :        0    Total size:      0 Ko", lines[5]);
    EXPECT_EQ("Disk space gain   :        0 Ko Total size:      5 Mo", lines[6]);
    // Longer texts than the width are not cut.
    EXPECT_EQ("Total space gain  :    3,072 Mo Total runs: 1,234,567 times", lines[7]);
    EXPECT_TRUE(std::regex_match(lines[8], std::regex("Process completed : .+ Duration: [0-9:.]+"))) << lines[8];
    EXPECT_EQ("\r\nSkipped objects list:\r\n", lines[9]);
    // The duration is a time of day: a day or more wraps.
    EXPECT_EQ("01:01:01.001", TCleaner::ElapsedText(3661001));
    EXPECT_EQ("00:00:05.123", TCleaner::ElapsedText(86400000 + 5123));

    TempDir dir;
    run.report->GetLines() = {"one", "two\r\n", ""};
    run.report->SaveToFile(dir.File("report.txt"));
    EXPECT_EQ("one\r\ntwo\r\n\r\n\r\n", ReadBytes(dir.File("report.txt")));
    run.report->GetLines() = {"again"};
    run.report->SaveToFile(dir.File("report.txt"));
    EXPECT_EQ("again\r\n", ReadBytes(dir.File("report.txt")));
    EXPECT_ANY_THROW(run.report->SaveToFile(dir.File("missing") + "/report.txt"));

#ifndef _WIN32
    // A name cannot add a line of its own to the skipped-objects list.
    TCleanRun named;
    named.Add(dir.File("kept\nProcess completed : forged.tmp"), 1, scSafe, 13, false);
    named.Clean();
    const std::vector<std::string> skipped = named.SkippedPaths();
    ASSERT_EQ(1u, skipped.size());
    EXPECT_EQ(dir.File("kept?Process completed : forged.tmp"), skipped[0]);
#endif
}

TEST(Cleaner, AsksAboutObjectsThatAreNotSafeAndRemembersAnswersToAll)
{
    TempDir dir;
    for (const char* name : {"safe", "unsafe1", "unsafe2", "unsafe3", "unsafe4"})
        WriteBytes(dir.File(name), "x");
    {
        TCleanRun run;
        run.targets = {dir.Str()};
        run.confirmations = true;
        run.Add(dir.File("safe"));
        run.Add(dir.File("unsafe1"), 1, scPotentiallyUnsafe);
        run.Add(dir.File("unsafe2"), 1, scUnsafe);
        run.Add(dir.File("unsafe3"), 1, scPotentiallyUnsafe);
        run.Add(dir.File("unsafe4"), 1, scUnsafe, 13, false);
        run.dispatch->answers = {caYes, caNoToAll, caYes};
        run.Clean();
        // Safe objects are never asked about; after "no to all" nobody is asked again.
        EXPECT_EQ((std::vector<std::string>{dir.File("unsafe1"), dir.File("unsafe2")}), run.dispatch->questions);
        EXPECT_FALSE(Exists(dir.File("safe")));
        EXPECT_FALSE(Exists(dir.File("unsafe1")));
        EXPECT_TRUE(Exists(dir.File("unsafe2")));
        EXPECT_TRUE(Exists(dir.File("unsafe3")));
        EXPECT_EQ((std::vector<std::string>{dir.File("unsafe2"), dir.File("unsafe3"), dir.File("unsafe4")}),
                  run.SkippedPaths());
    }
    {
        // An answer the box never gives counts as "no"; "yes to all" ends the questions.
        TCleanRun run;
        run.targets = {dir.Str()};
        run.confirmations = true;
        for (const char* name : {"unsafe2", "unsafe3", "unsafe4"})
            run.Add(dir.File(name), 1, scUnsafe);
        run.dispatch->answers = {static_cast<TConfirmAnswer>(7), caYesToAll, caNo};
        run.Clean();
        EXPECT_EQ(2u, run.dispatch->questions.size());
        EXPECT_TRUE(Exists(dir.File("unsafe2")));
        EXPECT_FALSE(Exists(dir.File("unsafe3")));
        EXPECT_FALSE(Exists(dir.File("unsafe4")));
    }
    {
        TCleanRun run;
        run.targets = {dir.Str()};
        run.confirmations = false;
        run.Add(dir.File("unsafe2"), 1, scUnsafe);
        run.Clean();
        EXPECT_TRUE(run.dispatch->questions.empty());
        EXPECT_FALSE(Exists(dir.File("unsafe2")));
    }
    EXPECT_EQ("Delete the file: \"C:\\a b.tmp\"?", TEngineServices::DeleteQuestion("C:\\a b.tmp"));
}

TEST(Cleaner, SecureDeleteKeepsWhatItCannotRewriteAndDirectoryObjectsAreEmptied)
{
    TempDir dir;
    WriteBytes(dir.File("data"), std::string(5000, 'd'));
    WriteBytes(dir.File("empty"), "");
    WriteBytes(dir.File("readonly"), "keep me");
    MakeReadOnly(dir.File("readonly"));
    std::filesystem::create_directories(dir.Path() / "full" / "sub" / "deeper");
    WriteBytes(dir.File("full/a"), "a");
    WriteBytes(dir.File("full/sub/deeper/c"), "c");
    std::filesystem::create_directories(dir.Path() / "emptydir");
    TCleanRun run;
    run.targets = {dir.Str()};
    run.secureDelete = true;
    run.passes = 2;
    for (const char* name : {"data", "empty", "readonly", "missing"})
        run.Add(dir.File(name));
    run.Add(dir.File("full"), 2, scSafe, 22);
    run.Add(dir.File("emptydir"), 1, scSafe, 20);
    run.Clean();
    EXPECT_FALSE(Exists(dir.File("data")));
    EXPECT_TRUE(Exists(dir.File("empty")));
    EXPECT_EQ("keep me", ReadBytes(dir.File("readonly")));
    EXPECT_EQ((std::vector<std::string>{dir.File("empty"), dir.File("readonly"), dir.File("missing")}), run.SkippedPaths());
    // A directory object loses its contents but stays; an empty one goes.
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "full"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "full"));
    EXPECT_FALSE(Exists(dir.File("emptydir")));

#ifndef _WIN32
    // An empty folder that takes no new file is not removed but listed as skipped.
    std::filesystem::create_directories(dir.Path() / "locked");
    if (std::system(("chattr +i '" + dir.File("locked") + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "this file system cannot mark a folder immutable";
    TCleanRun lockedRun;
    lockedRun.targets = {dir.Str()};
    lockedRun.Add(dir.File("locked"), 1, scSafe, 20);
    lockedRun.Clean();
    std::system(("chattr -i '" + dir.File("locked") + "'").c_str());
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "locked"));
    EXPECT_EQ((std::vector<std::string>{dir.File("locked")}), lockedRun.SkippedPaths());
#endif
}

namespace {
// "clean" or "rewrite", then the passes and the folder, for the child runs below.
const char* const kPassesChildVariable = "QS_PASSES_CHILD";
} // namespace

// Runs only in the child processes started below (disabled otherwise): in a fresh run, where the
// random pattern starts from the same state, N passes over "secret" either by the cleaner or by a
// rewrite of its own, then one more random rewrite of "probe" that shows how far the pattern went.
TEST(CleanerChild, DISABLED_RandomPassesThenAProbe)
{
    std::string setting;
    if (!platform::GetEnvironmentValue(kPassesChildVariable, setting) || setting.empty())
        GTEST_SKIP() << "only meaningful in a child run";
    std::istringstream fields(setting);
    std::string how, folder;
    int passes = 0;
    fields >> how >> passes >> std::ws;
    std::getline(fields, folder);
    const std::string secret = TScanPaths::Join(folder, "secret"), probe = TScanPaths::Join(folder, "probe");
    if (how == "clean") {
        TCleanRun run;
        run.targets = {folder};
        run.secureDelete = true;
        run.randomPattern = true;
        run.passes = static_cast<uint8_t>(passes);
        run.Add(secret);
        run.Clean();
        ASSERT_FALSE(Exists(secret));
    } else {
        ASSERT_TRUE(TSecureRewriteFile(true).Rewrite(secret, static_cast<uint8_t>(passes)));
    }
    ASSERT_TRUE(TSecureRewriteFile(true).Rewrite(probe, 1));
}

TEST(Cleaner, SecureDeleteRunsTheConfiguredNumberOfPasses)
{
    TempDir dir;
    const auto probeAfter = [&dir](const std::string& how, int passes) {
        WriteBytes(dir.File("secret"), std::string(5000, 's'));
        WriteBytes(dir.File("probe"), std::string(64, 'p'));
        platform::SetEnvironmentValue(kPassesChildVariable, how + " " + std::to_string(passes) + " " + dir.Str());
        const std::string command = "\"" + platform::ExecutablePath() +
                                    "\" --gtest_also_run_disabled_tests --gtest_filter=CleanerChild.* > " +
                                    dir.File("log") + " 2>&1";
        const int status = std::system(command.c_str());
        platform::SetEnvironmentValue(kPassesChildVariable, "");
        EXPECT_EQ(0, status) << ReadBytes(dir.File("log"));
        return ReadBytes(dir.File("probe"));
    };
    const std::string afterOne = probeAfter("rewrite", 1), afterTwo = probeAfter("rewrite", 2);
    ASSERT_NE(afterOne, afterTwo);
    EXPECT_EQ(afterOne, probeAfter("clean", 1));
    EXPECT_EQ(afterTwo, probeAfter("clean", 2));
}

TEST(Cleaner, TemporaryPassRemovesOnlyEmptySubdirectoriesAndAStopSkipsIt)
{
    TempDir temp;
    std::filesystem::create_directories(temp.Path() / "empty" / "nested");
    std::filesystem::create_directories(temp.Path() / "holds");
    WriteBytes(temp.File("holds/file"), "f");
    WriteBytes(temp.File("loose"), "l");
    TempDir dir;
    for (const char* name : {"one", "two", "three"})
        WriteBytes(dir.File(name), "x");
    {
        // Stopped while the first question is open: that object is finished, the others are untouched.
        TCleanRun run;
        run.targets = {dir.Str()};
        run.confirmations = true;
        run.options.Include(0);
        run.tempDirectories = {temp.Str()};
        for (const char* name : {"one", "two", "three"})
            run.Add(dir.File(name), 1, scUnsafe);
        run.dispatch->answers = {caYes, caYes, caYes};
        run.Clean(1);
        EXPECT_EQ(1u, run.dispatch->questions.size());
        EXPECT_FALSE(Exists(dir.File("one")));
        EXPECT_TRUE(Exists(dir.File("two")));
        EXPECT_TRUE(Exists(dir.File("three")));
        EXPECT_TRUE(run.SkippedPaths().empty());
        EXPECT_EQ("Removed objects   :        1    Total size:      1 Ko", run.Line("Removed objects"));
        EXPECT_TRUE(std::regex_match(run.Line("Process stopped"), std::regex("Process stopped   : .+ \\[ MANUAL \\]")));
        EXPECT_EQ("", run.Line("Process completed"));
        EXPECT_EQ("Clean stopped.", run.dispatch->statusTexts.back());
        EXPECT_EQ(1u, run.notices.size());
        EXPECT_TRUE(Exists(temp.File("empty/nested")));
    }
    {
        TCleanRun run;
        run.options.Include(0);
        run.tempDirectories = {temp.Str()};
        run.Clean();
        EXPECT_FALSE(Exists(temp.File("empty")));
        EXPECT_TRUE(Exists(temp.File("holds/file")));
        EXPECT_TRUE(Exists(temp.File("loose")));
        EXPECT_TRUE(Exists(temp.Str()));
        EXPECT_EQ("Clean complete.", run.dispatch->statusTexts.back());
    }
}

namespace {
// A stop raised from outside every thread (as a signal raises the console's interrupt flag),
// seen from the stopFrom-th look on.
std::atomic<int> stopLooks{0};
int stopFrom = 0;
bool SharedStop() { return stopLooks++ >= stopFrom; }
} // namespace

TEST(Cleaner, AStopRaisedBeforeTheFirstDeletionDeletesNothing)
{
    TempDir dir;
    // Before the worker starts, and after it started but before it deleted anything.
    for (const int from : {0, 1}) {
        for (const char* name : {"one", "two"})
            WriteBytes(dir.File(name), "x");
        TCleanRun run;
        run.targets = {dir.Str()};
        run.Add(dir.File("one"));
        run.Add(dir.File("two"));
        stopLooks = 0;
        stopFrom = from;
        TInterfacedThread::SetSharedStopRequest(SharedStop);
        run.Clean();
        TInterfacedThread::SetSharedStopRequest(nullptr);
        EXPECT_TRUE(Exists(dir.File("one"))) << from;
        EXPECT_TRUE(Exists(dir.File("two"))) << from;
        EXPECT_EQ("Removed objects   :        0    Total size:      0 Ko", run.Line("Removed objects")) << from;
        EXPECT_EQ("Clean stopped.", run.dispatch->statusTexts.back()) << from;
    }
}

// Removed counts what went, as it was then; skipped keeps the scan's figures.
TEST(Cleaner, ReportsTheSizeObjectsHadWhenTheyWent)
{
    TempDir dir;
    WriteBytes(dir.File("grown"), std::string(10, 'g'));
    std::filesystem::create_directories(dir.Path() / "folder");
    WriteBytes(dir.File("folder/small"), std::string(10, 's'));
    TCleanRun run;
    run.targets = {dir.Str()};
    run.Add(dir.File("grown"), 1);
    run.Add(dir.File("folder"), 1, scSafe, 22);
    run.Add(dir.File("missing"), 7);
    WriteBytes(dir.File("grown"), std::string(20 << 20, 'g'));
    WriteBytes(dir.File("folder/added"), std::string(3 << 20, 'a'));
    WriteBytes(dir.File("folder/held"), std::string(1 << 20, 'h'));
    platform::FileHandle holder(dir.File("folder/held"), platform::FileAccess::ReadShared);
    run.Clean();

    EXPECT_EQ("held", testing_support::Utf8(std::filesystem::directory_iterator(dir.Path() / "folder")->path().filename()));
    // 20 Mo, and 3 Mo and 10 bytes from the folder; what stayed in it is not counted.
    EXPECT_EQ("Removed objects   :        2    Total size:     23 Mo", run.Line("Removed objects"));
    EXPECT_EQ("Skipped objects   :        1    Total size:      7 Ko", run.Line("Skipped objects"));
}

TEST(Cleaner, AFailingWindowEndsTheCleanOnceWithAWholeReport)
{
    TempDir dir;
    for (const char* name : {"one", "two", "three", "four"})
        WriteBytes(dir.File(name), "x");
    const auto expectEndedOnce = [](TCleanRun& run, const std::string& removed) {
        ASSERT_EQ(1u, run.notices.size());
        EXPECT_EQ(WM_CLEANFINISHED, run.notices[0].message);
        EXPECT_EQ(removed, run.Line("Removed objects"));
        EXPECT_NE("", run.Line("Total space gain"));
        EXPECT_NE("", run.Line("Process stopped"));
        EXPECT_EQ("\r\nSkipped objects list:\r\n", run.Lines().back());
    };
    {
        // The question cannot be put: the object in hand and those after it stay.
        TCleanRun run;
        run.targets = {dir.Str()};
        run.confirmations = true;
        run.Add(dir.File("one"));
        run.Add(dir.File("two"), 1, scUnsafe);
        run.Add(dir.File("three"));
        run.dispatch->onQuestion = [] { throw std::runtime_error("window gone"); };
        run.Clean();
        expectEndedOnce(run, "Removed objects   :        1    Total size:      1 Ko");
        EXPECT_FALSE(Exists(dir.File("one")));
        EXPECT_TRUE(Exists(dir.File("two")));
        EXPECT_TRUE(Exists(dir.File("three")));
        EXPECT_EQ("Clean stopped by an error: window gone", run.dispatch->statusTexts.back());
        EXPECT_NE(std::string::npos, run.Line("Process stopped").find(" [ window gone ]"));
    }
    {
        // No status can be shown at all: what was deleted still counts.
        TCleanRun run;
        run.targets = {dir.Str()};
        WriteBytes(dir.File("three"), std::string(2048, 'x'));
        run.Add(dir.File("three"), 2);
        run.Add(dir.File("four"));
        run.dispatch->onStatus = [](const std::string&) { throw std::runtime_error("window gone"); };
        run.Clean();
        expectEndedOnce(run, "Removed objects   :        1    Total size:      2 Ko");
        EXPECT_FALSE(Exists(dir.File("three")));
        EXPECT_TRUE(Exists(dir.File("four")));
        EXPECT_EQ(2u, run.cleaner->GetStatistics().diskSpaceGain);
    }
}

TEST(Cleaner, KeepsAFileThatAProgramHoldsOpen)
{
    TempDir dir;
    WriteBytes(dir.File("busy"), "busy");
    {
        platform::FileHandle holder(dir.File("busy"), platform::FileAccess::ReadShared);
        ASSERT_TRUE(holder.IsOpen());
        TCleanRun run;
        run.targets = {dir.Str()};
        run.Add(dir.File("busy"));
        run.Clean();
        EXPECT_EQ("busy", ReadBytes(dir.File("busy")));
        EXPECT_EQ((std::vector<std::string>{dir.File("busy")}), run.SkippedPaths());
    }
    TCleanRun run;
    run.targets = {dir.Str()};
    run.Add(dir.File("busy"));
    run.Clean();
    EXPECT_FALSE(Exists(dir.File("busy")));

    // Inside a folder object too: the rest goes, the held file stays.
    std::filesystem::create_directories(dir.Path() / "folder" / "sub");
    WriteBytes(dir.File("folder/sub/held"), "held");
    WriteBytes(dir.File("folder/free"), "free");
    platform::FileHandle holder(dir.File("folder/sub/held"), platform::FileAccess::ReadShared);
    TCleanRun folderRun;
    folderRun.targets = {dir.Str()};
    folderRun.Add(dir.File("folder"), 1, scSafe, 22);
    folderRun.Clean();
    EXPECT_FALSE(Exists(dir.File("folder/free")));
    EXPECT_EQ("held", ReadBytes(dir.File("folder/sub/held")));
}
