// A tree changed under the cleaner's feet, by someone who wants it to delete or damage what lies
// outside: nothing but the objects the scan listed may be lost, changed or re-permissioned.
#include "CleanerTestSupport.h"
#include "ExchangeTestSupport.h"
#include "ScannerTestSupport.h"
#include "TestSupport.h"
#include "engine/uSecureRewrite.h"
#include "support/RoutinesTestHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sched.h>
#include <stdio.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace cleaner_testing;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// Contents and permissions of every file under root, links described, never entered.
std::map<std::string, std::string> Snapshot(const fs::path& root)
{
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const auto status = it->symlink_status();
        const std::string name = testing_support::Utf8(fs::relative(it->path(), root));
        if (fs::is_symlink(status))
            entries[name] = "<link>";
        else if (fs::is_directory(status))
            entries[name] = "<dir>";
        else
            entries[name] = ReadBytes(testing_support::Utf8(it->path())) + "|" +
                            std::to_string(static_cast<int>(status.permissions()));
    }
    return entries;
}

// The custom-files option over target, links ignored or followed, everything found checked.
TCleanRun ScanForClean(const std::string& target, const std::string& masks, bool ignoreLinks = true)
{
    scanner_testing::TScanSetup setup;
    setup.options = {21};
    setup.targets = target;
    setup.customFileMasks = masks;
    setup.ignoreSymbolicLinks = ignoreLinks;
    const auto scan = scanner_testing::RunScan(setup);
    TCleanRun run;
    run.list = scan.list;
    run.figures = scan.counters;
    run.targets = {target};
    return run;
}

} // namespace

// Behind the link lie other files of the same names, or further names of the very files scanned:
// those pass every check of the objects themselves, and only the target's own check refuses them.
TEST(HostileTrees, ATargetReplacedByALinkAfterTheScanIsNotCleaned)
{
    for (const bool sameFiles : {false, true}) {
        TempDir base, outside;
        fs::create_directories(base.Path() / "t");
        for (const char* name : {"a.zq1", "b.zq1"}) {
            WriteBytes(base.File(std::string("t/") + name), "scanned");
            if (!sameFiles)
                WriteBytes(outside.File(name), "outside");
        }
        TCleanRun run = ScanForClean(base.File("t"), "*.zq1");
        ASSERT_EQ(2, run.list->GetCount());

        fs::rename(base.Path() / "t", base.Path() / "t.old");
        if (sameFiles)
            for (const char* name : {"a.zq1", "b.zq1"})
                fs::create_hard_link(base.Path() / "t.old" / name, outside.Path() / name);
        ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), base.Path() / "t"));
        const auto before = Snapshot(outside.Path());
        run.Clean();

        ASSERT_EQ(1u, run.notices.size());
        EXPECT_EQ(before, Snapshot(outside.Path())) << sameFiles;
        EXPECT_EQ(2u, run.SkippedPaths().size());
        EXPECT_EQ("scanned", ReadBytes(base.File("t.old/a.zq1")));
        scanner_testing::RemoveDirectoryLink(base.Path() / "t");
    }
}

