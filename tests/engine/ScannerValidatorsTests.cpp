#include "ScannerTestSupport.h"
#include "TestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include "engine/uEngineImplementation.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"
#include "support/VelaTimeRoutines.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/win32/Win32Text.h"
#include "support/VelaDetect.h"

#include <objbase.h>
#include <shlobj.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::shared_ptr<IScannerValidators> Chain(TValidatorType type, const TValidatorParameters& parameters,
                                          bool ignoreOnImplicit = false)
{
    auto chain = TEngineServices::CreateScannerValidators(ignoreOnImplicit);
    chain->Add(type, parameters);
    return chain;
}

bool Passes(TValidatorType type, const TValidatorParameters& parameters, const std::string& path)
{
    return Chain(type, parameters)->Validate(TValidatorSet{type}, path);
}

#ifdef _WIN32
// A shell link to target, written with the shell's own link object.
void WriteShellLink(const std::string& path, const std::string& target)
{
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(platform::Widen(target).c_str());
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(platform::Widen(path).c_str(), TRUE)));
    file->Release();
    link->Release();
    if (SUCCEEDED(init))
        CoUninitialize();
}
#endif

void MakeOneDayOld(const std::string& path)
{
    const auto path_ = testing_support::PathOf(path);
    std::filesystem::last_write_time(path_, std::filesystem::last_write_time(path_) - std::chrono::hours(24));
}

} // namespace

TEST(ScannerValidators, DateTextAndFileDates)
{
    double date = 0;
    ASSERT_TRUE(TValidatorDateText::Parse("2024-02-29", date));
    EXPECT_EQ(TValidatorDateText::Format(date), "2024-02-29");
    for (const char* bad : {"2023-02-29", "29/02/2024", "2024-2-29", "", "2024-02-29x"})
        EXPECT_FALSE(TValidatorDateText::Parse(bad, date)) << bad;

    TempDir dir;
    const std::string today = dir.File("today.txt"), yesterday = dir.File("yesterday.txt");
    WriteBytes(today, "x");
    WriteBytes(yesterday, "x");
    MakeOneDayOld(yesterday);
    const std::string day = TValidatorDateText::Format(TTimeRoutines::Now());

    EXPECT_TRUE(Passes(svFileDate, {dmLaterThan, day}, today));
    EXPECT_FALSE(Passes(svFileDate, {dmLaterThan, day}, yesterday));
    EXPECT_FALSE(Passes(svFileDate, {dmEarlierThan, day}, today));
    EXPECT_TRUE(Passes(svFileDate, {dmEarlierThan, day}, yesterday));
    EXPECT_TRUE(Passes(svFileDate, {dmModified, day}, today));
    EXPECT_FALSE(Passes(svFileDate, {dmModified, day}, yesterday));
    EXPECT_FALSE(Passes(svFileDate, {99, day}, today));
    EXPECT_FALSE(Passes(svFileDate, {}, today));

    // Creation time only where the file system records it.
    platform::DirectoryEntry entry;
    ASSERT_TRUE(platform::QueryEntry(today, entry));
    EXPECT_EQ(Passes(svFileDate, {dmCreated, day}, today), entry.creationTime != platform::kTimeNotRecorded);

    EXPECT_THROW(Passes(svFileDate, {dmModified, day}, dir.File("missing")), EOSError);
}

TEST(ScannerValidators, Attributes)
{
    TempDir dir;
    const std::string plain = dir.File("plain.txt"), hidden = dir.File(".hidden.txt"), locked = dir.File("locked.txt");
    for (const auto& path : {plain, hidden, locked})
        WriteBytes(path, "x");
    platform::SetAttributesAt(hidden, platform::GetAttributesAt(hidden) | platform::kAttrHidden);
    platform::SetAttributesAt(locked, platform::GetAttributesAt(locked) | platform::kAttrReadOnly);
    // Whether new files carry the archive bit is the platform's business; match what it says.
    const bool archive = (platform::GetAttributesAt(plain) & platform::kAttrArchive) != 0;

    EXPECT_TRUE(Passes(svFileAttributes, {archive, false, false, false}, plain));
    EXPECT_FALSE(Passes(svFileAttributes, {archive, false, false, false}, hidden));
    EXPECT_TRUE(Passes(svFileAttributes, {archive, false, true, false}, hidden));
    EXPECT_FALSE(Passes(svFileAttributes, {archive, false, false, false}, locked));
    EXPECT_TRUE(Passes(svFileAttributes, {archive, true, false, false}, locked));
    EXPECT_FALSE(Passes(svFileAttributes, {!archive, false, false, false}, plain));
    // Other bits (here the directory bit) do not take part.
    const bool dirArchive = (platform::GetAttributesAt(dir.Str()) & platform::kAttrArchive) != 0;
    EXPECT_TRUE(Passes(svFileAttributes, {dirArchive, false, false, false}, dir.Str()));
    EXPECT_FALSE(Passes(svFileAttributes, {true, true, true, true}, dir.File("missing")));

    platform::SetAttributesAt(locked, 0);
}

