#include "RoutinesTestHelpers.h"
#include "TestSupport.h"

#include "platform/PlatformDirectory.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#ifndef _WIN32
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using routines_testing::Sep;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::string Join(const std::string& a, const std::string& b) { return a + Sep() + b; }

} // namespace

TEST(RoutinesFiles, SizesAreSixtyFourBitAndCountLinksAsThemselves)
{
    TempDir tmp;
    const std::string big = tmp.File("big.bin");
    WriteBytes(big, "");
    fs::resize_file(testing_support::PathOf(big), 5000000000ULL);  // sparse
    EXPECT_EQ(TFileRoutines::GetFileSizeBytes(big), 5000000000LL);
    EXPECT_EQ(TFileRoutines::GetFileSizeBytes(tmp.File("missing")), -1);

    fs::create_directories(tmp.Path() / "sub" / ".hidden");
    WriteBytes(tmp.File("sub/a.txt"), "12345");
    WriteBytes(tmp.File("sub/.hidden/b.txt"), "123");
    EXPECT_EQ(TDirectoryRoutines::GetDirectorySize(tmp.Str(), false), 5000000000LL);
    EXPECT_EQ(TDirectoryRoutines::GetDirectorySize(tmp.Str(), true), 5000000008LL);
    EXPECT_EQ(TDirectoryRoutines::GetDirectorySize(tmp.File("nothing"), true), 0);

    // A link into a folder outside is listed but neither entered nor sized as its target.
    TempDir outside;
    WriteBytes(outside.File("payload.bin"), std::string(100000, 'x'));
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), tmp.Path() / "sub" / "link"));
    EXPECT_LT(TDirectoryRoutines::GetDirectorySize(tmp.File("sub"), true), 1000);
    EXPECT_TRUE(TFileRoutines::IsSymbolicLink(tmp.File("sub/link")));
    EXPECT_FALSE(TFileRoutines::IsSymbolicLink(tmp.File("sub/a.txt")));
    EXPECT_FALSE(TFileRoutines::IsSymbolicLink(tmp.File("missing")));
    TStringList subdirectories = TDirectoryRoutines::ListSubdirectories(tmp.File("sub"));
    std::sort(subdirectories.begin(), subdirectories.end());
    EXPECT_EQ(subdirectories, (TStringList{Join(tmp.File("sub"), ".hidden"), Join(tmp.File("sub"), "link")}));
    EXPECT_TRUE(TDirectoryRoutines::ListSubdirectories(tmp.File("nothing")).empty());
#ifndef _WIN32
    // Under Wine a link to a file looks like the file itself; here it is a link.
    fs::create_symlink(outside.Path() / "payload.bin", tmp.Path() / "file-link");
    EXPECT_TRUE(TFileRoutines::IsSymbolicLink(tmp.File("file-link")));
    EXPECT_LT(TFileRoutines::GetFileSizeBytes(tmp.File("file-link")), 1000);
#endif
}

TEST(RoutinesFiles, ExpandLongPathSpellsNamesAsTheirFoldersListThem)
{
    TempDir tmp;
    fs::create_directories(tmp.Path() / "Mixed Case Folder" / "Inner.Folder");
    WriteBytes(tmp.File("Mixed Case Folder/Inner.Folder/File Name.txt"), "x");
    const std::string folder = Join(Join(tmp.Str(), "Mixed Case Folder"), "Inner.Folder");
    const std::string file = Join(folder, "File Name.txt");
    const std::string listed = TDirectoryRoutines::ExpandLongPath(file);
    EXPECT_EQ(TDirectoryRoutines::ExpandLongPath(folder), listed.substr(0, listed.size() - 14));
    const std::string missing = Join(folder, "No Such File");
    EXPECT_EQ(missing, TDirectoryRoutines::ExpandLongPath(missing));
#ifdef _WIN32
    std::string upper = file, lower = file;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ("\\Mixed Case Folder\\Inner.Folder\\File Name.txt", listed.substr(listed.size() - 45));
    // Asked again in other letter case, and twice so the folders come from what was kept.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(listed, TDirectoryRoutines::ExpandLongPath(upper));
        EXPECT_EQ(listed, TDirectoryRoutines::ExpandLongPath(lower));
    }
    const std::string lowerFolder = lower.substr(0, lower.size() - 14);
    EXPECT_EQ(listed.substr(0, listed.size() - 14), TDirectoryRoutines::ExpandLongPath(lowerFolder));
    EXPECT_EQ(listed.substr(0, listed.size() - 13), TDirectoryRoutines::ExpandLongPath(lowerFolder + "\\"));
    const std::string missingLower = lowerFolder + "\\no such file";
    EXPECT_EQ(missingLower, TDirectoryRoutines::ExpandLongPath(missingLower));