// The cleaner keeps the folders down to one object open for the next objects in them. Between two
// objects, a folder of the way they share (the target, an upper folder, or their own folder) is
// swapped for a link to an outside folder holding the same names: the second object is skipped as
// changed, even though the held folder still leads to it, and nothing outside is touched.
TEST(HostileTrees, AHeldFolderSwappedForALinkBetweenTwoObjectsIsNotReusedToReachThem)
{
    struct Case {
        const char* swapped;  // below the base folder; "t" is the target
        const char* first;    // the objects, below the target
        const char* second;
    };
    for (const Case& c : {Case{"t/up/in", "up/in/a.zq1", "up/in/b.zq1"}, Case{"t/up", "up/x/a.zq1", "up/y/b.zq1"},
                          Case{"t", "up/in/a.zq1", "up/in/b.zq1"}}) {
        TempDir base, outside;
        const fs::path swapped = base.Path() / c.swapped;
        for (const char* object : {c.first, c.second}) {
            fs::create_directories((base.Path() / "t" / object).parent_path());
            WriteBytes(testing_support::Utf8(base.Path() / "t" / object), "scanned");
            // The outside folder has the swapped folder's shape and names.
            const fs::path mirrored = outside.Path() / fs::relative(base.Path() / "t" / object, swapped);
            fs::create_directories(mirrored.parent_path());
            WriteBytes(testing_support::Utf8(mirrored), "outside");
        }
        TCleanRun run = ScanForClean(base.File("t"), "*.zq1");
        ASSERT_EQ(2, run.list->GetCount());
        const auto before = Snapshot(outside.Path());

        // Custom files are not safe, so each is asked about: the second question comes after the
        // first object went.
        ASSERT_NE(scSafe, run.list->GetItem(0)->GetSafety());
        run.confirmations = true;
        run.dispatch->answers = {caYes, caYes};
        run.dispatch->onQuestion = [&] {
            if (run.dispatch->questions.size() != 2)
                return;
            fs::rename(swapped, swapped.string() + ".old");
            ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), swapped));
        };
        run.Clean();
        scanner_testing::RemoveDirectoryLink(swapped);

        ASSERT_EQ(1u, run.notices.size());
        ASSERT_EQ(2u, run.dispatch->questions.size());
        EXPECT_EQ(before, Snapshot(outside.Path())) << c.swapped;
        EXPECT_EQ(std::vector<std::string>{run.dispatch->questions[1]}, run.SkippedPaths()) << c.swapped;
        ASSERT_EQ(1u, run.dispatch->skipReasons.size());
        EXPECT_EQ(srChanged, run.dispatch->skipReasons.begin()->second);
        size_t left = 0;
        for (const char* object : {c.first, c.second})
            left += fs::exists(fs::path(swapped.string() + ".old") / fs::relative(base.Path() / "t" / object, swapped));
        EXPECT_EQ(1u, left) << c.swapped;
    }
}

#ifndef _WIN32

