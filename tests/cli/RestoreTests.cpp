// Undoing a clean that moved objects to the bin: every object comes back to its place as it was,
// nothing is ever overwritten, and nothing is written outside the original places; the tool's
// cleans and restore commands on top of that.
#include "CliProcess.h"
#include "JsonSchemaCheck.h"
#include "TestSupport.h"

#include "cycle/uRestore.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformHeldDirectory.h"
#include "support/RoutinesTestHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include "ExchangeTestSupport.h"
#include <sys/stat.h>
#endif

using cli_testing::RunTool;
using cli_testing::TToolRun;
using routines_testing::ScopedEnvironment;
using testing::HasSubstr;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::Utf8;
using testing_support::WriteBytes;

namespace fs = std::filesystem;
using Json = restore::Json;

namespace {

// The path as the file system calls take it: on Windows in the extended form, past 260 characters.
fs::path Long(const std::string& path)
{
#ifdef _WIN32
    if (path.compare(0, 4, "\\\\?\\") != 0)
        return fs::u8path("\\\\?\\" + path);
#endif
    return fs::u8path(path);
}

Json IdentityOf(const std::string& path)
{
    platform::FileIdentity identity;
    EXPECT_TRUE(platform::QueryOwnIdentity(path, identity)) << path;
    return {{"volume", std::to_string(identity.volume)}, {"file", std::to_string(identity.file)}};
}

// One object of a record, read before it goes to the bin.
Json ObjectOf(const std::string& path)
{
    const auto status = fs::symlink_status(Long(path));
    // As the record has it: a link found by a folder option is a folder, and a link.
    const bool folder = fs::is_directory(fs::status(Long(path)));
    const int64_t size = fs::is_regular_file(status) ? static_cast<int64_t>(fs::file_size(Long(path))) : 0;
    return {{"path", path},         {"kind", folder ? "folder" : "file"}, {"link", fs::is_symlink(status)},
            {"size", size},         {"identity", IdentityOf(path)},       {"safety", "Safe"},
            {"option", 21},         {"title", "Custom Files"},            {"checked", true},
            {"outcome", "skipped"}, {"reason", "notReached"}};
}

// A clean's record in the documented form: the objects given, targets as the user named them.
Json RecordOf(const std::vector<std::string>& targets, Json objects)
{
    int64_t moved = 0, movedSize = 0;
    for (const Json& object : objects)
        if (object["outcome"] == "moved") {
            ++moved;
            movedSize += object["movedSize"].get<int64_t>();
        }
    return {{"recordVersion", 1},
            {"program", "Quillsweep"},
            {"version", "1.0.0.1"},
            {"started", "2026-12-08T05:00:00.000Z"},
            {"finished", "2026-12-08T05:00:01.000Z"},
            {"from", "commandLine"},
            {"review", "scan"},
            {"mode", "recycle"},
            {"targets", targets},
            {"options", {21}},
            {"status", {{"code", "complete"}, {"text", "Clean complete."}}},
            {"totals",
             {{"removedCount", 0},
              {"removedSize", 0},
              {"movedCount", moved},
              {"movedSize", movedSize},
              {"skippedCount", static_cast<int64_t>(objects.size()) - moved},
              {"skippedSize", 0}}},
            {"objects", std::move(objects)}};
}

// A freedesktop Trash made here: the test moves objects into it as a bin would.
class TTestTrash {
public:
    explicit TTestTrash(const fs::path& trash) : trash_(trash)
    {
        fs::create_directories(trash_ / "files");
        fs::create_directories(trash_ / "info");
    }
    // Moves the object at path to files/, with its info/ record; the object as a record keeps it.
    Json Put(const std::string& path)
    {
        Json object = ObjectOf(path);
        platform::HeldEntry entry;
        EXPECT_TRUE(platform::DirectoryHandle::Open(Utf8(fs::u8path(path).parent_path()))
                        .Describe(Utf8(fs::u8path(path).filename()), entry))
            << path;
        if (entry.kind == platform::HeldKind::File)
            object["movedModified"] = std::to_string(entry.modified);
        const std::string name = Utf8(fs::u8path(path).filename()) + "." + std::to_string(++count_);
        WriteBytes(Utf8(trash_ / "info" / fs::u8path(name + ".trashinfo")),
                   "[Trash Info]\nPath=" + path + "\nDeletionDate=2026-12-08T05:00:00\n");
        fs::rename(Long(path), trash_ / "files" / fs::u8path(name));
        object["outcome"] = "moved";
        object.erase("reason");
        object["destination"] = Utf8(trash_ / "files" / fs::u8path(name));
        object["movedSize"] = object["size"];
        return object;
    }
    size_t Entries(const char* folder) const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(trash_ / folder), {}));
    }
    const fs::path& Path() const { return trash_; }