TEST(ScannerValidators, Contents)
{
    TempDir dir;
    const std::string across = dir.File("across.bin"), broken = dir.File("broken.bin");
    std::string bytes(40000, 'a');
    bytes.replace(32766, 6, "NEEDLE"); // starts in the last two bytes of the first 32,768
    WriteBytes(across, bytes);
    bytes.replace(32766, 6, "NEE\0LE", 6);
    WriteBytes(broken, bytes);

    EXPECT_TRUE(Passes(svFileContents, {"NEEDLE", true}, across));
    EXPECT_TRUE(Passes(svFileContents, {"needle", false}, across));
    EXPECT_FALSE(Passes(svFileContents, {"needle", true}, across));
    EXPECT_FALSE(Passes(svFileContents, {"NEEDLE", true}, broken));
    EXPECT_TRUE(Passes(svFileContents, {"LEaa", true}, broken));
    // Ending one byte into the second read: found only when that read steps back the whole length.
    const std::string oneIn = dir.File("one-in.bin");
    std::string late(40000, 'a');
    late.replace(32768 + 1 - 6, 6, "NEEDLE");
    WriteBytes(oneIn, late);
    EXPECT_TRUE(Passes(svFileContents, {"NEEDLE", true}, oneIn));
    EXPECT_TRUE(Passes(svFileContents, {"needle", false}, oneIn));
    EXPECT_TRUE(Passes(svFileContents, {"", true}, dir.File("missing"))); // not even opened
    EXPECT_THROW(Passes(svFileContents, {"x", true}, dir.File("missing")), EOSError);

    // Texts as long as a whole read still move forward and still find what is there.
    const std::string longText(40000, 'q');
    const std::string haystack = std::string(70000, 'z') + longText + std::string(100, 'z');
    const std::string big = dir.File("big.bin");
    WriteBytes(big, haystack);
    EXPECT_TRUE(Passes(svFileContents, {longText, true}, big));
    EXPECT_FALSE(Passes(svFileContents, {longText + "q", true}, big));

#ifndef _WIN32
    // System files report a size they do not hold; the search still ends.
    const std::string shortFile = "/sys/devices/system/cpu/online";
    if (std::filesystem::exists(shortFile))
        EXPECT_FALSE(Passes(svFileContents, {"not in there", true}, shortFile));
#endif
}

// Stop must end a search at once, and holes in a sparse file are never read byte by byte.
TEST(ScannerValidators, ContentsSearchStopsAndSkipsHoles)
{
    TempDir dir;
    const std::string late = dir.File("late.bin");
    WriteBytes(late, std::string(1 << 20, 'a') + "NEEDLE");
    auto chain = Chain(svFileContents, {"NEEDLE", true});
    int asked = 0;
    chain->SetStopRequest([&] { return ++asked > 1; });
    EXPECT_FALSE(chain->Validate(TValidatorSet{svFileContents}, late));
    EXPECT_LE(asked, 3);
#ifndef _WIN32
    // 16 GiB that hold one block of data at the end: a few reads, not half a million.
    const std::string sparse = dir.File("sparse.bin");
    WriteBytes(sparse, "");
    std::filesystem::resize_file(sparse, int64_t {16} << 30);
    {
        platform::FileHandle file(sparse, platform::FileAccess::WriteExisting);
        ASSERT_TRUE(file.Seek((int64_t {16} << 30) - 4096));
        ASSERT_EQ(6, file.Write("NEEDLE", 6));
    }
    asked = 0;
    chain->SetStopRequest([&] { return ++asked > 1000; });
    EXPECT_TRUE(chain->Validate(TValidatorSet{svFileContents}, sparse));
    EXPECT_LT(asked, 100);
#endif
}

