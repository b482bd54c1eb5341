// Folders held open: a child is entered, deleted or rewritten only as the object it was found to
// be, and never through a link to something outside.
#include "ExchangeTestSupport.h"
#include "TestSupport.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformHeldDirectory.h"
#include "support/RoutinesTestHelpers.h"
#include "support/VelaRoutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#ifndef _WIN32
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using platform::DirectoryHandle;
using platform::FileIdentity;
using platform::HeldEntry;
using platform::HeldKind;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

FileIdentity OwnIdentity(const std::string& path)
{
    FileIdentity identity;
    EXPECT_TRUE(platform::QueryOwnIdentity(path, identity)) << path;
    return identity;
}

// The held root, with: plain, sub/inner, shared1 = shared2 (one file), readonly, a FIFO, and
// Linux links filelink -> outside/data.txt and dirlink -> outside/dir (empty).
class HeldDirectory : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(root.File("plain"), "plain");
        fs::create_directories(root.Path() / "sub");
        WriteBytes(root.File("sub/inner"), "");
        WriteBytes(root.File("shared1"), "shared");
        fs::create_hard_link(root.Path() / "shared1", root.Path() / "shared2");
        WriteBytes(root.File("readonly"), "ro");
        MakeReadOnly("readonly");
        WriteBytes(outside.File("data.txt"), "data");
        fs::create_directories(outside.Path() / "dir");
        MakeOnUnixSide("filelink", outside.Path() / "data.txt");
        MakeOnUnixSide("dirlink", outside.Path() / "dir");
        MakeOnUnixSide("fifo");
        folder = DirectoryHandle::Open(root.Str());
        ASSERT_TRUE(folder.IsOpen());
    }

    void TearDown() override
    {
        // Wine's clean-up of the scratch folders would follow a link and delete its target, spin
        // on a FIFO, and fail on a read-only file.
        for (const auto& path : unixMade_)
            RemoveFromUnixSide(path);
        for (const auto& name : readOnly_)
            platform::SetAttributesAt(root.File(name), 0);
    }

    // A Linux symbolic link to target, or a FIFO when there is none: Wine can make neither, and
    // shows such a link as its target (a folder link with the reparse bit).
    void MakeOnUnixSide(const std::string& name, const fs::path& target = fs::path())
    {
        unixMade_.push_back(root.Path() / name);
#ifdef _WIN32
        const std::wstring made = UnixName(root.Path() / name);
        ASSERT_TRUE(target.empty() ? routines_testing::RunUnixProgram(L"mkfifo", {made}) : routines_testing::RunUnixProgram(L"ln", {L"-s", UnixName(target), made}));
        for (int i = 0; i < 500 && !Listed(name); ++i)
            Sleep(10);
#else
        ASSERT_EQ(0, target.empty() ? mkfifo(root.File(name).c_str(), 0600) : symlink(target.c_str(), root.File(name).c_str()));
#endif
        ASSERT_TRUE(Listed(name)) << name;
    }

    void MakeReadOnly(const std::string& name)
    {
        ASSERT_TRUE(platform::SetAttributesAt(root.File(name), platform::kAttrReadOnly));
        readOnly_.push_back(name);
    }

    bool Exists(const std::string& name) const
    {
        std::error_code ignored;
        return fs::exists(fs::symlink_status(root.Path() / name, ignored));
    }

    // By its exact name, as the held root lists it (Wine's std::filesystem sees no FIFO).
    bool Listed(const std::string& name) const
    {
        std::vector<HeldEntry> entries;
        DirectoryHandle::Open(root.Str()).List(entries);
        return std::any_of(entries.begin(), entries.end(), [&](const HeldEntry& entry) { return entry.name == name; });
    }

    HeldEntry Described(const std::string& name) const
    {
        HeldEntry entry;
        EXPECT_TRUE(folder.Describe(name, entry)) << name;
        return entry;
    }

    TempDir root, outside;
    DirectoryHandle folder;