private:
    fs::path trash_;
    int count_ = 0;
};

} // namespace

// The bin's own record of an entry, for each bin a record may name.
TEST(Restore, TheBinsRecordIsFoundBesideTheEntry)
{
    const std::string sep(1, platform::PathSeparator());
    const platform::BinEntry trash = restore::BinEntryOf(sep + "d" + sep + "Trash" + sep + "files" + sep + "a b.txt");
    EXPECT_EQ(sep + "d" + sep + "Trash", trash.base);
    EXPECT_EQ("files", trash.entryFolder);
    EXPECT_EQ("info", trash.recordFolder);
    EXPECT_EQ("a b.txt", trash.name);
    EXPECT_EQ("a b.txt.trashinfo", trash.recordName);
    const platform::BinEntry windows = restore::BinEntryOf(sep + "$Recycle.Bin" + sep + "S-1-5-21" + sep + "$RAB12CD.txt");
    EXPECT_EQ(sep + "$Recycle.Bin" + sep + "S-1-5-21", windows.base);
    EXPECT_EQ("", windows.entryFolder);
    EXPECT_EQ("$IAB12CD.txt", windows.recordName);
    EXPECT_EQ("", restore::BinEntryOf(sep + "elsewhere" + sep + "x").recordName);
    EXPECT_EQ("", restore::BinEntryOf("x").name) << "a name with no folder is no bin entry";

    // The walk back starts at the deepest target that holds the object, else at the root.
    TempDir dir;
    fs::create_directories(dir.Path() / "t" / "u");
    const platform::RestorePlace place = restore::PlaceOf(dir.File("t/u/v/w.txt"), {dir.Str(), dir.File("t"), dir.File("x")});
    EXPECT_EQ(dir.File("t"), place.anchor);
    EXPECT_EQ((std::vector<std::string>{"u", "v"}), place.folders);
    EXPECT_EQ("w.txt", place.name);
    EXPECT_EQ(std::string(dir.Str()).substr(0, platform::PathSeparator() == '/' ? 1 : 3),
              restore::PlaceOf(dir.File("t/w.txt"), {}).anchor);
    EXPECT_EQ("", restore::PlaceOf("relative" + sep + "w.txt", {}).name);
    EXPECT_EQ("", restore::PlaceOf(dir.File("t") + sep + ".." + sep + "w.txt", {}).name);
}

#ifndef _WIN32

namespace {

std::map<std::string, size_t> Outcomes(const std::vector<restore::TObjectResult>& results)
{
    std::map<std::string, size_t> counts;
    for (const auto& result : results)
        ++counts[restore::OutcomeWord(result.outcome)];
    return counts;
}

// Every entry under root, links not entered: what it is, its bytes, mode, time and identity.
// Folders count by mode only: the restore may have had to make them again.
std::map<std::string, std::string> Snapshot(const fs::path& root)
{
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        struct stat st {};
        EXPECT_EQ(0, ::lstat(it->path().c_str(), &st));
        const std::string name = Utf8(fs::relative(it->path(), root));
        std::string& entry = entries[name];
        entry = std::to_string(st.st_mode);
        if (S_ISDIR(st.st_mode))
            continue;
        entry += "|" + std::to_string(st.st_ino) + "|" + std::to_string(st.st_mtim.tv_sec) + "." +
                 std::to_string(st.st_mtim.tv_nsec) + "|" + std::to_string(st.st_size) + "|" +
                 (S_ISLNK(st.st_mode) ? fs::read_symlink(it->path()).string() : ReadBytes(Utf8(it->path())));
    }
    return entries;
}

