// Whatever links a cleaned tree holds, nothing outside it may change.
#include "CleanerTestSupport.h"
#include "ScannerTestSupport.h"
#include "TestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

using namespace cleaner_testing;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// Every entry under root (links described, never entered): relative path -> contents or kind.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& root)
{
    std::map<std::string, std::string> entries;
    for (auto it = std::filesystem::recursive_directory_iterator(root); it != std::filesystem::recursive_directory_iterator(); ++it) {
        const auto status = it->symlink_status();
        const std::string name = testing_support::Utf8(std::filesystem::relative(it->path(), root));
        if (std::filesystem::is_directory(status))
            entries[name] = "<dir>";
        else if (std::filesystem::is_symlink(status))
            entries[name] = "<link>";
        else
            entries[name] = ReadBytes(testing_support::Utf8(it->path())) + "|" +
                            std::to_string(static_cast<int>(status.permissions()));
    }
    return entries;
}

// Compared as the scanner writes paths: either separator, letter case ignored.
bool Under(std::string path, std::string root)
{
    for (std::string* text : {&path, &root})
        for (char& c : *text)
            c = c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/';
}

void FillOutside(const TempDir& outside)
{
    std::filesystem::create_directories(outside.Path() / "sub" / "deeper");
    std::filesystem::create_directories(outside.Path() / "emptysub");
    WriteBytes(outside.File("secret.tmp"), "secret");
    WriteBytes(outside.File("notes.log"), "notes");
    WriteBytes(outside.File("sub/old.bak"), "backup");
    WriteBytes(outside.File("sub/deeper/cache.dat"), std::string(3000, 'c'));
    WriteBytes(outside.File("file.tmp"), "linked file");
}

} // namespace

TEST(LinkSafety, ScanAndCleanOfEverythingLeavesTheOutsideIntact)
{
    for (const bool ignoreLinks : {false, true}) {
        TempDir target, outside;
        FillOutside(outside);
        std::filesystem::create_directories(target.Path() / "real" / "empty");
        WriteBytes(target.File("real/f.tmp"), "inside");
        WriteBytes(target.File("real/g.log"), "inside");
        ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), target.Path() / "out"));
        ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path() / "sub", target.Path() / "real" / "sublink"));
        // Under Wine a link to a file shows as the file itself: only where the handle leads tells.
        ASSERT_TRUE(routines_testing::MakeFileLink(outside.Path() / "file.tmp", target.Path() / "linked.tmp"));
#ifndef _WIN32
        // Under Wine a loop would trap the test's own clean-up, which walks into links.
        ASSERT_TRUE(routines_testing::MakeDirectoryLink(target.Path(), target.Path() / "real" / "loop"));
#endif
        const auto before = Snapshot(outside.Path());
        // The machine's own cache may hold links to anywhere (a Wine prefix's z: leads to /);
        // followed, they would make this scan a walk of the whole disk.
        TempDir cache;
        routines_testing::ScopedEnvironment cacheHome("XDG_CACHE_HOME", cache.Str());
#ifndef _WIN32
        // Nor the home folder: its documents and desktop are sources of the options too.
        TempDir home;
        routines_testing::ScopedEnvironment homeFolder("HOME", home.Str());
#endif

        scanner_testing::TScanSetup setup;
        for (int option = 0; option < CleanupOptionCount; ++option) {
#ifdef _WIN32
            // The Wine prefix's user folders lead to the Linux home and its drive links to /:
            // followed, they would make this a walk of the whole disk.
            if (!ignoreLinks && !TCleanupOptionRules::UsesTargets(option))
                continue;
#endif
            setup.options.push_back(option);
        }
        setup.targets = target.Str();
        setup.ignoreSymbolicLinks = ignoreLinks;
        setup.customFileMasks = "*";
        setup.customDirectoryMasks = "*";
        const auto scan = scanner_testing::RunScan(setup);
        ASSERT_EQ(1u, scan.notices.size());
        if (!ignoreLinks) {
            // The scan follows the links, so the clean is handed paths that lead outside.
            bool throughLink = false;
            for (const auto& item : scan.found)
                throughLink = throughLink || Under(item->GetPath(), target.File("out"));
            ASSERT_TRUE(throughLink);
        }

        TCleanRun run;
        run.list = scan.list;
        run.figures = scan.counters;
        run.targets = {target.Str()};
        // Everything found in the target is checked; system folders found by other options are left alone.
        for (int32_t i = 0; i < run.list->GetCount(); ++i)
            if (auto item = run.list->GetItem(i))
                item->SetChecked(Under(item->GetPath(), target.Str()));
        run.secureDelete = true;
        run.passes = 1;
        run.Clean();
        ASSERT_EQ(1u, run.notices.size());

        EXPECT_EQ(before, Snapshot(outside.Path())) << (ignoreLinks ? "links ignored" : "links followed");
        EXPECT_FALSE(std::filesystem::exists(target.Path() / "real" / "f.tmp"));
        EXPECT_FALSE(std::filesystem::exists(target.Path() / "real" / "g.log"));
        scanner_testing::RemoveDirectoryLink(target.Path() / "linked.tmp");
        scanner_testing::RemoveDirectoryLink(target.Path() / "out");
        scanner_testing::RemoveDirectoryLink(target.Path() / "real" / "sublink");
    }
}