private:
    void RemoveFromUnixSide(const fs::path& path)
    {
#ifdef _WIN32
        if (!routines_testing::RunUnixProgram(L"rm", {UnixName(path)}))
            return;
        // Nothing to wait on but the result.
        for (int i = 0; i < 500 && Listed(testing_support::Utf8(path.filename())); ++i)
            Sleep(10);
#else
        std::error_code ignored;
        fs::remove(path, ignored);
#endif
    }

#ifdef _WIN32
    // Only the folder is resolved: Wine would take "name" for an existing "Name".
    static std::wstring UnixName(const fs::path& path)
    {
        const std::string folder = routines_testing::UnixPathOf(path.parent_path());
        return folder.empty() ? std::wstring() : fs::u8path(folder).wstring() + L"/" + path.filename().wstring();
    }

#endif

    std::vector<fs::path> unixMade_;
    std::vector<std::string> readOnly_;
};

} // namespace

TEST_F(HeldDirectory, ListsAndDescribesEachChildAsItself)
{
    EXPECT_EQ(OwnIdentity(root.Str()), folder.Identity());
    std::vector<HeldEntry> entries;
    ASSERT_TRUE(folder.List(entries));
    std::map<std::string, HeldEntry> byName;
    for (const auto& entry : entries)
        byName[entry.name] = entry;
    ASSERT_EQ(8u, byName.size());

    EXPECT_EQ(HeldKind::File, byName["plain"].kind);
    EXPECT_EQ(5, byName["plain"].size);
    EXPECT_EQ(OwnIdentity(root.File("plain")), byName["plain"].identity);
    EXPECT_EQ(HeldKind::Directory, byName["sub"].kind);
    EXPECT_FALSE(byName["sub"].mountPoint);
    EXPECT_EQ(OwnIdentity(root.File("sub")), byName["sub"].identity);
    EXPECT_TRUE(folder.OpenSubdirectory("sub", &byName["sub"].identity).IsOpen());
    EXPECT_EQ(2u, byName["shared1"].linkCount);
    EXPECT_EQ(byName["shared1"].identity, byName["shared2"].identity);
    for (const char* link : {"filelink", "dirlink"}) {
        EXPECT_EQ(HeldKind::Link, byName[link].kind) << link;
        EXPECT_TRUE(byName[link].attributes & platform::kAttrReparsePoint) << link;
    }

    // Never rewritten nor deleted, and asking must not wait for a writer.
    EXPECT_EQ(HeldKind::Other, byName["fifo"].kind);
    EXPECT_FALSE(folder.OpenForRewrite("fifo", byName["fifo"].identity).IsOpen());
    EXPECT_FALSE(folder.DeleteEntry("fifo", byName["fifo"]));
    EXPECT_TRUE(Listed("fifo"));

    // Only a name of this very folder is reached.
    HeldEntry entry;
    EXPECT_FALSE(folder.Describe("missing", entry));
    EXPECT_FALSE(folder.Describe("sub/inner", entry));
    EXPECT_FALSE(folder.Describe("sub\\inner", entry));
    EXPECT_FALSE(folder.OpenSubdirectory("plain").IsOpen());
    for (const char* step : {".", ".."}) {
        EXPECT_FALSE(folder.Describe(step, entry)) << step;
        EXPECT_FALSE(folder.OpenSubdirectory(step).IsOpen()) << step;
    }
    EXPECT_FALSE(DirectoryHandle::Open(root.File("plain")).IsOpen());
}

TEST_F(HeldDirectory, LinksAreNeverEntered)
{
    const FileIdentity target = OwnIdentity(outside.File("dir"));
    EXPECT_FALSE(folder.OpenSubdirectory("dirlink").IsOpen());
    EXPECT_FALSE(folder.OpenSubdirectory("dirlink", &target).IsOpen());

    // Two names to Linux: the link is no other spelling of its target.
    WriteBytes(root.File("Sibling"), "sibling");
    MakeOnUnixSide("sibling", root.Path() / "Sibling");
    EXPECT_EQ(HeldKind::File, Described("Sibling").kind);
    EXPECT_EQ(HeldKind::Link, Described("sibling").kind);

    // A folder chosen by a path through a link is that link's target, held as usual.
    WriteBytes(outside.File("dir/inner.txt"), "inner");
    const DirectoryHandle chosen = DirectoryHandle::Open(root.File("dirlink"));
    ASSERT_TRUE(chosen.IsOpen());
    EXPECT_EQ(target, chosen.Identity());
    HeldEntry inner;
    EXPECT_TRUE(chosen.Describe("inner.txt", inner));
    EXPECT_EQ(HeldKind::File, inner.kind);
}

