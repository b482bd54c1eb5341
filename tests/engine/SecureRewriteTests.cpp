#include "TestSupport.h"

#include "engine/uSecureRewrite.h"
#include "platform/PlatformSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#ifdef _WIN32
#include "platform/win32/Win32Handles.h"

#include <windows.h>
#else
#include <sys/stat.h>
#endif

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(SecureRewrite, BufferSizeFollowsTheFileSize)
{
    EXPECT_EQ(32768, TSecureRewriteFile::BufferSizeFor(1));
    EXPECT_EQ(32768, TSecureRewriteFile::BufferSizeFor(1048576));
    EXPECT_EQ(65536, TSecureRewriteFile::BufferSizeFor(1048577));
    EXPECT_EQ(65536, TSecureRewriteFile::BufferSizeFor(10485760));
    EXPECT_EQ(131072, TSecureRewriteFile::BufferSizeFor(10485761));
    EXPECT_EQ(131072, TSecureRewriteFile::BufferSizeFor(104857600));
    EXPECT_EQ(262144, TSecureRewriteFile::BufferSizeFor(104857601));
}

TEST(SecureRewrite, FillsWholeFileWithOnesAndKeepsItsLength)
{
    TempDir dir;
    WriteBytes(dir.File("one"), "x");
    EXPECT_TRUE(TSecureRewriteFile(false).Rewrite(dir.File("one"), 3));
    EXPECT_EQ("\xFF", ReadBytes(dir.File("one")));

    // 100,000 bytes take three full 32 KiB chunks and a last one of 1,696 bytes.
    WriteBytes(dir.File("odd"), std::string(100000, 'a'));
    EXPECT_TRUE(TSecureRewriteFile(false).Rewrite(dir.File("odd"), 2));
    EXPECT_EQ(std::string(100000, '\xFF'), ReadBytes(dir.File("odd")));

    WriteBytes(dir.File("big"), std::string(1048577, 'b'));
    EXPECT_TRUE(TSecureRewriteFile(false).Rewrite(dir.File("big"), 1));
    EXPECT_EQ(std::string(1048577, '\xFF'), ReadBytes(dir.File("big")));

    WriteBytes(dir.File("kept"), "secret");
    EXPECT_TRUE(TSecureRewriteFile(false).Rewrite(dir.File("kept"), 0)) << "no pass writes nothing but succeeds";
    EXPECT_EQ("secret", ReadBytes(dir.File("kept")));
}

TEST(SecureRewrite, AStopEndsTheRewriteUnfinished)
{
    TempDir dir;
    const std::string original(200000, 'a');
    WriteBytes(dir.File("big"), original);
    TSecureRewriteFile rewrite(false);
    int writes = 0;
    rewrite.SetStopRequest([&writes] { return ++writes > 1; });
    EXPECT_FALSE(rewrite.Rewrite(dir.File("big"), 3));
    const std::string after = ReadBytes(dir.File("big"));
    EXPECT_EQ(original.size(), after.size());
    EXPECT_EQ(original.substr(100000), after.substr(100000));
}

TEST(SecureRewrite, RefusesEmptyMissingReadOnlyAndLinkedFiles)
{
    TempDir dir;
    WriteBytes(dir.File("empty"), "");
    EXPECT_FALSE(TSecureRewriteFile(false).Rewrite(dir.File("empty"), 1));
    EXPECT_FALSE(TSecureRewriteFile(false).Rewrite(dir.File("missing"), 1));
    EXPECT_FALSE(TSecureRewriteFile(false).Rewrite(dir.Str(), 1));

    WriteBytes(dir.File("readonly"), "keep me");
    std::filesystem::permissions(dir.Path() / "readonly", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read |
                                                             std::filesystem::perms::others_read);
    EXPECT_FALSE(TSecureRewriteFile(false).Rewrite(dir.File("readonly"), 1));
    EXPECT_EQ("keep me", ReadBytes(dir.File("readonly")));

#ifndef _WIN32
    // Overwriting through a link would destroy a file the user never chose.
    WriteBytes(dir.File("target"), "outside");
    std::filesystem::create_symlink(dir.Path() / "target", dir.Path() / "link");
    EXPECT_FALSE(TSecureRewriteFile(false).Rewrite(dir.File("link"), 1));
    EXPECT_EQ("outside", ReadBytes(dir.File("target")));
#endif
}

