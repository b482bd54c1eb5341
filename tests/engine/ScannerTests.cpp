#include "ScannerTestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include "engine/uEngineConstants.h"
#include "engine/uScanner.h"

#include "support/VelaRoutines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using routines_testing::MakeDirectoryLink;
using routines_testing::ScopedEnvironment;
using scanner_testing::FoundUnder;
using scanner_testing::RunScan;
using scanner_testing::TScanResult;
using scanner_testing::TScanSetup;
using testing::ElementsAre;
using testing::UnorderedElementsAre;
using testing_support::TempDir;

namespace {

namespace fs = std::filesystem;

void MakeFile(const TempDir& root, const std::string& relative, size_t bytes = 1)
{
    const fs::path path = root.Path() / testing_support::PathOf(relative);
    fs::create_directories(path.parent_path());
    testing_support::WriteBytes(testing_support::Utf8(path), std::string(bytes, 'x'));
}

void MakeDir(const TempDir& root, const std::string& relative)
{
    fs::create_directories(root.Path() / testing_support::PathOf(relative));
}

void ExpectOneFinish(const TScanResult& result, const std::string& text)
{
    ASSERT_FALSE(result.statusTexts.empty());
    EXPECT_EQ(text, result.statusTexts.back());
    const bool byError = text != "Scan stopped." && text != "Scan complete.";
    EXPECT_EQ(1, result.Count("Scan stopped.") + result.Count("Scan complete.") + (byError ? result.Count(text) : 0));
    ASSERT_EQ(1u, result.notices.size());
    EXPECT_EQ(engine_testing::kTestWindow, result.notices[0].window);
    EXPECT_EQ(WM_SCANFINISHED, result.notices[0].message);
}

} // namespace

TEST(Scanner, FinishesExactlyOnce)
{
    // Nothing ticked: all options are visited, nothing is found.
    TempDir dir;
    MakeFile(dir, "a.tmp");
    TScanSetup setup;
    setup.targets = dir.Str();
    TScanResult result = RunScan(setup);
    EXPECT_THAT(result.statusTexts, ElementsAre("Scan complete."));
    ExpectOneFinish(result, "Scan complete.");
    EXPECT_EQ(0, result.list->GetCount());

    // A stop deep in a walk ends it at once, with one finish.
    std::string deep = "d";
    for (int i = 0; i < 40; ++i)
        deep += "/d";
    MakeFile(dir, deep + "/x.tmp");
    MakeFile(dir, "z/after.tmp");
    setup.options = {13, 21};
    setup.customFileMasks = "*";
    setup.stopWhen = [](std::string text) {
        std::replace(text.begin(), text.end(), '\\', '/');
        return text.find("/d/d/d/d/d/d/d/d/d/d\"...") != std::string::npos;
    };
    result = RunScan(setup);
    ExpectOneFinish(result, "Scan stopped.");
    EXPECT_TRUE(FoundUnder(result, dir.Str(), {21}).empty());
    // At most the call the scanner was already making when Stop came, then the closing text.
    ASSERT_LT(result.statusTextsBeforeStop, result.statusTexts.size());
    EXPECT_LE(result.statusTexts.size() - result.statusTextsBeforeStop, 2u) << result.statusTexts.back();

    // A scanner without context does nothing at all, not even finish.
    auto synchronizer = std::make_shared<TSynchronizer>();
    auto dispatch = std::make_shared<scanner_testing::TRecordingDispatch>(synchronizer);
    auto scanner = TEngineServices::CreateScanner();
    scanner->SetDispatch(dispatch);
    scanner->Start();
    scanner->Stop();
    synchronizer->ProcessPending();
    EXPECT_TRUE(synchronizer->TakeNotices().empty());
    EXPECT_TRUE(dispatch->statusTexts.empty());
}