TEST(LinkSafety, ObjectsThatBecameLinksOrChangedKindAreNeverFollowed)
{
    TempDir target, outside;
    FillOutside(outside);
    const auto before = Snapshot(outside.Path());
    std::filesystem::create_directories(target.Path() / "was-file");
    WriteBytes(target.File("was-file/keep"), "keep");
    WriteBytes(target.File("was-folder"), "keep");
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), target.Path() / "now-link.tmp"));
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), target.Path() / "folder-link"));
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), target.Path() / "through"));
#ifndef _WIN32
    std::filesystem::create_symlink(outside.Path() / "file.tmp", target.Path() / "file-link.tmp");
#endif

    TCleanRun run;
    run.secureDelete = true;
    run.targets = {target.Str()};
    run.Add(target.File("was-file"), 1, scSafe, 13);
    run.Add(target.File("was-folder"), 1, scSafe, 22);
    run.Add(target.File("now-link.tmp"), 1, scSafe, 13);
    run.Add(target.File("folder-link"), 1, scSafe, 22);
    run.Add(target.File("through") + std::string(1, platform::PathSeparator()) + "secret.tmp", 1, scSafe, 13);
    run.Add(target.File("through") + std::string(1, platform::PathSeparator()) + "sub", 1, scSafe, 22);
#ifndef _WIN32
    run.Add(target.File("file-link.tmp"), 1, scSafe, 13);
#endif
    run.Clean();

    EXPECT_EQ(before, Snapshot(outside.Path()));
    // A changed kind is skipped; a link goes as a link.
    EXPECT_EQ("keep", ReadBytes(target.File("was-file/keep")));
    EXPECT_EQ("keep", ReadBytes(target.File("was-folder")));
    std::vector<std::string> skipped = run.SkippedPaths();
    for (const char* link : {"now-link.tmp", "folder-link", "file-link.tmp"}) {
        // Wine refuses to remove a Unix link to a folder; such a link stays and is listed as skipped.
        const auto it = std::find(skipped.begin(), skipped.end(), target.File(link));
        if (std::filesystem::exists(std::filesystem::symlink_status(target.Path() / link))) {
            EXPECT_TRUE(it != skipped.end()) << link;
        }
        if (it != skipped.end())
            skipped.erase(it);
    }
    EXPECT_EQ((std::vector<std::string>{target.File("was-file"), target.File("was-folder"),
                                        run.list->GetItem(4)->GetPath(), run.list->GetItem(5)->GetPath()}),
              skipped);
#ifndef _WIN32
    for (const char* link : {"now-link.tmp", "folder-link", "file-link.tmp"})
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(target.Path() / link))) << link;
#endif
}

TEST(LinkSafety, ATargetChosenThroughALinkIsCleanedAndOnlyWhatLiesBelowItsSources)
{
    TempDir base, outside;
    FillOutside(outside);
    const auto before = Snapshot(outside.Path());
    std::filesystem::create_directories(base.Path() / "real" / "sub");
    WriteBytes(base.File("real/a.tmp"), "a");
    WriteBytes(base.File("real/sub/b.tmp"), "b");
    WriteBytes(base.File("elsewhere.tmp"), "keep");
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(base.Path() / "real", base.Path() / "lnk"));
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), base.Path() / "real" / "out"));
    const std::string chosen = base.File("lnk");

    scanner_testing::TScanSetup setup;
    setup.options = {21};
    setup.targets = chosen;
    setup.ignoreSymbolicLinks = false;
    setup.customFileMasks = "*";
    const auto scan = scanner_testing::RunScan(setup);
    ASSERT_EQ(1u, scan.notices.size());
    std::vector<std::string> throughOut;
    for (const auto& item : scan.found)
        if (Under(item->GetPath(), chosen + std::string(1, platform::PathSeparator()) + "out"))
            throughOut.push_back(item->GetPath());
#ifndef _WIN32
    ASSERT_FALSE(throughOut.empty());
#endif

    TCleanRun run;
    run.list = scan.list;
    run.figures = scan.counters;
    // Given as typed: with a trailing separator and, where names ignore letter case, in other letters.
    std::string given = chosen + std::string(1, platform::PathSeparator());
#ifdef _WIN32
    for (char& c : given)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
#endif
    run.targets = {given};
    // Under none of its option's folders: it cannot be told from an object reached through a link.
    run.Add(base.File("elsewhere.tmp"), 1, scSafe, 21);
    run.Clean();
    ASSERT_EQ(1u, run.notices.size());

    EXPECT_FALSE(std::filesystem::exists(base.Path() / "real" / "a.tmp"));
    EXPECT_FALSE(std::filesystem::exists(base.Path() / "real" / "sub" / "b.tmp"));
    EXPECT_EQ("keep", ReadBytes(base.File("elsewhere.tmp")));
    EXPECT_EQ(before, Snapshot(outside.Path()));
    throughOut.push_back(base.File("elsewhere.tmp"));
    std::vector<std::string> skipped = run.SkippedPaths();
    std::sort(throughOut.begin(), throughOut.end());
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(throughOut, skipped);
}
