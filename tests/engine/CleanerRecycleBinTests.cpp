// The recycle-bin object; natively only, where the bin can be pointed at a scratch folder.
#include "CleanerTestSupport.h"
#include "TestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/PlatformRecycle.h"

using namespace cleaner_testing;
using testing_support::TempDir;
using testing_support::ReadBytes;
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

#ifndef _WIN32
namespace {

std::string InfoOf(const TempDir& data, const std::string& name)
{
    return testing_support::ReadBytes(data.File("Trash/info/" + name + ".trashinfo"));
}

// "[Trash Info]", the encoded path, and a local date of the form the rules give.
::testing::AssertionResult ValidInfo(const std::string& info, const std::string& encodedPath)
{
    const std::string head = "[Trash Info]\nPath=" + encodedPath + "\nDeletionDate=";
    if (info.compare(0, head.size(), head) != 0 || info.size() != head.size() + 20 || info.back() != '\n' ||
        info[head.size() + 4] != '-' || info[head.size() + 10] != 'T' || info[head.size() + 13] != ':')
        return ::testing::AssertionFailure() << info;
    return ::testing::AssertionSuccess();
}

} // namespace

// Each kind of object goes whole to the home trash with a record a desktop can restore it from;
// nothing is left behind, and a name the trash already holds is never taken over.
TEST(CleanerRecycle, MovesEachObjectIntoTheTrashWithItsRecord)
{
    TempDir data, dir;
    routines_testing::ScopedEnvironment home("XDG_DATA_HOME", data.Str());
    WriteBytes(dir.File("plain.txt"), "plain");
    WriteBytes(dir.File("readonly"), "ro");
    std::filesystem::permissions(dir.Path() / "readonly", std::filesystem::perms::owner_read);
    WriteBytes(dir.File(".hidden"), "hidden");
    WriteBytes(dir.File("with space \xC3\xA9t\xC3\xA9%.tmp"), "odd");
    std::filesystem::create_directories(dir.Path() / "tree" / "sub" / "deeper");
    WriteBytes(dir.File("tree/sub/deeper/c"), "c");
    std::filesystem::permissions(dir.Path() / "tree" / "sub", std::filesystem::perms::owner_read |
                                                                  std::filesystem::perms::owner_exec);
    std::filesystem::create_symlink("/nowhere", dir.Path() / "link");
    // The trash already holds a "plain.txt", and an entry "readonly" without its record.
    std::filesystem::create_directories(data.Path() / "Trash" / "files" / "readonly");
    std::filesystem::create_directories(data.Path() / "Trash" / "info");
    WriteBytes(data.File("Trash/files/plain.txt"), "older");
    WriteBytes(data.File("Trash/info/plain.txt.trashinfo"), "[Trash Info]\nPath=/old/plain.txt\n");

    TCleanRun run;
    run.targets = {dir.Str()};
    run.recycle = true;
    for (const char* name : {"plain.txt", "readonly", ".hidden", "with space \xC3\xA9t\xC3\xA9%.tmp", "link"})
        run.Add(dir.File(name));
    run.Add(dir.File("tree"), 1, scSafe, 22);
    run.Clean();

    EXPECT_EQ(std::vector<std::string>{}, run.SkippedPaths());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    const std::string files = data.File("Trash/files/");
    EXPECT_EQ((std::map<int32_t, std::string>{{0, files + "plain.2.txt"},
                                              {1, files + "readonly.2"},
                                              {2, files + ".hidden"},
                                              {3, files + "with space \xC3\xA9t\xC3\xA9%.tmp"},
                                              {4, files + "link"},
                                              {5, files + "tree"}}),
              run.dispatch->moved);
    EXPECT_EQ("plain", ReadBytes(files + "plain.2.txt"));
    EXPECT_EQ("older", ReadBytes(files + "plain.txt"));
    EXPECT_EQ("ro", ReadBytes(files + "readonly.2"));
    EXPECT_EQ("c", ReadBytes(files + "tree/sub/deeper/c"));
    EXPECT_TRUE(std::filesystem::is_symlink(files + "link"));
    EXPECT_TRUE(ValidInfo(InfoOf(data, "plain.2.txt"), dir.Str() + "/plain.txt"));
    EXPECT_TRUE(ValidInfo(InfoOf(data, "with space \xC3\xA9t\xC3\xA9%.tmp"),
                          platform::TrashInfoPath(dir.Str()) + "/with%20space%20%C3%A9t%C3%A9%25.tmp"));
    EXPECT_TRUE(ValidInfo(InfoOf(data, "tree"), platform::TrashInfoPath(dir.Str()) + "/tree"));
    EXPECT_FALSE(std::filesystem::exists(data.Path() / "Trash" / "info" / "readonly.trashinfo"));
    // Counted as cleaned, but the space stays used until the trash is emptied.
    EXPECT_EQ(6u, run.cleaner->GetStatistics().objectsCleaned);
    EXPECT_EQ(0u, run.cleaner->GetStatistics().diskSpaceGain);
    EXPECT_EQ("Moved to the bin  :        6    Total size:      6 Ko", run.Line("Moved to the bin"));
    EXPECT_EQ("Space still used  : 6 Ko until the Trash is emptied", run.Line("Space still used"));
    EXPECT_EQ("Disk space gain   :        0 Ko Total size:      6 Ko", run.Line("Disk space gain"));
    EXPECT_EQ("Moving to the Trash: \"" + dir.File("tree") + "\"", run.dispatch->statusTexts.end()[-2]);
}

// Where no trash can take an object it stays where it is, listed with why: never deleted instead.
TEST(CleanerRecycle, AnObjectNoTrashCanTakeStaysInPlace)
{
    TempDir data, dir;
    routines_testing::ScopedEnvironment home("XDG_DATA_HOME", data.Str());
    std::filesystem::create_directories(dir.Path() / "tree");
    for (const std::string trash : {"a file", "a link"}) {
        std::filesystem::remove_all(data.Path() / "Trash");
        if (trash == "a file") {
            WriteBytes(data.File("Trash"), "not a folder");
        } else {
            std::filesystem::create_directories(data.Path() / "Trash" / "info");
            std::filesystem::create_directories(data.Path() / "elsewhere");
            std::filesystem::create_directory_symlink(data.Path() / "elsewhere", data.Path() / "Trash" / "files");
        }
        WriteBytes(dir.File("keep.txt"), "keep");
        WriteBytes(dir.File("tree/inner"), "inner");
        TCleanRun run;
        run.targets = {dir.Str()};
        run.recycle = true;
        run.Add(dir.File("keep.txt"));
        run.Add(dir.File("tree"), 1, scSafe, 22);
        run.Clean();
        EXPECT_EQ("keep", ReadBytes(dir.File("keep.txt"))) << trash;
        EXPECT_EQ("inner", ReadBytes(dir.File("tree/inner"))) << trash;
        EXPECT_FALSE(std::filesystem::exists(data.Path() / "elsewhere" / "keep.txt")) << trash;
        EXPECT_EQ((std::map<int32_t, TSkipReason>{{0, srNoBin}, {1, srNoBin}}), run.dispatch->skipReasons) << trash;
        EXPECT_EQ(dir.File("keep.txt") + (trash == "a file" ? "  [the home trash cannot be made]"
                                                            : "  [the trash's folders cannot be made]"),
                  run.Lines().end()[-2])
            << trash;
        EXPECT_EQ(0u, run.cleaner->GetStatistics().objectsCleaned);
    }
}
#endif