TEST_F(HeldDirectory, DeleteEntryRemovesOnlyTheFileOrLinkFound)
{
    EXPECT_TRUE(folder.DeleteEntry("plain", Described("plain")));
    EXPECT_FALSE(Exists("plain"));
    EXPECT_TRUE(folder.DeleteEntry("readonly", Described("readonly")));
    EXPECT_FALSE(Exists("readonly"));

    // Replaced by another file since it was found, or found as another kind.
    const HeldEntry old = Described("shared2");
    WriteBytes(root.File("replacement"), "new");
    fs::rename(root.Path() / "replacement", root.Path() / "shared2");
    EXPECT_FALSE(folder.DeleteEntry("shared2", old));
    HeldEntry asLink = Described("shared2");
    asLink.kind = HeldKind::Link;
    EXPECT_FALSE(folder.DeleteEntry("shared2", asLink));
    EXPECT_EQ("new", ReadBytes(root.File("shared2")));
    HeldEntry folderAsFile = Described("sub");
    folderAsFile.kind = HeldKind::File;
    EXPECT_FALSE(folder.DeleteEntry("sub", folderAsFile));
    EXPECT_TRUE(Exists("sub"));

    // Where the read-only bit must be cleared to delete, it is the other name's too: the system
    // may refuse, but the other name stays read-only.
    fs::create_hard_link(root.Path() / "shared1", root.Path() / "shared3");
    MakeReadOnly("shared1");
    const bool sharedDeleted = folder.DeleteEntry("shared1", Described("shared1"));
    EXPECT_NE(sharedDeleted, Exists("shared1"));
    EXPECT_EQ("shared", ReadBytes(root.File("shared3")));
    EXPECT_TRUE(platform::GetAttributesAt(root.File("shared3")) & platform::kAttrReadOnly);

    // Wine reaches a Unix link's target, and deleting that link would delete the target.
    const bool fileLinkDeleted = folder.DeleteEntry("filelink", Described("filelink"));
    const bool dirLinkDeleted = folder.DeleteEntry("dirlink", Described("dirlink"));
#ifdef _WIN32
    EXPECT_FALSE(fileLinkDeleted);
    EXPECT_FALSE(dirLinkDeleted);
#else
    EXPECT_TRUE(fileLinkDeleted && !Exists("filelink"));
    EXPECT_TRUE(dirLinkDeleted && !Exists("dirlink"));
#endif
    EXPECT_EQ("data", ReadBytes(outside.File("data.txt")));
    EXPECT_TRUE(fs::is_directory(outside.Path() / "dir"));
}

TEST_F(HeldDirectory, RemoveSubdirectoryRemovesOnlyTheEmptyFolderFound)
{
    fs::create_directories(root.Path() / "empty");
    EXPECT_FALSE(folder.RemoveSubdirectory("sub", Described("sub").identity));
    EXPECT_TRUE(Exists("sub/inner"));
    EXPECT_FALSE(folder.RemoveSubdirectory("empty", Described("sub").identity));
    EXPECT_FALSE(folder.RemoveSubdirectory("dirlink", Described("dirlink").identity));
    EXPECT_TRUE(fs::is_directory(outside.Path() / "dir"));

    EXPECT_TRUE(folder.RemoveSubdirectory("empty", Described("empty").identity));
    EXPECT_FALSE(Exists("empty"));
}