TEST(Scanner, MasksOrderAndCounters)
{
    TempDir dir;
    MakeFile(dir, "README");
    MakeFile(dir, "a.b", 2048);
    MakeFile(dir, "c.a", 10);
    MakeFile(dir, "a.a", 5000);
    MakeFile(dir, "sub/d.b");
    MakeFile(dir, "sub/deeper/e.a");
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {21};
    // An unreadable mask finds nothing and the others still work; "*.*" and "a.*" reach again
    // what "*.b" and "*.*" found.
    setup.customFileMasks = "*.b;[x;*.*;a.*";
    TScanResult result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");

    // Per directory mask by mask, then the subdirectories; "*.*" needs a dot in the name.
    const auto found = FoundUnder(result, dir.Str());
    ASSERT_EQ(5u, found.size());
    EXPECT_EQ("a.b", found[0]);
    EXPECT_THAT(std::vector<std::string>(found.begin() + 1, found.begin() + 3), UnorderedElementsAre("c.a", "a.a"));
    EXPECT_EQ("sub/d.b", found[3]);
    EXPECT_EQ("sub/deeper/e.a", found[4]);

    const std::string first = result.found[0]->GetPath();
    EXPECT_EQ(1, result.Count("Found: \"" + first + "\""));
    EXPECT_EQ(2, result.Count("Duplicate: \"" + first + "\""));
    EXPECT_TRUE(result.AnyStatusStartingWith("Scanning \""));
    EXPECT_EQ(1, result.Count("Scanning..."));
    // Each directory entered announces its parent.
    EXPECT_EQ(1, result.Count("Scanning \"" + fs::path(first).parent_path().string() + "\"..."));

    EXPECT_EQ(5, result.list->GetCount());
    EXPECT_EQ(5, result.counterUpdates);
    EXPECT_EQ(5, result.counters->GetFoundCount());
    EXPECT_EQ(result.list->GetTotalSize(), result.counters->GetFoundCapacity());
    EXPECT_EQ(TNumberRoutines::BytesToKo(5000), result.counters->GetLargestCapacity());
    EXPECT_EQ(2, result.list->FindByPath(first)->GetSize());

    // A target that does not exist is announced and skipped.
    setup.targets = dir.File("missing") + ";" + dir.File("sub");
    result = RunScan(setup);
    EXPECT_EQ(2, result.Count("Scanning..."));
    EXPECT_THAT(FoundUnder(result, dir.Str()), ElementsAre("sub/d.b", "sub/deeper/e.a"));
}

TEST(Scanner, ExcludeLists)
{
    TempDir dir;
    MakeFile(dir, "w.tmp");
    MakeFile(dir, "b.tmpx");  // its 8.3 alias matches "*.tmp", its own name does not
    MakeFile(dir, "Temp/x.tmp");
    MakeFile(dir, "Temp/sub/y.tmp");
    MakeFile(dir, "other/temp/z.tmp");
    MakeFile(dir, "other/keep.tmp");
    MakeFile(dir, "desktop.ini");
    MakeFile(dir, "other/Desktop.ini");
    MakeFile(dir, "other/notes.ini");
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {13, 21, 22};
    setup.customFileMasks = "*.ini";
    setup.customDirectoryMasks = "temp";
    setup.excludeDirectories = "Temp";
    setup.excludeFiles = "desktop.ini";
    TScanResult result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");

    // Nothing directly in a Temp directory, and nothing beneath one: it is never entered.
    EXPECT_THAT(FoundUnder(result, dir.Str(), {13}), UnorderedElementsAre("w.tmp", "other/keep.tmp"));
    for (const std::string& text : result.statusTexts) {
        EXPECT_EQ(std::string::npos, text.find("Temp\"...")) << text;
        EXPECT_EQ(std::string::npos, text.find("temp\"...")) << text;
    }
    // A file name in the list is excluded in every directory, whatever its case.
    EXPECT_THAT(FoundUnder(result, dir.Str(), {21}), ElementsAre("other/notes.ini"));
    // The Temp directories themselves are still found where their parent is not excluded.
    EXPECT_THAT(FoundUnder(result, dir.Str(), {22}), UnorderedElementsAre("Temp", "other/temp"));

    // A whole path in the list works like a name.
    setup.excludeDirectories = dir.File("other");
    setup.excludeFiles = dir.File("w.tmp");
    result = RunScan(setup);
    EXPECT_THAT(FoundUnder(result, dir.Str(), {13}), UnorderedElementsAre("Temp/x.tmp", "Temp/sub/y.tmp"));
}