#else
    // Names keep their letter case here: another spelling is another, missing, path.
    EXPECT_EQ(file, listed);
    const std::string other = Join(Join(Join(tmp.Str(), "MIXED CASE FOLDER"), "Inner.Folder"), "File Name.txt");
    EXPECT_EQ(other, TDirectoryRoutines::ExpandLongPath(other));
#endif
}

TEST(RoutinesFiles, DeleteTreeEmptiesOnlyWhatItMay)
{
    TempDir tmp;
    const std::string root = tmp.Str();
    fs::create_directories(tmp.Path() / "a" / "b");
    fs::create_directories(tmp.Path() / "empty" / "deeper");
    WriteBytes(tmp.File("top.txt"), "1");
    WriteBytes(tmp.File("a/b/deep.txt"), "2");
    WriteBytes(tmp.File("a/.keep"), "3");
    WriteBytes(tmp.File("ro.txt"), "4");
    fs::permissions(testing_support::PathOf(tmp.File("ro.txt")), fs::perms::owner_read);

    // Removing empty folders only: files stay, and so do the folders that hold them.
    TDirectoryRoutines::DeleteTree(root, root + Sep(), false, true);
    EXPECT_FALSE(fs::exists(tmp.Path() / "empty"));
    EXPECT_TRUE(fs::exists(tmp.Path() / "a" / "b" / "deep.txt"));
    EXPECT_TRUE(fs::exists(tmp.Path() / "top.txt"));

    // Emptying: everything visible goes, the root and hidden entries stay.
    TDirectoryRoutines::DeleteTree(root, root + Sep(), true, true);
    EXPECT_TRUE(fs::exists(tmp.Path()));
    EXPECT_FALSE(fs::exists(tmp.Path() / "top.txt"));
    EXPECT_FALSE(fs::exists(tmp.Path() / "ro.txt"));
    EXPECT_FALSE(fs::exists(tmp.Path() / "a" / "b"));
    EXPECT_TRUE(fs::exists(tmp.Path() / "a" / ".keep"));
    EXPECT_FALSE(TDirectoryRoutines::DeleteTree(tmp.File("missing"), root, true, true));

    // Only hidden entries: nothing is touched and the result is false.
    TempDir hidden;
    WriteBytes(hidden.File(".one"), "1");
    WriteBytes(hidden.File(".two"), "2");
    EXPECT_FALSE(TDirectoryRoutines::DeleteTree(hidden.Str(), hidden.Str() + Sep(), true, true));
    EXPECT_TRUE(fs::exists(hidden.Path() / ".one"));
    EXPECT_TRUE(fs::exists(hidden.Path() / ".two"));
}

TEST(RoutinesFiles, DeleteTreeNeverReachesThroughALink)
{
    TempDir outside;
    fs::create_directories(outside.Path() / "nested");
    for (const char* name : {"keep1.txt", "keep2.txt", "nested/keep3.txt"})
        WriteBytes(outside.File(name), "precious");

    TempDir tree;
    fs::create_directories(tree.Path() / "sub");
    WriteBytes(tree.File("sub/junk.tmp"), "x");
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), tree.Path() / "sub" / "link"));
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), tree.Path() / "top-link"));

    TDirectoryRoutines::DeleteTree(tree.Str(), tree.Str() + Sep(), true, true);
    // Called on the link itself, nothing happens either.
    EXPECT_FALSE(TDirectoryRoutines::DeleteTree(tree.File("top-link"), "", true, true));

    for (const char* name : {"keep1.txt", "keep2.txt", "nested/keep3.txt"})
        EXPECT_TRUE(fs::exists(outside.Path() / name)) << name;
    EXPECT_FALSE(fs::exists(tree.Path() / "sub" / "junk.tmp"));
#ifndef _WIN32
    // Wine refuses to remove a Unix link to a folder; the link then stays, its target untouched.
    EXPECT_FALSE(TFileRoutines::IsSymbolicLink(tree.File("sub/link")));