TEST(ScannerValidators, Size)
{
    TempDir dir;
    const std::string empty = dir.File("empty"), three = dir.File("three");
    WriteBytes(empty, "");
    WriteBytes(three, std::string(3 * 1024, 'x'));

    EXPECT_TRUE(Passes(svFileSize, {3, 3}, three));
    EXPECT_TRUE(Passes(svFileSize, {3, 0}, three));
    EXPECT_TRUE(Passes(svFileSize, {0, 3}, three));
    EXPECT_FALSE(Passes(svFileSize, {4, 0}, three));
    EXPECT_FALSE(Passes(svFileSize, {0, 2}, three));
    EXPECT_TRUE(Passes(svFileSize, {1, 1}, empty)); // an empty file counts 1 Ko
    EXPECT_FALSE(Passes(svFileSize, {0, 0}, empty));
    EXPECT_TRUE(Passes(svFileSize, {0, 0}, dir.Str())); // a directory counts 0 Ko
    EXPECT_FALSE(Passes(svFileSize, {"abc", "2"}, three)); // unreadable bound reads as 0
    EXPECT_FALSE(Passes(svFileSize, {-1, 0}, three)); // compared unsigned: huge minimum
}

TEST(ScannerValidators, EmptyDirectory)
{
    TempDir dir;
    const std::string empty = dir.File("empty"), full = dir.File("full");
    std::filesystem::create_directories(testing_support::PathOf(empty));
    std::filesystem::create_directories(testing_support::PathOf(full));
    WriteBytes(full + "/f", "x");
    EXPECT_TRUE(Passes(svEmptyDirectory, {}, empty));
    EXPECT_TRUE(std::filesystem::is_empty(testing_support::PathOf(empty))); // the probe is gone
    EXPECT_FALSE(Passes(svEmptyDirectory, {}, full));
    EXPECT_FALSE(Passes(svEmptyDirectory, {}, dir.File("full/f")));

#ifndef _WIN32
    // Root writes anywhere, so make the directory immutable instead of read-only.
    const std::string command = "chattr +i '" + empty + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "chattr +i is not available here, so no directory is unwritable for root";
    const bool passed = Passes(svEmptyDirectory, {}, empty);
    std::system(("chattr -i '" + empty + "'").c_str());
    EXPECT_FALSE(passed);
#endif
}

TEST(ScannerValidators, Shortcuts)
{
    TempDir dir;
    const std::string program = dir.File("program.exe");
    WriteBytes(program, "MZ");
    std::filesystem::create_directories(testing_support::PathOf(dir.File("folder")));
    const auto entry = [&](const std::string& name, std::string target) {
        // Backslashes (Windows paths) are escaped in desktop-entry values.
        for (size_t at = 0; (at = target.find('\\', at)) != std::string::npos; at += 2)
            target.insert(at, 1, '\\');
        const std::string path = dir.File(name);
        WriteBytes(path, "[Desktop Entry]\nType=Application\nName=x\nTryExec=" + target + "\nExec=" + target + "\n");
        return path;
    };
    EXPECT_FALSE(Passes(svInvalidShortcut, {}, entry("valid.desktop", program)));
    EXPECT_FALSE(Passes(svInvalidShortcut, {}, entry("folder.desktop", dir.File("folder"))));
#ifdef _WIN32
    // Windows runs no desktop entries: one is no shortcut at all there.
    EXPECT_FALSE(Passes(svInvalidShortcut, {}, entry("broken.desktop", dir.File("gone.exe"))));
    const auto lnk = [&](const std::string& name, const std::string& target) {
        const std::string path = dir.File(name);
        WriteShellLink(path, target);
        return path;
    };
    EXPECT_FALSE(Passes(svInvalidShortcut, {}, lnk("valid.lnk", program)));
    EXPECT_FALSE(Passes(svInvalidShortcut, {}, lnk("folder.lnk", dir.File("folder"))));
    EXPECT_TRUE(Passes(svInvalidShortcut, {}, lnk("broken.lnk", dir.File("gone.exe"))));
    // A 32-bit program on a 64-bit system also tries the target without " (x86)".
    std::filesystem::create_directories(testing_support::PathOf(dir.File("Apps")));
    WriteBytes(dir.File("Apps\\tool.exe"), "MZ");
    const bool redirected = TDetect::GetArchitecture() == ar64 && TDetect::GetProgramArchitecture() == ar32;
    EXPECT_EQ(Passes(svInvalidShortcut, {}, lnk("x86.lnk", dir.File("Apps (X86)\\tool.exe"))), !redirected);
#else
    EXPECT_TRUE(Passes(svInvalidShortcut, {}, entry("broken.desktop", dir.File("gone.exe"))));
    // A program of the user's own is there even when PATH lacks its folder (cron, sudo); a bare
    // name found nowhere is missing; what only the running launcher could tell is kept.
    routines_testing::ScopedEnvironment home("HOME", dir.Str()), path("PATH", dir.File("empty"));
    std::filesystem::create_directories(dir.Path() / ".local" / "bin");
    WriteBytes(dir.File(".local/bin/mine"), "#!/bin/sh\n");
    std::filesystem::permissions(dir.Path() / ".local" / "bin" / "mine", std::filesystem::perms::owner_all);
    EXPECT_FALSE(Passes(svInvalidShortcut, {}, entry("mine.desktop", "mine")));
    EXPECT_TRUE(Passes(svInvalidShortcut, {}, entry("nowhere.desktop", "qs-no-such-program")));
    for (const char* unjudged : {"bin/run", "$APPDIR/run", "%U", ""})
        EXPECT_FALSE(Passes(svInvalidShortcut, {}, entry("unjudged.desktop", unjudged))) << unjudged;
#endif
    // No file-system target at all is not reported.
    EXPECT_FALSE(Passes(svInvalidShortcut, {}, dir.File("no-such.lnk")));
}