TEST(Scanner, OptionSources)
{
    TempDir dir;
    // Options 18 and 19 look only directly inside each target.
    MakeFile(dir, "target/.Trashes/a");
    MakeFile(dir, "target/.Trashes/deep/b");
    MakeFile(dir, "target/sub/.Trashes/c");
    MakeFile(dir, "target/.Spotlight-V100/s");
    MakeFile(dir, "target/sub/.Spotlight-V100/t");
    // Option 20: an empty directory is found and counts 1 Ko; a directory holding one is not.
    MakeDir(dir, "target/holder/empty");
    // Temporary folder inside the clean target, with a second target inside it.
    MakeFile(dir, "target/tmp/inner/dup.tmp");
    MakeFile(dir, "target/tmp/top.tmp");
    MakeFile(dir, "target/plain.tmp");
    const std::string temp = dir.File("target/tmp");
    ScopedEnvironment tmpdir("TMPDIR", temp), tmp("TMP", temp), tmpAlso("TEMP", temp);

    TScanSetup setup;
    setup.targets = dir.File("target") + ";" + dir.File("target/tmp/inner");
    setup.options = {0, 13, 18, 19, 20};
    TScanResult result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");

    const std::string base = dir.File("target");
    EXPECT_THAT(FoundUnder(result, base, {18}), UnorderedElementsAre(".Trashes/a", ".Trashes/deep/b"));
    EXPECT_THAT(FoundUnder(result, base, {19}), ElementsAre(".Spotlight-V100/s"));
    const auto empties = FoundUnder(result, base, {20});
    EXPECT_THAT(empties, ElementsAre("holder/empty"));
    for (const auto& item : result.found) {
        if (item->GetOption() == 20) {
            EXPECT_EQ(1, item->GetSize());
        }
    }

    // Option 13 leaves the temporary folder to option 0, but a target inside it is walked; what
    // option 0 already listed stays there and is reported as a duplicate.
    EXPECT_THAT(FoundUnder(result, base, {0}), UnorderedElementsAre("tmp/inner/dup.tmp", "tmp/top.tmp"));
    EXPECT_THAT(FoundUnder(result, base, {13}), ElementsAre("plain.tmp"));
    const auto dup = std::find_if(result.found.begin(), result.found.end(), [](const auto& item) {
        return item->GetPath().find("dup.tmp") != std::string::npos;
    });
    ASSERT_NE(result.found.end(), dup);
    EXPECT_EQ(0, (*dup)->GetOption());
    EXPECT_EQ(1, result.Count("Duplicate: \"" + (*dup)->GetPath() + "\""));
}

#ifndef _WIN32
// On Linux the browser's disk cache lives in the XDG cache, apart from the profile it serves.
TEST(Scanner, FirefoxCacheEntriesOnly)
{
    TempDir dir;
    const std::string entry = "0123456789ABCDEF0123456789ABCDEF01234567";
    MakeFile(dir, "cache/mozilla/firefox/abc.default/cache2/entries/" + entry);
    MakeFile(dir, "cache/mozilla/firefox/abc.default/cache2/index");
    MakeFile(dir, "cache/mozilla/firefox/abc.default/startupCache/" + std::string(40, 'z'));
    ScopedEnvironment cache("XDG_CACHE_HOME", dir.File("cache"));

    TScanSetup setup;
    setup.targets = dir.File("cache");
    setup.options = {11};
    TScanResult result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");
    EXPECT_THAT(FoundUnder(result, dir.File("cache/mozilla/firefox"), {11}),
                ElementsAre("abc.default/cache2/entries/" + entry));
}
#endif

TEST(Scanner, LinksNeverLeadOutsideOrLoop)
{
    TempDir dir, outside;
    MakeFile(dir, "real/f.tmp");
    MakeFile(outside, "secret.tmp", 100 * 1024);
    // Removing the folders must not walk through the links either.
    struct TLinks {
        std::vector<fs::path> paths;
        ~TLinks()
        {
            for (const auto& path : paths)
                scanner_testing::RemoveDirectoryLink(path);
        }
    } links{{dir.Path() / "real" / "loop", dir.Path() / "out"}};
    ASSERT_TRUE(MakeDirectoryLink(dir.Path(), dir.Path() / "real" / "loop"));
    ASSERT_TRUE(MakeDirectoryLink(outside.Path(), dir.Path() / "out"));
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {13, 22};
    setup.customDirectoryMasks = "*";
    TScanResult result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");
    EXPECT_THAT(FoundUnder(result, dir.Str(), {13}), ElementsAre("real/f.tmp"));
    EXPECT_THAT(FoundUnder(result, dir.Str(), {22}), ElementsAre("real"));
    EXPECT_EQ(0, result.Count("Scanning \"" + dir.File("out") + "\"..."));

    // Followed links still end: a directory already entered is not entered again.
    setup.ignoreSymbolicLinks = false;
    result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");
    EXPECT_THAT(FoundUnder(result, dir.Str(), {13}), UnorderedElementsAre("real/f.tmp", "out/secret.tmp"));
    EXPECT_THAT(FoundUnder(result, dir.Str(), {22}), UnorderedElementsAre("real", "out", "real/loop"));
    // The links found as objects are sized as themselves, never through their targets.
    for (const auto& item : result.found) {
        if (item->GetOption() == 22) {
            EXPECT_EQ(1, item->GetSize()) << item->GetPath();
        }
    }
}