#endif

    // A folder listed as a folder, then swapped for a link to itself moved outside, just before it
    // is entered: only the opening can still tell, and it must refuse.
    TempDir swapTree;
    fs::create_directories(swapTree.Path() / "swapped");
    WriteBytes(swapTree.File("swapped/inside.txt"), "precious");
    const fs::path away = outside.Path() / "moved-away";
    bool swapped = false;
    TTreeDeletion rules;
    rules.mayDelete = [&](const platform::HeldEntry& entry) {
        if (entry.name == "swapped" && !swapped) {
            fs::rename(swapTree.Path() / "swapped", away);
            swapped = routines_testing::MakeDirectoryLink(away, swapTree.Path() / "swapped");
        }
        return true;
    };
    TDirectoryRoutines::DeleteTree(swapTree.Str(), swapTree.Str() + Sep(), true, true, rules);
    ASSERT_TRUE(swapped);
    EXPECT_TRUE(fs::exists(away / "inside.txt"));
}

TEST(RoutinesFiles, EmptyDirectoriesAndDates)
{
    TempDir tmp;
    fs::create_directories(tmp.Path() / "empty");
    fs::create_directories(tmp.Path() / "full");
    WriteBytes(tmp.File("full/.x"), "");
    EXPECT_TRUE(TDirectoryRoutines::IsEmptyDirectory(tmp.File("empty")));
    EXPECT_FALSE(TDirectoryRoutines::IsEmptyDirectory(tmp.File("full")));
    EXPECT_FALSE(TDirectoryRoutines::IsEmptyDirectory(tmp.File("missing")));
    EXPECT_FALSE(TDirectoryRoutines::IsEmptyDirectory(tmp.File("full/.x")));

    const int64_t date = TDirectoryRoutines::GetDirectoryDate(tmp.File("empty"));
    ASSERT_GT(date, 0);
    const TDateTimeParts now = TTimeRoutines::DecodeDateTime(TTimeRoutines::Now());
    EXPECT_EQ(((date >> 25) & 0x7F) + 1980, now.year);
    EXPECT_EQ((date >> 21) & 0xF, now.month);
    EXPECT_EQ(TDirectoryRoutines::GetDirectoryDate(tmp.File("full/.x")), -1);
    EXPECT_EQ(TDirectoryRoutines::GetDirectoryDate(tmp.File("missing")), -1);

    // 2001-01-01 00:00 UTC is within a day of its local form anywhere.
    const TDateTime local = TFileRoutines::FileTimeToLocalDateTime(126227808000000000LL);
    EXPECT_NEAR(local, TTimeRoutines::EncodeDateTime({2001, 1, 1, 0, 0, 0, 0}), 1.0);
    EXPECT_THROW(TFileRoutines::FileTimeToLocalDateTime(-1), EOSError);

    EXPECT_TRUE(TDirectoryRoutines::IsDriveRoot("C:"));
    EXPECT_TRUE(TDirectoryRoutines::IsDriveRoot("C:\\"));
    EXPECT_FALSE(TDirectoryRoutines::IsDriveRoot("C:\\x"));
    EXPECT_FALSE(TDirectoryRoutines::AllDirectoriesExist({}));
    EXPECT_TRUE(TDirectoryRoutines::AllDirectoriesExist({tmp.File("empty"), tmp.File("full")}));
    EXPECT_FALSE(TDirectoryRoutines::AllDirectoriesExist({tmp.File("empty"), tmp.File("missing")}));
}