// As the temporary-folder pass calls it, on a folder that is a link: the tree behind it is not this one.
TEST_F(HeldDirectory, ATreeDeletionGivenALinkAsItsRootLeavesWhatItLeadsTo)
{
    WriteBytes(outside.File("dir/precious.txt"), "precious");
    fs::create_directories(outside.Path() / "dir" / "empty");
    const std::string link = root.File("dirlink");
    EXPECT_FALSE(TDirectoryRoutines::DeleteTree(link, link + platform::PathSeparator(), true, true));
    EXPECT_EQ("precious", ReadBytes(outside.File("dir/precious.txt")));
    EXPECT_TRUE(fs::is_directory(outside.Path() / "dir" / "empty"));
}

// A subfolder listed, then replaced by another real folder before it is entered: the one entered
// must be the one listed.
TEST(HeldTreeDeletion, ASubfolderReplacedAfterItsListingIsNotEntered)
{
    TempDir tree, outside;
    fs::create_directories(tree.Path() / "sub");
    WriteBytes(tree.File("sub/junk.tmp"), "junk");
    fs::create_directories(outside.Path() / "other");
    WriteBytes(outside.File("other/precious.txt"), "precious");
    bool replaced = false;
    TTreeDeletion rules;
    rules.mayDelete = [&](const HeldEntry& entry) {
        if (entry.name == "sub" && !replaced) {
            fs::rename(tree.Path() / "sub", outside.Path() / "listed");
            fs::rename(outside.Path() / "other", tree.Path() / "sub");
            replaced = true;
        }
        return true;
    };
    TDirectoryRoutines::DeleteTree(tree.Str(), tree.Str() + platform::PathSeparator(), true, true, rules);
    ASSERT_TRUE(replaced);
    EXPECT_EQ("precious", ReadBytes(tree.File("sub/precious.txt")));
}

#ifndef _WIN32
// The root exchanged with a link to elsewhere, over and over, while it is emptied: whatever its
// path showed when looked at, the folder opened must be the one seen.
TEST(HeldTreeDeletion, ARootExchangedWithALinkIsNeverEmptiedThroughIt)
{
    TempDir base, outside;
    WriteBytes(outside.File("precious.txt"), "precious");
    fs::create_directories(base.Path() / "root");
    fs::create_directory_symlink(outside.Path(), base.Path() / "link");
    const std::string root = base.File("root");
    testing_support::TNameExchanger exchanger({{root, base.File("link")}});
    for (int i = 0; i < 5000 && fs::exists(outside.Path() / "precious.txt"); ++i)
        TDirectoryRoutines::DeleteTree(root, root + "/", true, true);
    EXPECT_GT(exchanger.Stop(), 100) << "the race never ran";
    EXPECT_EQ("precious", ReadBytes(outside.File("precious.txt")));
}
#endif

TEST_F(HeldDirectory, OpenForRewriteOpensOnlyTheWritableFileFoundWithNoOtherName)
{
    {
        platform::FileHandle file = folder.OpenForRewrite("plain", Described("plain").identity);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(2, file.Write("PL", 2));
    }
    EXPECT_EQ("PLain", ReadBytes(root.File("plain")));

    EXPECT_FALSE(folder.OpenForRewrite("plain", Described("shared1").identity).IsOpen());
    EXPECT_FALSE(folder.OpenForRewrite("shared1", Described("shared1").identity).IsOpen());
    EXPECT_FALSE(folder.OpenForRewrite("readonly", Described("readonly").identity).IsOpen());
    EXPECT_FALSE(folder.OpenForRewrite("sub", Described("sub").identity).IsOpen());
    EXPECT_FALSE(folder.OpenForRewrite("filelink", Described("filelink").identity).IsOpen());
    EXPECT_FALSE(folder.OpenForRewrite("filelink", OwnIdentity(outside.File("data.txt"))).IsOpen());
}