#ifdef _WIN32
// Windows names ignore letter case: the same folder named twice is one walk's objects, listed once
// in the spelling of the folders themselves, and not even met again.
TEST(Scanner, TargetsDifferingInLetterCaseFindEachObjectOnce)
{
    TempDir dir;
    MakeFile(dir, "Mixed Case Folder/Inner Folder/found file.tmp");
    MakeFile(dir, "Mixed Case Folder/top level.tmp");
    TScanSetup setup;
    setup.targets = dir.File("Mixed Case Folder") + ";" + dir.File("MIXED CASE FOLDER") + ";" +
                    dir.File("mixed case folder\\inner folder");
    setup.options = {13};
    TScanResult result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");
    EXPECT_THAT(FoundUnder(result, dir.Str()),
                UnorderedElementsAre("Mixed Case Folder/Inner Folder/found file.tmp", "Mixed Case Folder/top level.tmp"));
    EXPECT_EQ(2, result.list->GetCount());
    EXPECT_FALSE(result.AnyStatusStartingWith("Duplicate: "));
}
#endif

namespace {

// A chain whose test fails with an error for some paths.
class TFailingValidators : public IScannerValidators {
public:
    TValidatorSet GetExplicitTypes() override { return TValidatorSet{svFileContents}; }
    void Add(TValidatorType, const TValidatorParameters&) override {}
    bool Validate(TValidatorSet, const std::string& path) override
    {
        stopAskable = stopAskable || (stopRequest && !stopRequest());
        if (path.find("bad") != std::string::npos)
            throw std::runtime_error("cannot read");
        return true;
    }
    void SetStopRequest(std::function<bool()> stopRequested) override { stopRequest = std::move(stopRequested); }

    std::function<bool()> stopRequest;
    bool stopAskable = false;  // a long check could have asked whether the scan was stopped
};

} // namespace

TEST(Scanner, ErrorsSkipTheObjectOrEndTheScanOnce)
{
    TempDir dir;
    MakeFile(dir, "bad.tmp");
    MakeFile(dir, "good.tmp");
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {13};
    const auto failing = std::make_shared<TFailingValidators>();
    setup.validators = failing;
    TScanResult result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");
    EXPECT_THAT(FoundUnder(result, dir.Str()), ElementsAre("good.tmp"));
    EXPECT_TRUE(failing->stopAskable);
    EXPECT_FALSE(failing->stopRequest) << "the finished scan leaves no stop request behind";

    // A window that fails while being told about a finding still hears that the scan ended, and
    // that an error, not the user, ended it.
    setup.validators = nullptr;
    setup.stopWhen = [](const std::string& text) {
        if (text.compare(0, 6, "Found:") == 0)
            throw std::runtime_error("window gone");
        return false;
    };
    result = RunScan(setup);
    ExpectOneFinish(result, "Scan stopped by an error: window gone");
}