#ifndef _WIN32
TEST(RoutinesFiles, EmptyDirectoryWhereNothingCanBeCreatedIsNotEmpty)
{
    TempDir tmp;
    const std::string locked = tmp.File("locked");
    fs::create_directories(testing_support::PathOf(locked));
    // Root writes anywhere; an immutable folder refuses even root.
    if (std::system(("chattr +i '" + locked + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "this file system cannot mark a folder immutable";
    const bool empty = TDirectoryRoutines::IsEmptyDirectory(locked);
    std::system(("chattr -i '" + locked + "'").c_str());
    EXPECT_FALSE(empty);
}

// Another file system mounted inside a tree is like a mounted folder on Windows: never entered.
TEST(RoutinesFiles, MountPointsInsideATreeAreNeitherSizedNorEmptied)
{
    TempDir outside;
    WriteBytes(outside.File("keep.txt"), "precious");
    TempDir tree;
    fs::create_directories(tree.Path() / "mnt");
    WriteBytes(tree.File("own.txt"), "12345");
    const pid_t child = fork();
    if (child == 0) {
        // A private mount namespace, so the bind mount never shows outside this child.
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount(outside.Str().c_str(), tree.File("mnt").c_str(), nullptr, MS_BIND, nullptr) != 0)
            _exit(77);
        const bool sizedAlone = TDirectoryRoutines::GetDirectorySize(tree.Str(), true) == 5;
        TDirectoryRoutines::DeleteTree(tree.Str(), tree.Str() + Sep(), true, true);
        _exit(sizedAlone ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the mounted folder was sized";
    EXPECT_TRUE(fs::exists(outside.Path() / "keep.txt"));
    EXPECT_FALSE(fs::exists(tree.Path() / "own.txt"));
}

// A folder without write permission keeps its entries from everyone but root; the tree is still
// emptied as Windows would, where a folder's read-only bit protects nothing inside it.
TEST(RoutinesFiles, DeleteTreeEmptiesReadOnlyFoldersForAnOrdinaryUser)
{
    TempDir tree;
    fs::create_directories(tree.Path() / "ro");
    WriteBytes(tree.File("ro/f.txt"), "x");
    fs::permissions(tree.Path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    chown(tree.Str().c_str(), 65534, 65534);
    chown(tree.File("ro").c_str(), 65534, 65534);
    chown(tree.File("ro/f.txt").c_str(), 65534, 65534);
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(77);
        _exit(TDirectoryRoutines::DeleteTree(tree.Str(), tree.Str() + Sep(), true, true) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "cannot act as an ordinary user here";
    EXPECT_FALSE(fs::exists(tree.Path() / "ro"));
}
#endif

// Stop must end a walk of any size at once: what is left is neither counted nor deleted.
TEST(RoutinesFiles, SizingAndDeletingEndAtAStopRequest)
{
    TempDir tree;
    for (const char* folder : {"a", "b", "c"}) {
        fs::create_directories(tree.Path() / folder);
        WriteBytes(tree.File(std::string(folder) + "/f.txt"), "12345");
    }
    int asked = 0;
    const auto stopAfterOne = [&asked] { return ++asked > 1; };
    EXPECT_EQ(5, TDirectoryRoutines::GetDirectorySize(tree.Str(), true, stopAfterOne));

    asked = 0;
    TTreeDeletion rules;
    rules.stopRequested = [&asked] { return ++asked > 2; };  // into the first folder, its file
    TDirectoryRoutines::DeleteTree(tree.Str(), tree.Str() + Sep(), true, true, rules);
    int left = 0;
    for (const char* folder : {"a", "b", "c"})
        left += fs::exists(tree.Path() / folder / "f.txt") ? 1 : 0;
    EXPECT_EQ(2, left);
}

#ifdef _WIN32
// A path may name a pipe, where a read would wait for the other end for ever.
TEST(RoutinesFiles, PipesNeverOpenAsFiles)
{
    const std::string name = "\\\\.\\pipe\\qs-test-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0,
                                     nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    platform::FileHandle file(name, platform::FileAccess::ReadShared);
    EXPECT_FALSE(file.IsOpen());
    CloseHandle(server);
}
#endif

#ifndef _WIN32
// Write permission given to a folder only to delete inside it is taken back when it stays.
TEST(RoutinesFiles, AFolderLeftInPlaceKeepsItsMode)
{
    TempDir tree;
    fs::create_directories(tree.Path() / "ro");
    WriteBytes(tree.File("ro/.keep"), "hidden entries are not deleted");
    WriteBytes(tree.File("ro/gone.txt"), "x");
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec;
    fs::permissions(tree.Path() / "ro", readOnly);
    TDirectoryRoutines::DeleteTree(tree.Str(), tree.Str() + Sep(), true, true);
    EXPECT_FALSE(fs::exists(tree.Path() / "ro" / "gone.txt"));
    ASSERT_TRUE(fs::exists(tree.Path() / "ro"));
    EXPECT_EQ(readOnly, fs::status(tree.Path() / "ro").permissions() & fs::perms::all);
    fs::permissions(tree.Path() / "ro", fs::perms::owner_all);
}
#endif