namespace {
// Bytes the file holds on disk: the Unix blocks (what Wine reports too), or Windows' allocation.
int64_t AllocatedBytes(const std::string& path)
{
#ifdef _WIN32
    HANDLE file = CreateFileW(std::filesystem::u8path(path).wstring().c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    int64_t allocated = -1;
    if (file != INVALID_HANDLE_VALUE && !platform::AllocationSizeOf(file, allocated))
        allocated = -1;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return allocated;
#else
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? static_cast<int64_t>(status.st_blocks) * 512 : -1;
#endif
}
} // namespace

// Only the parts holding data are rewritten: a sparse file never grows on disk, and its holes
// read back as zeros. Wine marks no file sparse and cannot tell its allocated ranges.
TEST(SecureRewrite, ASparseFileIsRewrittenOnlyWhereItHoldsData)
{
    TempDir dir;
    constexpr int64_t kSize = 16 << 20, kAt = 1 << 20, kBlock = 4096;
    const std::string path = dir.File("sparse");
    {
        std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
        out.seekp(kAt);
        out << std::string(kBlock, 'x');
    }
    std::filesystem::resize_file(std::filesystem::u8path(path), kSize);
    const int64_t before = AllocatedBytes(path);
    ASSERT_GT(before, 0);
    if (before >= kSize / 2)
        GTEST_SKIP() << "this file system keeps no holes";

    ASSERT_TRUE(TSecureRewriteFile(false).Rewrite(path, 2));
    EXPECT_LE(AllocatedBytes(path), before);
    const std::string after = ReadBytes(path);
    ASSERT_EQ(static_cast<size_t>(kSize), after.size());
    EXPECT_EQ(std::string(kBlock, '\xFF'), after.substr(kAt, kBlock));
    EXPECT_EQ(std::string::npos, after.find_first_not_of('\0', kAt + kBlock));
    EXPECT_EQ(std::string::npos, after.substr(0, kAt).find_first_not_of('\0'));
}

TEST(SecureRewrite, RandomPatternRepeatsPerBufferAndContinuesAcrossPasses)
{
    TempDir dir;
    WriteBytes(dir.File("r"), std::string(70000, '\0'));
    ASSERT_TRUE(TSecureRewriteFile(true).Rewrite(dir.File("r"), 1));
    const std::string once = ReadBytes(dir.File("r"));
    ASSERT_EQ(70000u, once.size());
    EXPECT_EQ(once.substr(0, 32768), once.substr(32768, 32768));
    EXPECT_EQ(once.substr(0, 70000 - 65536), once.substr(65536));
    EXPECT_NE(std::string(32768, once[0]), once.substr(0, 32768));

    // The generator's next values never restart: a second rewrite gives other bytes.
    ASSERT_TRUE(TSecureRewriteFile(true).Rewrite(dir.File("r"), 1));
    EXPECT_NE(once, ReadBytes(dir.File("r")));
}

namespace {
const char* const kChildFileVariable = "QS_REWRITE_CHILD_FILE";

void SetVariable(const char* name, const std::string& value)
{
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}
} // namespace

// Runs only in the child processes started below (disabled otherwise): the first rewrite of a run.
TEST(SecureRewriteChild, DISABLED_FirstRandomRewriteOfARun)
{
    const char* file = std::getenv(kChildFileVariable);
    if (!file || !*file)
        GTEST_SKIP() << "only meaningful in a child run";
    ASSERT_TRUE(TSecureRewriteFile(true).Rewrite(file, 2));
}

TEST(SecureRewrite, TwoRunsOverwriteWithIdenticalRandomBytes)
{
    TempDir dir;
    std::string results[2];
    for (std::string& result : results) {
        WriteBytes(dir.File("run"), std::string(40000, 'z'));
        SetVariable(kChildFileVariable, dir.File("run"));
        const std::string command = "\"" + platform::ExecutablePath() +
                                    "\" --gtest_also_run_disabled_tests --gtest_filter=SecureRewriteChild.* > " + (dir.File("log")) + " 2>&1";
        ASSERT_EQ(0, std::system(command.c_str())) << ReadBytes(dir.File("log"));
        result = ReadBytes(dir.File("run"));
    }
    SetVariable(kChildFileVariable, "");
    EXPECT_EQ(results[0], results[1]);

    // The second pass of a fresh run continues the sequence that starts at state 0.
    uint32_t state = 0;
    std::string expected(32768, '\0');
    for (int pass = 0; pass < 2; ++pass)
        for (char& c : expected) {
            state = state * 134775813u + 1u;
            c = static_cast<char>(state >> 24);
        }
    EXPECT_EQ(expected, results[0].substr(0, 32768));
    EXPECT_EQ(expected.substr(0, 40000 - 32768), results[0].substr(32768));
}