#ifndef _WIN32
TEST(Scanner, RecycleBinIsOneObject)
{
    TempDir dir;
    ScopedEnvironment data("XDG_DATA_HOME", dir.File("data"));
    TScanSetup setup;
    setup.options = {1};
    TScanResult result = RunScan(setup);
    EXPECT_EQ(0, result.list->GetCount());
    EXPECT_EQ(0, result.Count("Scanning..."));

    for (int i = 0; i < 1234; ++i)
        MakeFile(dir, "data/Trash/files/f" + std::to_string(i), 100);
    MakeDir(dir, "data/Trash/info");
    result = RunScan(setup);
    ExpectOneFinish(result, "Scan complete.");
    ASSERT_EQ(1u, result.found.size());
    EXPECT_EQ("1,234 object(s)", result.found[0]->GetPath());
    EXPECT_EQ(ShellFolderRecycleBin, result.found[0]->GetShellFolder());
    EXPECT_EQ(1, result.found[0]->GetOption());
    EXPECT_EQ(TNumberRoutines::BytesToKo(123400), result.found[0]->GetSize());
    EXPECT_EQ(0, result.Count("Scanning..."));
}
#endif

// Nested folders found as objects each count everything below them, though the walk sizes the
// tree only once, and though an earlier option's walk (20) read and let go of their folders.
TEST(Scanner, NestedFolderObjectsEachCountWhatLiesBelowThem)
{
    TempDir dir;
    MakeFile(dir, "a/one", 2048);
    MakeFile(dir, "a/b/two", 4096);
    MakeFile(dir, "a/b/c/three", 8192);
    MakeFile(dir, "a/d/four", 1024);
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {20, 22};
    setup.customDirectoryMasks = "*";
    const TScanResult result = RunScan(setup);
    std::map<std::string, int64_t> sizes;
    for (const auto& item : result.found)
        if (item->GetOption() == 22)
            sizes[item->GetPath().substr(dir.Str().size() + 1)] = item->GetSize();
    const std::string sep(1, platform::PathSeparator());
    EXPECT_EQ((std::map<std::string, int64_t>{{"a", 15}, {"a" + sep + "b", 12}, {"a" + sep + "b" + sep + "c", 8},
                                              {"a" + sep + "d", 1}}),
              sizes);

    // A folder found only deeper down is sized through its parent, let go by option 20's walk.
    setup.customDirectoryMasks = "b";
    const TScanResult deeper = RunScan(setup);
    const auto found = std::find_if(deeper.found.begin(), deeper.found.end(),
                                    [](const auto& item) { return item->GetOption() == 22; });
    ASSERT_NE(deeper.found.end(), found);
    EXPECT_EQ(12, (*found)->GetSize()) << (*found)->GetPath();
}

// The same folder named twice, directly or through a link, is one walk's objects: each is listed
// once, not once per name.
TEST(Scanner, TargetsLeadingToTheSameFolderListEachObjectOnce)
{
    TempDir dir;
    for (const char* name : {"t/a.tmp", "t/b.tmp", "t/sub/c.tmp"})
        MakeFile(dir, name);
    struct TLinks {
        std::vector<fs::path> paths;
        ~TLinks()
        {
            for (const auto& path : paths)
                scanner_testing::RemoveDirectoryLink(path);
        }
    } links{{dir.Path() / "same", dir.Path() / "inner"}};
    ASSERT_TRUE(MakeDirectoryLink(dir.Path() / "t", dir.Path() / "same"));
    ASSERT_TRUE(MakeDirectoryLink(dir.Path() / "t" / "sub", dir.Path() / "inner"));
    TScanSetup setup;
    setup.options = {13};
    for (const std::string& targets : {dir.File("t") + ";" + dir.File("same") + ";" + dir.File("inner"),
                                       dir.File("inner") + ";" + dir.File("same")}) {
        setup.targets = targets;
        const TScanResult result = RunScan(setup);
        ExpectOneFinish(result, "Scan complete.");
        EXPECT_EQ(3, result.list->GetCount()) << targets;
        EXPECT_EQ(3, result.counters->GetFoundCount()) << targets;
    }
}

#ifndef _WIN32
namespace {

// A chain of folders made one below the other through handles: a path this long cannot be made
// (or removed) by name.
void MakeChain(const std::string& top, const std::string& name, int depth, const std::string& file)
{
    int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(0, mkdirat(fd, name.c_str(), 0755));
        const int below = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(fd = below, 0);
    }
    const int made = openat(fd, file.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(made, 0);
    ASSERT_EQ(3, write(made, "abc", 3));
    ::close(made);
    ::close(fd);
}

// Lifts the chain's second folder into its top, level by level, so each step is a short path.
void RemoveChain(const std::string& top, const std::string& name)
{
    const std::string first = top + "/" + name, lifted = top + "/lifted";
    for (;;) {
        std::error_code ignored;
        fs::rename(first + "/" + name, lifted, ignored);
        if (ignored) {
            fs::remove_all(first, ignored);
            return;
        }
        fs::remove_all(first, ignored);
        fs::rename(lifted, first, ignored);
    }
}

} // namespace

