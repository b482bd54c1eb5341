#include "ExchangeTestSupport.h"
#include "FifoTestSupport.h"
#include "ScannerTestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

using routines_testing::ScopedEnvironment;
using scanner_testing::FoundUnder;
using scanner_testing::RunScan;
using scanner_testing::TScanResult;
using scanner_testing::TScanSetup;
using testing::ElementsAre;
using testing_support::TempDir;

namespace {

namespace fs = std::filesystem;

constexpr uid_t kSomeoneElse = 65534;

void MakeFile(const TempDir& root, const std::string& relative, const std::string& bytes = "x")
{
    const fs::path path = root.Path() / testing_support::PathOf(relative);
    fs::create_directories(path.parent_path());
    testing_support::WriteBytes(testing_support::Utf8(path), bytes);
}

} // namespace

// Root reads everyone's files: the shared temporary folders must still give up only the scanning
// user's own, and never what a running X session or service needs.
TEST(ScannerSafety, TemporaryFoldersKeepOthersAndRunningSessions)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    TempDir dir;
    MakeFile(dir, "tmp/ordinary");
    MakeFile(dir, "tmp/.X0-lock");
    MakeFile(dir, "tmp/.X11-unix/X0");
    MakeFile(dir, "tmp/.ICE-unix/1234");
    MakeFile(dir, "tmp/systemd-private-abc/x");
    MakeFile(dir, "tmp/theirs");
    MakeFile(dir, "tmp/their-folder/mine");
    MakeFile(dir, "tmp/deeper/their-file");
    ASSERT_EQ(0, lchown(dir.File("tmp/theirs").c_str(), kSomeoneElse, kSomeoneElse));
    ASSERT_EQ(0, lchown(dir.File("tmp/their-folder").c_str(), kSomeoneElse, kSomeoneElse));
    ASSERT_EQ(0, lchown(dir.File("tmp/deeper/their-file").c_str(), kSomeoneElse, kSomeoneElse));
    // Our own link does not lead into another user's folder either.
    fs::create_directory_symlink(dir.Path() / "tmp" / "their-folder", dir.Path() / "tmp" / "to-their-folder");
    const std::string temp = dir.File("tmp");
    ScopedEnvironment tmpdir("TMPDIR", temp), tmp("TMP", temp), tmpAlso("TEMP", temp);

    TScanSetup setup;
    setup.options = {0};
    setup.ignoreSymbolicLinks = false;
    TScanResult result = RunScan(setup);
    EXPECT_EQ("Scan complete.", result.statusTexts.back());
    EXPECT_THAT(FoundUnder(result, temp, {0}), ElementsAre("ordinary"));

    // Only the temporary folders' option leaves them alone; elsewhere the user decided.
    setup.options = {21};
    setup.customFileMasks = "theirs";
    setup.targets = temp;
    result = RunScan(setup);
    EXPECT_THAT(FoundUnder(result, temp, {21}), ElementsAre("theirs"));
}

// Listings never give FIFOs, but a link to one is listed as the link; followed, it must not make
// the contents search wait for a writer that never comes.
TEST(ScannerSafety, FifoBehindALinkStopsNothing)
{
    TempDir dir;
    MakeFile(dir, "a.tmp", "has the needle");
    ASSERT_TRUE(testing_support::MakeFifo(dir.File("pipe")));
    fs::create_symlink(dir.Path() / "pipe", dir.Path() / "b.tmp");
    MakeFile(dir, "c.tmp", "needle too");

    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {13};
    setup.ignoreSymbolicLinks = false;
    setup.validators = TEngineServices::CreateScannerValidators(false);
    setup.validators->Add(svFileContents, {"needle", false});
    TScanResult result;
    EXPECT_TRUE(testing_support::FinishesWithoutWaitingOn(dir.File("pipe"), [&] { result = RunScan(setup); }));
    ASSERT_FALSE(result.statusTexts.empty());
    EXPECT_EQ("Scan complete.", result.statusTexts.back());
    EXPECT_THAT(FoundUnder(result, dir.Str(), {13}), testing::UnorderedElementsAre("a.tmp", "c.tmp"));
}

// A folder of the target exchanged, over and over, with a link to a folder elsewhere while scans
// run: whatever the walk meets, nothing beyond the link is ever listed.
TEST(ScannerSafety, AFolderSwappedForALinkDuringTheScanLeadsNowhere)
{
    TempDir dir, outside;
    MakeFile(dir, "victim/inside.zq1");
    for (int i = 0; i < 100; ++i)
        MakeFile(outside, "elsewhere" + std::to_string(i) + ".zq1");
    fs::create_directory_symlink(outside.Path(), dir.Path() / "swap");
    testing_support::TNameExchanger swapper({{dir.File("victim"), dir.File("swap")}});
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {21};
    setup.customFileMasks = "*.zq1";
    int leaked = 0, scans = 0;
    for (; scans < 1500 && leaked == 0; ++scans)
        for (const std::string& path : FoundUnder(RunScan(setup), dir.Str()))
            leaked += path.find("elsewhere") != std::string::npos;
    EXPECT_GT(swapper.Stop(), 100) << "the race never ran";
    EXPECT_EQ(0, leaked) << "objects listed through the link in scan " << scans;
}

#endif
