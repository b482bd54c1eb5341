// The recycle-bin object; natively only, where the bin can be pointed at a scratch folder.
#include "CleanerTestSupport.h"
#include "TestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace cleaner_testing;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(CleanerRecycleBin, CountsItsItemsOnlyWhenTheBinsWereEmptied)
{
#ifdef _WIN32
    GTEST_SKIP() << "would empty the machine's own recycle bin";
#else
    TempDir data;
    routines_testing::ScopedEnvironment home("XDG_DATA_HOME", data.Str());
    std::filesystem::create_directories(data.Path() / "Trash" / "files");
    std::filesystem::create_directories(data.Path() / "Trash" / "info");
    WriteBytes(data.File("Trash/files/old"), "old");
    WriteBytes(data.File("Trash/info/old.trashinfo"), "[Trash Info]\n");
    {
        TCleanRun run;
        run.confirmations = true;
        run.Add("1,234 object(s)", 40, scSafe, 1, true, ShellFolderRecycleBin);
        run.Clean();
        EXPECT_TRUE(run.dispatch->questions.empty());
        EXPECT_TRUE(std::filesystem::is_empty(data.Path() / "Trash" / "files"));
        EXPECT_EQ("Removed objects   :    1,234    Total size:     40 Ko", run.Line("Removed objects"));
        EXPECT_EQ("Deleting: \"Option 1\"", run.dispatch->statusTexts.front());
        EXPECT_EQ(40u, run.cleaner->GetStatistics().diskSpaceGain);
        EXPECT_EQ(1234u, run.cleaner->GetStatistics().objectsCleaned);
    }
    // A bin that cannot be emptied is not reported as space gained.
    std::filesystem::remove_all(data.Path() / "Trash");
    WriteBytes(data.File("Trash"), "not a folder");
    TCleanRun run;
    run.Add("12 object(s)", 40, scSafe, 1, true, ShellFolderRecycleBin);
    run.Clean();
    EXPECT_EQ("Removed objects   :        0    Total size:      0 Ko", run.Line("Removed objects"));
    EXPECT_EQ((std::vector<std::string>{"12 object(s)"}), run.SkippedPaths());
    // Shown while it was tried, before the outcome was known.
    EXPECT_EQ((std::vector<std::string>{"Deleting: \"Option 1\"", "Skipping \"12 object(s)\"", "Clean complete."}),
              run.dispatch->statusTexts);
    EXPECT_EQ(0u, run.cleaner->GetStatistics().diskSpaceGain);
    EXPECT_EQ(0u, run.cleaner->GetStatistics().objectsCleaned);
#endif
}