// A desktop with a broken desktop entry and a broken shell link: only what the system would run
// as a shortcut is an invalid one.
TEST(ScannerValidators, DesktopShortcutsAreTheSystemsOwn)
{
    TempDir dir;
    const std::string gone = dir.File("gone.exe");
    scanner_testing::TScanSetup setup;
    setup.options = {8};
#ifdef _WIN32
    // The shell's desktops cannot be moved for a test: uniquely named files come and go in the
    // common one (Wine's own folder), and the user's (Wine links it into the home folder) is left out.
    const std::string desktop = TDirectoryRoutines::GetCommonDesktopDir();
    if (desktop.empty())
        GTEST_SKIP() << "no common desktop folder";
    setup.excludeDirectories = TDirectoryRoutines::GetDesktopDir();
    const std::string prefix = testing_support::Utf8(dir.Path().filename()) + "-";
#else
    const std::string desktop = dir.File("Desktop");
    std::filesystem::create_directories(testing_support::PathOf(desktop));
    routines_testing::ScopedEnvironment xdg("XDG_DESKTOP_DIR", desktop);
    const std::string prefix;
#endif
    struct TMade {
        std::vector<std::string> paths;
        ~TMade()
        {
            std::error_code ignored;
            for (const auto& path : paths)
                std::filesystem::remove(testing_support::PathOf(path), ignored);
        }
    } made;
    const std::string entry = TFileRoutines::IncludeTrailingSeparator(desktop) + prefix + "broken.desktop";
    const std::string link = TFileRoutines::IncludeTrailingSeparator(desktop) + prefix + "broken.lnk";
    made.paths = {entry, link};
    std::string escaped = gone;
    for (size_t at = 0; (at = escaped.find('\\', at)) != std::string::npos; at += 2)
        escaped.insert(at, 1, '\\');
    WriteBytes(entry, "[Desktop Entry]\nType=Application\nName=x\nExec=" + escaped + "\n");
#ifdef _WIN32
    WriteShellLink(link, gone);
#else
    WriteBytes(link, "no shell link");
#endif

    const auto result = scanner_testing::RunScan(setup);
    std::vector<std::string> found;
    for (const auto& name : scanner_testing::FoundUnder(result, desktop, {8}))
        if (name.compare(0, prefix.size(), prefix) == 0)
            found.push_back(name.substr(prefix.size()));
#ifdef _WIN32
    EXPECT_EQ(std::vector<std::string>{"broken.lnk"}, found);
#else
    EXPECT_EQ(std::vector<std::string>{"broken.desktop"}, found);
#endif
}

TEST(ScannerValidators, Chain)
{
    TempDir dir;
    const std::string file = dir.File("f.txt");
    WriteBytes(file, "x");
    std::filesystem::create_directories(testing_support::PathOf(dir.File("empty")));

    // Size 0..0 rejects every file.
    for (bool ignore : {false, true}) {
        auto chain = Chain(svFileSize, {0, 0}, ignore);
        EXPECT_EQ(chain->GetExplicitTypes(), TValidatorSet{svFileSize});
        EXPECT_TRUE(chain->Validate(TValidatorSet{svNone}, file)); // nothing runs
        const TValidatorSet active = chain->GetExplicitTypes() | TValidatorSet{svNone};
        EXPECT_EQ(chain->Validate(active, file), ignore);
        // The implicit test still decides with ignore-on-implicit set.
        const TValidatorSet emptyDir = chain->GetExplicitTypes() | TValidatorSet{svEmptyDirectory};
        EXPECT_FALSE(chain->Validate(emptyDir, dir.Str()));
        EXPECT_TRUE(chain->Validate(emptyDir, dir.File("empty")));
    }
    // An explicit validator without parameters never passes.
    EXPECT_FALSE(Passes(svFileContents, {}, file));
    EXPECT_FALSE(Passes(svFileAttributes, {}, file));
}