std::string ModifiedAt(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(0, ::lstat(path.c_str(), &st));
    return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

// Folders that hold nothing, deepest first, as a clean leaves them gone.
void RemoveEmptyFolders(const fs::path& root)
{
    std::vector<fs::path> folders;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
        if (it->is_directory() && !it->is_symlink())
            folders.push_back(it->path());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        if (fs::is_empty(*it))
            fs::remove(*it);
}

} // namespace

// A thousand objects of every kind, all in the bin and their folders gone, come back exactly.
TEST(Restore, EveryKindOfObjectComesBackAsItWas)
{
    TempDir dir;
    const fs::path root = dir.Path() / "tree";
    std::vector<std::string> objects;
    for (int i = 0; i < 1000; ++i) {
        const fs::path folder =
            root / ("d" + std::to_string(i % 7)) / ("s " + std::to_string(i % 3)) / (i % 2 ? "été" : "t");
        fs::create_directories(folder);
        const std::string n = std::to_string(i);
        fs::path object;
        switch (i % 10) {
        case 6:  // read-only
            object = folder / ("ro " + n + ".txt");
            WriteBytes(Utf8(object), "read-only " + n);
            fs::permissions(object, fs::perms::owner_read | fs::perms::group_read);
            break;
        case 7:  // hidden
            object = folder / (".hidden" + n);
            WriteBytes(Utf8(object), "hidden " + n);
            break;
        case 8:  // a folder with folders and files in it; every other one read-only
            object = folder / ("folder Ωμέγα " + n);
            fs::create_directories(object / "inner");
            WriteBytes(Utf8(object / "a.txt"), "a" + n);
            WriteBytes(Utf8(object / "inner" / ".b"), "b" + n);
            if (i % 20 == 8)
                fs::permissions(object, fs::perms::owner_read | fs::perms::owner_exec);
            break;
        case 9:  // a link, moved as itself; every other one leads to a folder
            object = folder / ("link " + n);
            if (i % 20 == 9)
                fs::create_directory_symlink(".", object);
            else
                fs::create_symlink("../elsewhere " + n, object);
            break;
        default:
            object = folder / ((i % 2 ? "naïve file " : "file ") + n + (i % 3 ? ".dat" : ""));
            WriteBytes(Utf8(object), std::string(static_cast<size_t>(i % 5) * 100, 'x') + n);
        }
        objects.push_back(Utf8(object));
    }
    const auto before = Snapshot(root);
    std::map<std::string, std::string> times;
    for (const std::string& object : objects)
        times[object] = ModifiedAt(object);
    TTestTrash trash(dir.Path() / "Trash");
    Json moved = Json::array();
    for (const std::string& object : objects)
        moved.push_back(trash.Put(object));
    RemoveEmptyFolders(root);
    ASSERT_EQ(1000u, trash.Entries("files"));
    Json record = RecordOf({Utf8(root)}, std::move(moved));

    const auto results = restore::RestoreRecord(record);
    EXPECT_EQ((std::map<std::string, size_t>{{"restored", 1000}}), Outcomes(results));
    EXPECT_EQ(before, Snapshot(root));
    for (const auto& [object, time] : times)
        EXPECT_EQ(time, ModifiedAt(object)) << object;
    EXPECT_EQ(0u, trash.Entries("files"));
    EXPECT_EQ(0u, trash.Entries("info"));
    EXPECT_TRUE(restore::PendingObjects(record).empty()) << "each is marked back";
}