TEST_F(HeldDirectory, AllocatedRangesHoldTheDataWithinTheSize)
{
    constexpr int64_t kSize = 64 << 20, kAt = 1 << 20, kBlock = 4096;
    {
        std::ofstream out(root.Path() / "sparse", std::ios::binary);
        out.seekp(kAt);
        out << std::string(kBlock, 'x');
    }
    fs::resize_file(root.Path() / "sparse", kSize);
    WriteBytes(root.File("empty"), "");

    std::vector<std::pair<int64_t, int64_t>> ranges{{1, 1}};
    ASSERT_TRUE(folder.OpenForRewrite("empty", Described("empty").identity).AllocatedRanges(ranges));
    EXPECT_TRUE(ranges.empty());
    ASSERT_TRUE(folder.OpenForRewrite("sparse", Described("sparse").identity).AllocatedRanges(ranges));
    int64_t total = 0, end = 0;
    bool coversBlock = false;
    for (const auto& [offset, length] : ranges) {
        EXPECT_TRUE(offset >= end && length > 0 && offset + length <= kSize) << offset << "+" << length;
        end = offset + length;
        total += length;
        coversBlock = coversBlock || (offset <= kAt && end >= kAt + kBlock);
    }
    EXPECT_TRUE(coversBlock);
#ifndef _WIN32
    // Wine marks no file sparse, so there the whole file is one range.
    EXPECT_LT(total, kSize / 4);
#endif
}

#ifdef _WIN32
// Names Wine shows without their trailing dots and spaces ("g." as "g", "..." and ".. " as the
// folder itself): each is the entry of its exact name, or refused, never another one.
TEST_F(HeldDirectory, NamesEndingInDotsOrSpacesAreTheirOwnEntries)
{
    const std::string unixRoot = routines_testing::UnixPathOf(root.Path());
    ASSERT_FALSE(unixRoot.empty());
    const auto unixName = [&](const std::string& name) { return fs::u8path(unixRoot + "/" + name).wstring(); };
    // Removed on the Unix side: a Windows path to them would reach the folder or its parent.
    struct Remover {
        std::vector<std::wstring> paths;
        ~Remover()
        {
            for (const auto& path : paths)
                routines_testing::RunUnixProgram(L"rm", {L"-rf", path});
        }
    } remover;
    for (const char* name : {"...", ".. "}) {
        remover.paths.push_back(unixName(name));
        ASSERT_TRUE(routines_testing::RunUnixProgram(L"mkdir", {unixName(name)})) << name;
    }
    WriteBytes(root.File("g"), "g");
    WriteBytes(root.File("dotted"), "dot");
    remover.paths.push_back(unixName("g."));
    ASSERT_TRUE(routines_testing::RunUnixProgram(L"mv", {unixName("dotted"), unixName("g.")}));
    MakeOnUnixSide("g..", root.Path() / "g");  // a link to its sibling, shown under the sibling's name
    for (int i = 0; i < 500 && !(Listed("...") && Listed(".. ") && Listed("g.")); ++i)
        Sleep(10);

    std::vector<HeldEntry> entries;
    ASSERT_TRUE(folder.List(entries));
    std::map<std::string, int> seen;
    for (const auto& entry : entries)
        ++seen[entry.name];
    for (const char* name : {"...", ".. ", "g", "g.", "g.."})
        EXPECT_EQ(1, seen[name]) << name;

    const HeldEntry dots = Described("..."), dotSpace = Described(".. "), dotted = Described("g.");
    EXPECT_EQ(HeldKind::Directory, dots.kind);
    EXPECT_EQ(HeldKind::Directory, dotSpace.kind);
    EXPECT_FALSE(dots.identity == folder.Identity());
    EXPECT_FALSE(dotSpace.identity == dots.identity);
    EXPECT_EQ(HeldKind::File, dotted.kind);
    EXPECT_EQ(3, dotted.size);
    EXPECT_FALSE(dotted.identity == Described("g").identity);
    EXPECT_EQ(HeldKind::Link, Described("g..").kind);

    // Below such a folder no child could be told from a link: it is not entered.
    EXPECT_FALSE(folder.OpenSubdirectory("...", &dots.identity).IsOpen());
    EXPECT_FALSE(folder.DeleteEntry("g..", Described("g..")));
    EXPECT_TRUE(folder.DeleteEntry("g.", dotted));
    EXPECT_FALSE(Listed("g."));
    EXPECT_EQ("g", ReadBytes(root.File("g")));
    EXPECT_TRUE(folder.RemoveSubdirectory("...", dots.identity));
    EXPECT_FALSE(Listed("..."));
    EXPECT_TRUE(Listed(".. "));
}
#endif
