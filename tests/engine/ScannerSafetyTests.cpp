#include "FifoTestSupport.h"
#include "ScannerTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
using scanner_testing::FoundUnder;
using scanner_testing::RunScan;
using scanner_testing::TScanResult;
using scanner_testing::TScanSetup;
using testing_support::TempDir;

namespace {

namespace fs = std::filesystem;

void MakeFile(const TempDir& root, const std::string& relative, const std::string& bytes = "x")
{
    const fs::path path = root.Path() / testing_support::PathOf(relative);
    fs::create_directories(path.parent_path());
    testing_support::WriteBytes(testing_support::Utf8(path), bytes);
}

} // namespace

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

#endif