// Whatever is in the way stays as it is, and so does the object in the bin.
TEST(Restore, NothingIsOverwrittenAndEachObjectIsToldApart)
{
    TempDir dir, outside;
    const fs::path root = dir.Path() / "t";
    fs::create_directories(root / "sub");
    TTestTrash trash(dir.Path() / "Trash");
    for (const char* name : {"taken.txt", "taken-folder", "gone.txt", "swapped.txt", "back.txt", "fine.txt",
                             "sub/via-link.txt"})
        WriteBytes(Utf8(root / name), std::string("old ") + name);
    fs::remove(root / "taken-folder");
    fs::create_directory(root / "taken-folder");
    Json objects = Json::array();
    for (const char* name : {"taken.txt", "taken-folder", "gone.txt", "swapped.txt", "back.txt", "fine.txt",
                             "sub/via-link.txt"})
        objects.push_back(trash.Put(Utf8(root / name)));
    // Taken: another file, and a folder, where they were.
    WriteBytes(Utf8(root / "taken.txt"), "new");
    fs::create_directory(root / "taken-folder");
    // Gone from the bin; replaced there by another file of its name and size, which the file
    // system gave the freed file number (as ext4 does); restored by hand.
    fs::remove(fs::u8path(objects[2]["destination"].get<std::string>()));
    const fs::path swapped = fs::u8path(objects[3]["destination"].get<std::string>());
    fs::remove(swapped);
    WriteBytes(Utf8(swapped), "old swapped.txt");
    fs::last_write_time(swapped, fs::last_write_time(swapped) + std::chrono::seconds(5));
    objects[3]["identity"] = IdentityOf(Utf8(swapped));
    fs::rename(fs::u8path(objects[4]["destination"].get<std::string>()), root / "back.txt");
    // A folder on the way is now a link to outside.
    fs::remove(root / "sub");
    fs::create_directory_symlink(outside.Path(), root / "sub");
    Json record = RecordOf({Utf8(root)}, std::move(objects));

    const auto results = restore::RestoreRecord(record);
    ASSERT_EQ(7u, results.size());
    const std::vector<restore::TOutcome> expected = {
        restore::TOutcome::PlaceTaken, restore::TOutcome::PlaceTaken, restore::TOutcome::NotInBin,
        restore::TOutcome::NotInBin,   restore::TOutcome::AlreadyRestored, restore::TOutcome::Restored,
        restore::TOutcome::Refused};
    for (size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(restore::OutcomeWord(expected[i]), std::string(restore::OutcomeWord(results[i].outcome))) << i;
    EXPECT_EQ("new", ReadBytes(Utf8(root / "taken.txt")));
    EXPECT_TRUE(fs::is_empty(root / "taken-folder"));
    EXPECT_EQ("old taken.txt", ReadBytes(record["objects"][0]["destination"]));
    EXPECT_TRUE(fs::is_directory(fs::u8path(record["objects"][1]["destination"].get<std::string>())));
    EXPECT_EQ("old swapped.txt", ReadBytes(record["objects"][3]["destination"])) << "not the object: it stays";
    EXPECT_EQ("old fine.txt", ReadBytes(Utf8(root / "fine.txt")));
    EXPECT_TRUE(fs::is_empty(outside.Path()));
    // The bin's records go with their objects only: taken, swapped, refused keep theirs.
    EXPECT_EQ(6u, trash.Entries("info"));
    EXPECT_EQ(5u, restore::PendingObjects(record).size()) << "only those back at their places are marked";
}

// A folder above the original places is exchanged non-stop with a link to an outside folder: what
// is restored lands only in the real folder, and nothing ever reaches outside.
TEST(Restore, AFolderSwappedForALinkDuringTheRestoreLeadsNowhereOutside)
{
    constexpr int kFiles = 1000;
    TempDir dir, outside;
    const fs::path root = dir.Path() / "t";
    fs::create_directories(root / "victim");
    TTestTrash trash(dir.Path() / "Trash");
    Json objects = Json::array();
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "f" + std::to_string(i);
        WriteBytes(Utf8(root / "victim" / name), "inside");
        objects.push_back(trash.Put(Utf8(root / "victim" / name)));
    }
    platform::FileIdentity victim;
    ASSERT_TRUE(platform::QueryOwnIdentity(Utf8(root / "victim"), victim));
    fs::create_directory_symlink(outside.Path(), root / "swap");
    Json record = RecordOf({Utf8(root)}, std::move(objects));

    testing_support::TNameExchanger swapper({{Utf8(root / "victim"), Utf8(root / "swap")}});
    const auto results = restore::RestoreRecord(record);
    const long swaps = swapper.Stop();

    EXPECT_GT(swaps, 100) << "the race never ran";
    EXPECT_TRUE(fs::is_empty(outside.Path()));
    const fs::path real = fs::is_symlink(root / "victim") ? root / "swap" : root / "victim";
    platform::FileIdentity now;
    ASSERT_TRUE(platform::QueryOwnIdentity(Utf8(real), now));
    ASSERT_EQ(victim, now);
    const auto counts = Outcomes(results);
    const size_t restored = counts.count("restored") ? counts.at("restored") : 0;
    EXPECT_EQ(restored, static_cast<size_t>(std::distance(fs::directory_iterator(real), {})));
    EXPECT_EQ(kFiles - restored, trash.Entries("files")) << "the others stay in the bin";
    EXPECT_EQ(static_cast<size_t>(kFiles), restored + (counts.count("refused") ? counts.at("refused") : 0));
    EXPECT_GT(restored, 0u);
}

