// The records folder: bounded, and never holding a record a reader cannot take, whatever
// happened while one was written.
#include "TestSupport.h"

#include "cycle/uCleanRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

clean_record::Json Numbered(int n)
{
    return {{"recordVersion", clean_record::kRecordVersion}, {"n", n}, {"objects", clean_record::Json::array()}};
}

} // namespace

TEST(CleanRecordFiles, TheNewestFiftyAreKeptAndDamagedFilesPassedOver)
{
    TempDir dir;
    const std::string folder = dir.File("state/records");
    for (int n = 0; n < 53; ++n) {
        std::string file, error;
        ASSERT_TRUE(clean_record::SaveRecord(folder, Numbered(n), file, error)) << error;
    }
    auto records = clean_record::ReadRecords(folder);
    ASSERT_EQ(50u, records.size());
    for (size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(static_cast<int>(i) + 3, records[i].record["n"]) << "oldest first, the three oldest gone";
    EXPECT_EQ(50u, std::distance(fs::directory_iterator(fs::u8path(folder)), fs::directory_iterator()));

    // Cut short, emptied, not a record at all: each is passed over, the others still read.
    WriteBytes(folder + "/clean-29991231T235959-999.json", Numbered(99).dump().substr(0, 20));
    WriteBytes(folder + "/clean-29991231T235959-998.json", "");
    WriteBytes(folder + "/clean-29991231T235959-997.json", "[1, 2]");
    records = clean_record::ReadRecords(folder);
    ASSERT_EQ(50u, records.size());
    EXPECT_EQ(52, records.back().record["n"]);
}

TEST(CleanRecordFiles, AFolderThatCannotBeMadeIsReportedNotRaised)
{
    TempDir dir;
    WriteBytes(dir.File("state"), "a file where the folder would go");
    std::string file, error;
    EXPECT_FALSE(clean_record::SaveRecord(dir.File("state/records"), Numbered(1), file, error));
    EXPECT_NE(std::string::npos, error.find("cannot be created")) << error;
    EXPECT_TRUE(clean_record::ReadRecords(dir.File("state/records")).empty());
}

#ifndef _WIN32
// A writer killed in the middle of a record: the size limit stops it with SIGXFSZ after a few bytes.
TEST(CleanRecordFiles, AWriterKilledMidRecordLeavesNoRecordThatCannotBeRead)
{
    TempDir dir;
    const std::string folder = dir.File("records");
    std::string file, error;
    ASSERT_TRUE(clean_record::SaveRecord(folder, Numbered(1), file, error)) << error;

    clean_record::Json big = Numbered(2);
    big["objects"] = clean_record::Json::array();
    for (int i = 0; i < 200; ++i)
        big["objects"].push_back({{"path", dir.File("some/object/" + std::to_string(i))}});
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string childFile, childError;
        clean_record::SaveRecord(folder, big, childFile, childError);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the writer was to die mid-record";

    const auto records = clean_record::ReadRecords(folder);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(1, records[0].record["n"]);
    size_t recordFiles = 0, leftovers = 0;
    for (const auto& entry : fs::directory_iterator(fs::u8path(folder))) {
        const std::string name = testing_support::Utf8(entry.path().filename());
        recordFiles += name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0;
        leftovers += name.find(".partial") != std::string::npos;
    }
    EXPECT_EQ(1u, recordFiles) << "every record file is a whole record";
    EXPECT_EQ(1u, leftovers) << "what the writer left is not named as a record";

    ASSERT_TRUE(clean_record::SaveRecord(folder, big, file, error)) << error;
    EXPECT_EQ(2u, clean_record::ReadRecords(folder).size());
}
#endif

TEST(CleanRecordFiles, TimesReadBackExactly)
{
    // A recent time with every digit used, the last step before 1970, and 1601's first.
    for (const int64_t fileTime : {int64_t{134099956941234567}, int64_t{116444736000000000} - 1, int64_t{1}}) {
        int64_t back = 0;
        const std::string text = clean_record::FileTimeText(fileTime);
        ASSERT_TRUE(clean_record::ParseFileTimeText(text, back)) << text;
        EXPECT_EQ(fileTime, back) << text;
    }
    EXPECT_EQ("1970-01-01T00:00:00.0000000Z", clean_record::FileTimeText(116444736000000000));
    int64_t ignored = 0;
    EXPECT_FALSE(clean_record::ParseFileTimeText("2026-12-08T01:28:14Z", ignored));
    EXPECT_FALSE(clean_record::ParseFileTimeText("2026-13-08T01:28:14.1234567Z", ignored));
}