// No depth or path length hides anything: 2,100 folders deep and a path past 4,096 bytes, walked
// and sized with far fewer handles open than folders.
TEST(Scanner, DeepTreesAndLongPathsAreScannedWithFewHandles)
{
    TempDir dir;
    const std::string name = "dd";
    MakeFile(dir, "top/top.zq1");
    MakeChain(dir.File("top"), name, 2100, "deep.zq1");
    struct TRemove {
        std::string top, name;
        ~TRemove() { RemoveChain(top, name); }
    } remove{dir.File("top"), name};

    rlimit was{};
    ASSERT_EQ(0, getrlimit(RLIMIT_NOFILE, &was));
    rlimit few = was;
    few.rlim_cur = 150;
    ASSERT_EQ(0, setrlimit(RLIMIT_NOFILE, &few));
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {21, 22};
    setup.customFileMasks = "*.zq1";
    setup.customDirectoryMasks = "top";
    const TScanResult result = RunScan(setup);
    setrlimit(RLIMIT_NOFILE, &was);

    ExpectOneFinish(result, "Scan complete.");
    const auto files = FoundUnder(result, dir.File("top"), {21});
    ASSERT_EQ(2u, files.size());
    EXPECT_EQ("top.zq1", files[0]);
    EXPECT_EQ(2100 * (name.size() + 1) + 8, files[1].size());
    // The folder object holds the file 2,100 folders below it too.
    const auto top = result.list->FindByPath(dir.File("top"));
    ASSERT_TRUE(top);
    EXPECT_EQ(4, top->GetByteSize());
}

// What cannot be read is counted and said, beside the usual closing text, and the rest of the tree
// is still walked.
TEST(Scanner, FoldersThatCannotBeReadAreCountedAndSaid)
{
    TempDir dir;
    MakeFile(dir, "open/a.tmp");
    MakeFile(dir, "locked/hidden.tmp");
    MakeFile(dir, "locked2/hidden.tmp");
    MakeFile(dir, "z/b.tmp");
    fs::permissions(dir.Path() / "locked", fs::perms::none);
    fs::permissions(dir.Path() / "locked2", fs::perms::none);
    // Root reads every folder: the scan runs as an ordinary user in a child of its own.
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(77);
        TScanSetup setup;
        setup.targets = dir.Str();
        setup.options = {13, 21};
        setup.customFileMasks = "*.tmp";
        const TScanResult result = RunScan(setup);
        auto report = TEngineServices::CreateScanReport(TEngineServices::CreateCleanupOptionsList(), result.list);
        const bool said = result.statusTexts.back() == "Scan complete. 2 folders could not be read." &&
                          report->GetLines().back() == "2 folders could not be read.";
        const bool walked = FoundUnder(result, dir.Str(), {13}) == std::vector<std::string>{"open/a.tmp", "z/b.tmp"};
        _exit(!said ? 1 : !walked ? 2 : 0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    fs::permissions(dir.Path() / "locked", fs::perms::owner_all);
    fs::permissions(dir.Path() / "locked2", fs::perms::owner_all);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "cannot act as an ordinary user here";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "1: the closing text or report line, 2: what was found";
}

// A temporary folder whose name holds ";" is still one folder, left to the temporary folders'
// option, and a folder named like a piece of it is not.
TEST(Scanner, TemporaryFolderNamesMayHoldSemicolons)
{
    TempDir dir;
    MakeFile(dir, "t;mp/x.tmp");
    MakeFile(dir, "mp/y.tmp");
    const std::string temp = dir.File("t;mp");
    ScopedEnvironment tmpdir("TMPDIR", temp), tmp("TMP", temp), tmpAlso("TEMP", temp);
    TScanSetup setup;
    setup.targets = dir.Str();
    setup.options = {13};
    const TScanResult result = RunScan(setup);
    EXPECT_THAT(FoundUnder(result, dir.Str(), {13}), ElementsAre("mp/y.tmp"));
}
#endif