// Someone keeps exchanging the object in the bin with another file of its size beside it while it
// is restored, time after time: only the object itself ever leaves the bin, and nothing is lost.
TEST(Restore, AnObjectExchangedInTheBinDuringTheRestoreNeverLetsAnotherOut)
{
    TempDir dir;
    const fs::path root = dir.Path() / "t";
    fs::create_directories(root);
    TTestTrash trash(dir.Path() / "Trash");
    WriteBytes(Utf8(root / "object"), "the object");
    const Json object = trash.Put(Utf8(root / "object"));
    const std::string entry = object["destination"], decoy = Utf8(trash.Path() / "files" / "decoy");
    WriteBytes(decoy, "the decoy!");
    const Json record = RecordOf({Utf8(root)}, Json::array({object}));

    testing_support::TNameExchanger swapper({{entry, decoy}});
    std::map<std::string, size_t> outcomes;
    for (int attempt = 0; attempt < 3000; ++attempt) {
        std::string detail;
        const restore::TOutcome outcome = restore::RestoreObject(record, record["objects"][0], detail);
        ++outcomes[restore::OutcomeWord(outcome)];
        if (!fs::exists(root / "object"))
            continue;
        const std::string back = ReadBytes(Utf8(root / "object"));
        if (back != "the object") {
            ADD_FAILURE() << "out of the bin came " << back << " (" << restore::OutcomeWord(outcome) << ")";
            break;
        }
        // Into the bin again, as the object's own entry (the exchanges wait for both names).
        fs::rename(root / "object", fs::u8path(entry));
    }
    const long swaps = swapper.Stop();

    EXPECT_GT(swaps, 1000) << "the race never ran";
    EXPECT_GT(outcomes["restored"], 0u);
    EXPECT_GT(outcomes["notInBin"], 0u) << "the decoy was never met";
    EXPECT_EQ(2u, trash.Entries("files")) << "nothing is lost";
}

#else