namespace {

// Runs body in a child with a private mount namespace; its exit status is the test's verdict.
// 77 means the system offers no such namespace here.
int InPrivateMounts(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            _exit(77);
        _exit(body());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

// A process that keeps exchanging a scanned folder with a link to an outside folder of the same
// shape while the clean runs: every deletion must land inside, whichever state it meets.
TEST(HostileTrees, AFolderSwappedForALinkDuringTheCleanLeadsNowhereOutside)
{
    constexpr int kFiles = 1000;
    // Plain, secure, and to the Trash, which must then hold only objects from inside.
    for (const int mode : {0, 1, 2}) {
        const bool secure = mode == 1;
        TempDir target, outside, data;
        routines_testing::ScopedEnvironment home("XDG_DATA_HOME", data.Str());
        fs::create_directories(target.Path() / "victim");
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "f" + std::to_string(i) + ".zq1";
            WriteBytes(target.File("victim/" + name), "inside");
            WriteBytes(outside.File(name), "outside");
        }
        TCleanRun run = ScanForClean(target.Str(), "*.zq1");
        ASSERT_EQ(kFiles, run.list->GetCount());
        fs::create_directory_symlink(outside.Path(), target.Path() / "swap");
        const auto before = Snapshot(outside.Path());

        testing_support::TNameExchanger swapper({{target.File("victim"), target.File("swap")}});
        run.secureDelete = secure;
        run.recycle = mode == 2;
        run.Clean();
        const long swaps = swapper.Stop();

        ASSERT_EQ(1u, run.notices.size());
        EXPECT_GT(swaps, 100) << "the race never ran";
        EXPECT_EQ(before, Snapshot(outside.Path())) << mode;
        if (mode == 2) {
            size_t moved = 0;
            for (const auto& entry : fs::directory_iterator(data.Path() / "Trash" / "files")) {
                EXPECT_EQ("inside", ReadBytes(testing_support::Utf8(entry.path()))) << "moved from outside";
                ++moved;
            }
            EXPECT_EQ(run.dispatch->moved.size(), moved);
            EXPECT_EQ(moved, static_cast<size_t>(std::distance(fs::directory_iterator(data.Path() / "Trash" / "info"), {})));
        }
        size_t left = 0;
        for (const char* folder : {"victim", "swap"})
            if (fs::is_directory(fs::symlink_status(target.Path() / folder)))
                left = static_cast<size_t>(std::distance(fs::directory_iterator(target.Path() / folder), {}));
        EXPECT_LT(left, static_cast<size_t>(kFiles)) << "nothing was cleaned at all";
        EXPECT_EQ(left, run.SkippedPaths().size());
    }
}

// Someone exchanging the names of each listed file and an unlisted one beside it, over and over
// while the clean reaches that file: the listed file may go or stay, the unlisted one never goes.
TEST(HostileTrees, NamesExchangedDuringTheCleanNeverCostAnUnlistedFile)
{
    for (const bool secure : {false, true}) {
        const int pairs = secure ? 200 : 1500;
        TempDir target;
        TCleanRun run;
        run.targets = {target.Str()};
        run.secureDelete = secure;
        std::vector<std::pair<std::string, std::string>> names;
        for (int i = 0; i < pairs; ++i) {
            names.emplace_back(target.File("l" + std::to_string(i)), target.File("u" + std::to_string(i)));
            WriteBytes(names.back().first, "listed");
            WriteBytes(names.back().second, "unlisted");
            run.Add(names.back().first);
        }
        // The object in hand is the one after those already reported.
        std::atomic<int> next{0};
        run.dispatch->onStatus = [&](const std::string&) { ++next; };
        std::atomic<bool> done{false};
        std::atomic<long> exchanges{0};
        std::thread exchanger([&] {
            while (!done) {
                const int i = next;
                if (i < pairs && renameat2(AT_FDCWD, names[i].first.c_str(), AT_FDCWD, names[i].second.c_str(),
                                           RENAME_EXCHANGE) == 0)
                    ++exchanges;
            }
        });
        run.Clean();
        done = true;
        exchanger.join();

        ASSERT_EQ(1u, run.notices.size());
        EXPECT_GT(exchanges.load(), pairs) << "the race never ran";
        int unlisted = 0, strays = 0;
        for (const auto& entry : fs::directory_iterator(target.Path())) {
            unlisted += ReadBytes(testing_support::Utf8(entry.path())) == "unlisted";
            const std::string name = testing_support::Utf8(entry.path().filename());
            strays += name[0] != 'l' && name[0] != 'u';
        }
        EXPECT_EQ(pairs, unlisted) << (secure ? "secure: " : "plain: ") << pairs - unlisted << " unlisted files lost";
        EXPECT_EQ(0, strays) << "entries left under other names";
    }
}

TEST(HostileTrees, MountsBelowATargetAreNeverCleanedThrough)
{
    TempDir target, outside;
    fs::create_directories(target.Path() / "sub");
    fs::create_directories(target.Path() / "mnt");
    WriteBytes(target.File("sub/a.zq1"), "inside");
    WriteBytes(outside.File("a.zq1"), "outside");
    WriteBytes(outside.File("b.zq1"), "outside");
    const auto before = Snapshot(outside.Path());

    // Placed over a scanned folder after the scan.
    const int after = InPrivateMounts([&] {
        TCleanRun run = ScanForClean(target.Str(), "*.zq1");
        if (run.list->GetCount() != 1)
            return 2;
        if (mount(outside.Str().c_str(), target.File("sub").c_str(), nullptr, MS_BIND, nullptr) != 0)
            return 77;
        run.Clean();
        return Snapshot(outside.Path()) == before && run.SkippedPaths().size() == 1 ? 0 : 1;
    });
    if (after == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(0, after) << "a mount placed after the scan was cleaned through";

    // Present during a scan that follows links: neither listed nor cleaned.
    const int during = InPrivateMounts([&] {
        if (mount(outside.Str().c_str(), target.File("mnt").c_str(), nullptr, MS_BIND, nullptr) != 0)
            return 77;
        TCleanRun run = ScanForClean(target.Str(), "*.zq1", false);
        if (run.list->GetCount() != 1)
            return 3;  // the scan walked into the other file system
        run.Clean();
        return Snapshot(outside.Path()) == before && !fs::exists(target.Path() / "sub" / "a.zq1") ? 0 : 1;
    });
    EXPECT_EQ(0, during) << "files seen through a bind mount were cleaned";
}

// A target reached through a bind mount shares the trash's device but no rename crosses into it:
// its objects stay where they are, never copied and never deleted in their place.
TEST(HostileTrees, RecycleAcrossMountsLeavesTheObjectsInPlace)
{
    TempDir target, real, data;
    routines_testing::ScopedEnvironment home("XDG_DATA_HOME", data.Str());
    WriteBytes(real.File("a.zq1"), "stays");
    const int status = InPrivateMounts([&] {
        if (mount(real.Str().c_str(), target.Str().c_str(), nullptr, MS_BIND, nullptr) != 0)
            return 77;
        TCleanRun run = ScanForClean(target.Str(), "*.zq1");
        if (run.list->GetCount() != 1)
            return 2;
        run.recycle = true;
        run.Clean();
        const bool skipped = run.dispatch->skipReasons.size() == 1 && run.dispatch->skipReasons.at(0) == srNoBin &&
                             run.Lines().back() == target.File("a.zq1") + "  [the bin is on another file system]";
        return skipped && fs::is_empty(data.Path() / "Trash" / "files") && fs::is_empty(data.Path() / "Trash" / "info")
                   ? 0
                   : 1;
    });
    if (status == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(0, status);
    EXPECT_EQ("stays", ReadBytes(real.File("a.zq1")));
}

// On a file system other than the home trash's, objects go to the volume's own trash: .Trash/$uid
// under a real sticky .Trash, else .Trash-$uid made private; a .Trash that is a link is never used.
TEST(HostileTrees, RecycleOnAnotherFileSystemUsesTheVolumesOwnTrash)
{
    TempDir target, data, elsewhere;
    routines_testing::ScopedEnvironment home("XDG_DATA_HOME", data.Str());
    const std::string uid = std::to_string(geteuid());
    const int status = InPrivateMounts([&] {
        for (const std::string shared : {"none", "link", "sticky"}) {
            umount(target.Str().c_str());
            if (mount("tmpfs", target.Str().c_str(), "tmpfs", 0, nullptr) != 0)
                return 77;
            fs::create_directories(target.Path() / "sub");
            WriteBytes(target.File("sub/a.zq1"), "moved");
            if (shared == "link")
                fs::create_directory_symlink(elsewhere.Path(), target.Path() / ".Trash");
            if (shared == "sticky") {
                fs::create_directory(target.Path() / ".Trash");
                chmod(target.File(".Trash").c_str(), 01777);
            }
            TCleanRun run = ScanForClean(target.Str(), "*.zq1");
            run.recycle = true;
            run.Clean();
            const std::string trash = shared == "sticky" ? ".Trash/" + uid : ".Trash-" + uid;
            struct stat own {};
            if (stat(target.File(trash).c_str(), &own) != 0 || (own.st_mode & 0777) != 0700 ||
                ReadBytes(target.File(trash + "/files/a.zq1")) != "moved" || fs::exists(target.Path() / "sub" / "a.zq1") ||
                ReadBytes(target.File(trash + "/info/a.zq1.trashinfo")).find("\nPath=sub/a.zq1\n") == std::string::npos ||
                !fs::is_empty(elsewhere.Path()) || fs::exists(data.Path() / "Trash" / "files" / "a.zq1"))
                return shared == "none" ? 1 : shared == "link" ? 2 : 3;
        }
        return 0;
    });
    if (status == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(0, status) << "1: no .Trash, 2: .Trash a link, 3: a sticky .Trash";
}

TEST(HostileTrees, HardLinkedFilesLoseOnlyTheirNameAndAreNeverRewritten)
{
    for (const bool secure : {false, true}) {
        TempDir target, outside;
        WriteBytes(outside.File("shared.txt"), "shared data");
        WriteBytes(outside.File("locked.txt"), "locked data");
        fs::permissions(outside.Path() / "locked.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        fs::create_hard_link(outside.Path() / "shared.txt", target.Path() / "shared.zq1");
        fs::create_hard_link(outside.Path() / "locked.txt", target.Path() / "locked.zq1");
        WriteBytes(target.File("own.zq1"), "own");
        TCleanRun run = ScanForClean(target.Str(), "*.zq1");
        ASSERT_EQ(3, run.list->GetCount());
        const auto before = Snapshot(outside.Path());

        run.secureDelete = secure;
        run.Clean();

        EXPECT_EQ(before, Snapshot(outside.Path())) << (secure ? "secure" : "plain");
        EXPECT_FALSE(fs::exists(target.Path() / "own.zq1"));
        // With secure deletion a shared file is skipped like a read-only one; otherwise its name goes.
        EXPECT_EQ(secure, fs::exists(target.Path() / "shared.zq1"));
        EXPECT_EQ(secure, fs::exists(target.Path() / "locked.zq1"));
    }
}

// A sparse file far larger than its file system: the rewrite covers what is allocated and no more.
TEST(HostileTrees, SecureDeletionNeverGrowsASparseFile)
{
    TempDir place;
    const int status = InPrivateMounts([&] {
        if (mount("qs-test", place.Str().c_str(), "tmpfs", 0, "size=8m") != 0)
            return 77;
        const std::string path = place.File("big.zq1");
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0 || ftruncate(fd, int64_t{1} << 30) != 0 || pwrite(fd, "data", 4, 1 << 20) != 4)
            return 2;
        close(fd);
        platform::FileHandle file(path, platform::FileAccess::WriteExisting);
        TSecureRewriteFile rewrite(false);
        if (!rewrite.Rewrite(file, 2))
            return 3;
        file.Close();
        struct stat st {};
        if (stat(path.c_str(), &st) != 0 || st.st_size != (int64_t{1} << 30) || st.st_blocks * 512 > (1 << 20))
            return 4;
        char bytes[4] = {};
        const int in = open(path.c_str(), O_RDONLY);
        const bool rewritten = pread(in, bytes, 4, 1 << 20) == 4 && std::string(bytes, 4) == std::string(4, '\xFF');
        close(in);
        return rewritten ? 0 : 5;
    });
    if (status == 77)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(0, status) << "the rewrite grew the file or missed its data";
}

// A file replaced after the scan, by another file or by a FIFO, is not the object the user checked;
// the clean skips it as changed without waiting on the FIFO, whether it rewrites files or not.
TEST(HostileTrees, ObjectsReplacedAfterTheScanAreSkipped)
{
    for (const bool secure : {true, false}) {
        TempDir target;
        WriteBytes(target.File("replaced.zq1"), "scanned");
        WriteBytes(target.File("fifo.zq1"), "scanned");
        TCleanRun run = ScanForClean(target.Str(), "*.zq1");
        ASSERT_EQ(2, run.list->GetCount());
        WriteBytes(target.File("replacement"), "written since");
        fs::rename(target.Path() / "replacement", target.Path() / "replaced.zq1");
        fs::remove(target.Path() / "fifo.zq1");
        ASSERT_EQ(0, mkfifo(target.File("fifo.zq1").c_str(), 0644));

        run.secureDelete = secure;
        run.Clean();

        ASSERT_EQ(1u, run.notices.size());
        EXPECT_EQ("written since", ReadBytes(target.File("replaced.zq1"))) << secure;
        EXPECT_TRUE(fs::is_fifo(target.Path() / "fifo.zq1")) << secure;
        EXPECT_EQ(2u, run.SkippedPaths().size()) << secure;
        EXPECT_EQ((std::map<int32_t, TSkipReason>{{0, srChanged}, {1, srChanged}}), run.dispatch->skipReasons) << secure;
    }
}
#endif