namespace {

std::string ReadLong(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every entry under folder: its attributes, and a file's bytes, time and identity. Folders count by
// attributes only: the restore may have had to make them again. (The library's folder walk stops
// at 260 characters.)
void Snapshot(const std::wstring& folder, const std::string& relative, std::map<std::string, std::string>& entries)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        const std::string key = relative + (relative.empty() ? "" : "\\") + Utf8(fs::path(name));
        std::string& entry = entries[key];
        entry = std::to_string(data.dwFileAttributes & ~FILE_ATTRIBUTE_ARCHIVE);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Snapshot(path, key, entries);
            continue;
        }
        platform::FileIdentity identity;
        EXPECT_TRUE(platform::QueryOwnIdentity(Utf8(fs::path(path.substr(4))), identity)) << key;
        const uint64_t time = static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
        entry += "|" + std::to_string(identity.file) + "|" + std::to_string(time) + "|" + ReadLong(fs::path(path));
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::map<std::string, std::string> Snapshot(const fs::path& root)
{
    std::map<std::string, std::string> entries;
    Snapshot(root.wstring(), "", entries);
    return entries;
}

// Everything under folder and folder itself (the library's removal stops at 260 characters too).
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName, path = folder + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

// A thousand objects of every kind, paths past 260 characters among them, all in the bin and their
// folders gone, come back exactly.
TEST(Restore, EveryKindOfObjectComesBackAsItWas)
{
    TempDir dir;
    const fs::path root = dir.Path() / "tree";
    const std::string deep = "a folder name of fifty characters, for long paths";
    std::vector<std::string> objects;
    for (int i = 0; i < 1000; ++i) {
        std::string folder = Utf8(root / ("d" + std::to_string(i % 7)) / (i % 2 ? "été" : "t"));
        if (i % 10 == 9)
            for (int level = 0; level < 6; ++level)
                folder += "\\" + deep;
        fs::create_directories(Long(folder));
        const std::string n = std::to_string(i);
        std::string object;
        switch (i % 10) {
        case 6:
            object = folder + "\\ro " + n + ".txt";
            WriteBytes(Utf8(Long(object)), "read-only " + n);
            SetFileAttributesW(Long(object).c_str(), FILE_ATTRIBUTE_READONLY);
            break;
        case 7:
            object = folder + "\\hidden " + n;
            WriteBytes(Utf8(Long(object)), "hidden " + n);
            SetFileAttributesW(Long(object).c_str(), FILE_ATTRIBUTE_HIDDEN);
            break;
        case 8:
            object = folder + "\\folder Ωμέγα " + n;
            fs::create_directories(Long(object + "\\inner"));
            WriteBytes(Utf8(Long(object + "\\a.txt")), "a" + n);
            WriteBytes(Utf8(Long(object + "\\inner\\b")), "b" + n);
            break;
        default:
            object = folder + "\\" + (i % 2 ? "naïve file " : "file ") + n + ".dat";
            WriteBytes(Utf8(Long(object)), std::string(static_cast<size_t>(i % 5) * 100, 'x') + n);
        }
        objects.push_back(object);
    }
    ASSERT_GT(objects[9].size(), 300u);
    const auto before = Snapshot(Long(Utf8(root)));
    ASSERT_EQ(before.count("d0\\t\\file 0.dat"), 1u);
    TTestTrash trash(dir.Path() / "Trash");
    Json moved = Json::array();
    for (const std::string& object : objects)
        moved.push_back(trash.Put(object));
    for (int i = 0; i < 7; ++i)
        RemoveTree(Long(Utf8(root / ("d" + std::to_string(i)))).wstring());
    ASSERT_EQ(1000u, trash.Entries("files"));
    Json record = RecordOf({Utf8(root)}, std::move(moved));

    const auto results = restore::RestoreRecord(record);
    size_t restored = 0;
    for (const auto& result : results)
        restored += result.outcome == restore::TOutcome::Restored;
    EXPECT_EQ(1000u, restored) << results[0].detail;
    EXPECT_EQ(before, Snapshot(Long(Utf8(root))));
    EXPECT_EQ(0u, trash.Entries("files"));
    EXPECT_EQ(0u, trash.Entries("info"));
    RemoveTree(Long(Utf8(root)).wstring());
}

#endif

namespace {

// The records go where the tests say, never to the user's own folder.
class StateFolder {
public:
    StateFolder() : xdg_("XDG_STATE_HOME", dir.Str()), local_("LOCALAPPDATA", dir.Str()) {}
    std::string Records() const { return clean_record::RecordsFolder(); }
    TempDir dir;

private:
    ScopedEnvironment xdg_, local_;
};

Json Document(const TToolRun& run)
{
    const Json document = Json::parse(run.out, nullptr, false);
    if (document.is_discarded()) {
        ADD_FAILURE() << run.out << run.err;
        return {};
    }
    for (const std::string& error : cli_testing::SchemaErrors(cli_testing::ToolSchema(), document))
        ADD_FAILURE() << error;
    return document;
}

// One object put into the bin: a Trash of the test's own natively, Wine's own bin (its Trash in
// the test program's data folder) under Wine, where the program itself moves it there.
Json Binned(const std::string& path, const TempDir& dir)
{
#ifdef _WIN32
    Json object = ObjectOf(path);
    std::wstring from = fs::u8path(path).wstring();
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    EXPECT_EQ(0, SHFileOperationW(&operation));
    std::string data = std::getenv("XDG_DATA_HOME");
    for (char& c : data)
        c = c == '/' ? '\\' : c;
    // Wine names the entry itself (a suffix when the bin holds that name already): the one of this file number.
    for (const auto& entry : fs::directory_iterator(fs::u8path("Z:" + data + "\\Trash\\files")))
        if (IdentityOf(Utf8(entry.path()))["file"] == object["identity"]["file"])
            object["destination"] = Utf8(entry.path());
    object["outcome"] = "moved";
    object.erase("reason");
    object["movedSize"] = object["size"];
    return object;
#else
    TTestTrash trash(dir.Path() / "Trash");
    return trash.Put(path);
#endif
}

} // namespace

// cleans lists the record; restore asks, puts the object back, and a second time says it is back.
TEST(RestoreTool, RestoresTheLastCleanOnceAndThenSaysItIsBack)
{
#ifdef _WIN32
    const char* data = std::getenv("XDG_DATA_HOME");
    if (!data || !std::strstr(data, "wine-data"))
        GTEST_SKIP() << "the bin here is the machine's own";
#endif
    StateFolder state;
    cli_testing::TScratchFolder tree;
    fs::create_directories(tree.dir.Path() / "folder");
    WriteBytes(tree.File("folder/report 2026.txt"), "twelve bytes");
    const Json object = Binned(tree.File("folder/report 2026.txt"), tree.dir);
    fs::remove(tree.dir.Path() / "folder");
    ASSERT_FALSE(tree.Exists("folder"));
    // A folder goes whole, with what it holds.
    fs::create_directories(tree.dir.Path() / "box");
    WriteBytes(tree.File("box/inner.txt"), "in the box");
    const Json box = Binned(tree.File("box"), tree.dir);
    ASSERT_FALSE(tree.Exists("box"));
    std::string file, error;
    ASSERT_TRUE(clean_record::SaveRecord(state.Records(), RecordOf({tree.Str()}, Json::array({object, box})), file, error));
    const std::string id = clean_record::RecordId(file);
    ASSERT_TRUE(object.contains("destination")) << object.dump();
    const fs::path entry = fs::u8path(object["destination"].get<std::string>());
    const fs::path info = entry.parent_path().parent_path() / "info" / (entry.filename().u8string() + ".trashinfo");
    ASSERT_TRUE(fs::exists(info));

    const TToolRun cleans = RunTool({"cleans"});
    ASSERT_EQ(0, cleans.status) << cleans.err;
    EXPECT_THAT(cleans.out, HasSubstr(id + "\t2026-12-08T05:00:00.000Z\trecycle\t0 removed\t2 moved\t0 skipped\t0 restored\t12"));
    EXPECT_EQ(id, Document(RunTool({"cleans", "--json"}))["cleans"][0]["id"]);

    const TToolRun unasked = RunTool({"restore"});
    EXPECT_EQ(3, unasked.status);
    EXPECT_THAT(unasked.err, HasSubstr("Restore 2 objects (1 Ko) from the bin to their places?"));
    EXPECT_FALSE(tree.Exists("folder"));
    EXPECT_EQ(2, RunTool({"restore", "clean-none", "--yes"}).status);
#ifndef _WIN32
    const TToolRun declined = cli_testing::RunToolOnTerminal({"restore"}, "n\n");
    EXPECT_EQ(3, declined.status);
    EXPECT_THAT(declined.out, HasSubstr("Restore 2 objects (1 Ko) from the bin to their places? [y/N]"));
    EXPECT_FALSE(tree.Exists("folder"));
#endif

    const TToolRun run = RunTool({"restore", "--yes", "--json"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ("twelve bytes", ReadBytes(tree.File("folder/report 2026.txt")));
    EXPECT_EQ("in the box", ReadBytes(tree.File("box/inner.txt")));
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(fs::exists(info)) << "the bin's record goes with the object";
    const Json document = Document(run);
    EXPECT_EQ("restored", document["restore"]["objects"][1]["outcome"]);
    EXPECT_EQ(2, document["restore"]["totals"]["restoredCount"]);
    const Json stored = Json::parse(ReadBytes(file));
    EXPECT_TRUE(stored["objects"][0].contains("restoredAt"));
    for (const std::string& problem : cli_testing::SchemaErrors(cli_testing::RecordSchema(), stored))
        ADD_FAILURE() << problem;

    const TToolRun again = RunTool({"restore", id});
    EXPECT_EQ(0, again.status);
    EXPECT_THAT(again.err, HasSubstr("already restored"));
    EXPECT_THAT(RunTool({"cleans"}).out, HasSubstr("\t2 restored\t"));
}
