#include "ExchangeTestSupport.h"
#include "FifoTestSupport.h"
#include "RoutinesTestHelpers.h"
#include "TestSupport.h"

#include "platform/PlatformEnvironment.h"
#include "support/VelaRoutines.h"

#include <gtest/gtest.h>

#include <cstring>

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#else
#include <fcntl.h>
#include <stdio.h>
#endif

namespace fs = std::filesystem;
using routines_testing::ScopedEnvironment;
using routines_testing::Sep;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(RoutinesLocations, TemporaryDirectoriesFallBackInOrder)
{
    TempDir tmp;
    ScopedEnvironment tmpdir = ScopedEnvironment::Unset("TMPDIR");
    ScopedEnvironment temp = ScopedEnvironment::Unset("TEMP");
    {
        ScopedEnvironment tmpVar("TMP", tmp.Str());
        EXPECT_EQ(TDirectoryRoutines::GetTempDir(), tmp.Str() + Sep());
    }
    ScopedEnvironment missing("TMP", tmp.File("nowhere"));
    const std::string fallback = TDirectoryRoutines::GetTempDir();
#ifdef _WIN32
    // The long-name form carries the name's case as stored.
    EXPECT_STRCASEEQ(fallback.c_str(), TDirectoryRoutines::GetWindowsTempDir().c_str());
#else
    EXPECT_EQ(fallback, "/tmp/");
    EXPECT_EQ(TDirectoryRoutines::GetWindowsTempDir(), fs::is_directory("/var/tmp") ? "/var/tmp/" : "");
#endif
    for (const std::string& dir : TDirectoryRoutines::GetTemporaryDirectories())
        EXPECT_TRUE(fs::is_directory(testing_support::PathOf(dir))) << dir;
    EXPECT_TRUE(TDirectoryRoutines::GetPrefetchDir().empty() || fs::is_directory(TDirectoryRoutines::GetPrefetchDir()));

    // A ";" in a folder's name leaves it one folder: never the unrelated "docs" beside it.
    fs::create_directories(tmp.Path() / "docs");
    fs::create_directories(tmp.Path() / "docs;x");
    ScopedEnvironment semicolon("TMP", tmp.File("docs;x"));
    const TStringList dirs = TDirectoryRoutines::GetTemporaryDirectories();
    ASSERT_FALSE(dirs.empty());
    EXPECT_EQ(dirs.front(), tmp.File("docs;x") + Sep());
    EXPECT_EQ(dirs.size(), TDirectoryRoutines::GetWindowsTempDir().empty() ? 1u : 2u);
}

TEST(RoutinesLocations, SkypeFoldersAndPathMapping)
{
    TempDir base;
    for (const char* dir : {"My Skype Received Files/Pictures", "alice/Pictures", "alice/media_messaging/media_cache_v3",
                            "bob/media_messaging", "carol/Pictures"})
        fs::create_directories(base.Path() / testing_support::PathOf(dir));
    const std::string root = base.Str() + Sep();
    TStringList found = TDirectoryRoutines::GetSkypeDirsIn(base.Str());
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), root + "My Skype Received Files");
    // Accounts come in the order the folder lists them; within one, Pictures comes first.
    const auto at = [&](const std::string& dir) { return std::find(found.begin(), found.end(), root + dir) - found.begin(); };
    EXPECT_LT(at("alice" + Sep() + "Pictures"), at("alice" + Sep() + "media_messaging" + Sep() + "media_cache_v3"));
    std::sort(found.begin() + 1, found.end());
    EXPECT_EQ(found, (TStringList{root + "My Skype Received Files", root + "My Skype Received Files" + Sep() + "Pictures",
                                  root + "alice" + Sep() + "Pictures",
                                  root + "alice" + Sep() + "media_messaging" + Sep() + "media_cache_v3",
                                  root + "carol" + Sep() + "Pictures"}));
    EXPECT_TRUE(TDirectoryRoutines::GetSkypeDirsIn(base.File("none")).empty());

    fs::create_directories(base.Path() / "alice" / ".Trashes");
    const TStringList mapped =
        TDirectoryRoutines::MapPaths({base.File("alice"), base.File("bob"), ""}, TDirectoryRoutines::GetTrashDir);
    EXPECT_EQ(mapped, (TStringList{base.File("alice") + Sep() + ".Trashes"}));
    EXPECT_TRUE(TDirectoryRoutines::MapPaths({base.File("alice")}, nullptr).empty());
}

TEST(RoutinesLocations, EnvironmentExpansion)
{
    ScopedEnvironment value("QS_ROUTINES_VALUE", " padded ");
    EXPECT_EQ(TAPIRoutines::ExpandEnvironment("%QS_ROUTINES_VALUE%"), "padded");
    EXPECT_EQ(TAPIRoutines::ExpandEnvironment("a%QS_ROUTINES_VALUE%b"), "a padded b");
    EXPECT_EQ(TAPIRoutines::ExpandEnvironment("%QS_ROUTINES_UNSET%"), "%QS_ROUTINES_UNSET%");
    EXPECT_EQ(TAPIRoutines::ExpandEnvironment(""), "");

    ScopedEnvironment w64("ProgramW6432", "C:\\Program Files");
    EXPECT_EQ(TAPIRoutines::ApplyProgramFilesFixup("%programfiles%\\App\\a.exe"), "%ProgramW6432%\\App\\a.exe");
    // The (x86) variables already name the folder they mean.
    EXPECT_EQ(TAPIRoutines::ApplyProgramFilesFixup("%ProgramFiles(x86)%\\App\\a.exe"), "%ProgramFiles(x86)%\\App\\a.exe");
    EXPECT_EQ(TAPIRoutines::ApplyProgramFilesFixup("%CommonProgramFiles(x86)%\\x"), "%CommonProgramFiles(x86)%\\x");
    ScopedEnvironment common("CommonProgramW6432", "C:\\Program Files\\Common Files");
    EXPECT_EQ(TAPIRoutines::ApplyProgramFilesFixup("%CommonProgramFiles%\\x"), "%CommonProgramW6432%\\x");
}

#ifndef _WIN32
TEST(RoutinesLocations, DesktopEntriesResolveToTheirProgram)
{
    TempDir tmp;
    const std::string program = tmp.File("tool");
    WriteBytes(program, "#!/bin/sh\n");
    fs::permissions(testing_support::PathOf(program), fs::perms::owner_all);
    ScopedEnvironment path("PATH", tmp.File("empty") + std::string(1, platform::PathListSeparator()) + tmp.Str());

    WriteBytes(tmp.File("a.desktop"), "[Desktop Entry]\nType=Application\nTryExec=" + tmp.File("missing") +
                                          "\nExec=tool %U\n");
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("a.desktop")), tmp.File("missing"));
    WriteBytes(tmp.File("b.DESKTOP"), "# c\n[Desktop Entry]\r\nExec=env LANG=C tool --x %f\r\n[Desktop Action New]\nExec=other\n");
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("b.DESKTOP")), tmp.Str() + Sep() + "tool");
    WriteBytes(tmp.File("e.desktop"), "[Desktop Entry]\nExec=env -u LANG tool %f\n");
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("e.desktop")), tmp.Str() + Sep() + "tool");
    WriteBytes(tmp.File("c.desktop"), "[Desktop Entry]\nExec=\"/opt/My App/run\" --flag\n");
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("c.desktop")), "/opt/My App/run");
    WriteBytes(tmp.File("d.desktop"), "[Desktop Entry]\nType=Link\nURL=https://example.org\n");
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("d.desktop")), "");
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("none.desktop")), "");
    // Lines longer than one read, and one that spans two reads.
    WriteBytes(tmp.File("f.desktop"), "[Desktop Entry]\n#" + std::string(9000, 'x') + "\n#" + std::string(3260, 'y') +
                                          "\nExec=/opt/long/run\n");
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("f.desktop")), "/opt/long/run");

    const std::string fifo = tmp.File("fifo.desktop");
    ASSERT_TRUE(testing_support::MakeFifo(fifo));
    std::string target = "not read";
    EXPECT_TRUE(testing_support::FinishesWithoutWaitingOn(fifo, [&] { target = TAPIRoutines::ResolveShortcut(fifo); }));
    EXPECT_EQ(target, "");

    // A program in the user's own folder is found with a PATH that lacks it (cron, sudo); one
    // that is nowhere is missing; what only the running launcher could fill in cannot be judged.
    ScopedEnvironment home("HOME", tmp.Str());
    fs::create_directories(tmp.Path() / ".local" / "bin");
    fs::copy_file(tmp.Path() / "tool", tmp.Path() / ".local" / "bin" / "mine");
    const struct {
        const char* exec;
        TAPIRoutines::TShortcutTarget judged;
        std::string program;
    } cases[] = {
        {"mine --new-window", TAPIRoutines::stTarget, tmp.File(".local/bin/mine")},
        {"qs-no-such-program %U", TAPIRoutines::stMissingProgram, "qs-no-such-program"},
        {"/opt/qs-gone/run", TAPIRoutines::stTarget, "/opt/qs-gone/run"},
        {"", TAPIRoutines::stUnjudged, ""},
        {"%U", TAPIRoutines::stUnjudged, ""},
        {"$HOME/bin/run", TAPIRoutines::stUnjudged, ""},
        {"${SNAP}/run", TAPIRoutines::stUnjudged, ""},
        {"bin/run", TAPIRoutines::stUnjudged, ""},
        {"./run", TAPIRoutines::stUnjudged, ""},
    };
    for (const auto& c : cases) {
        WriteBytes(tmp.File("judged.desktop"), std::string("[Desktop Entry]\nExec=") + c.exec + "\n");
        std::string judged = "stale";
        EXPECT_EQ(TAPIRoutines::JudgeShortcut(tmp.File("judged.desktop"), judged), c.judged) << c.exec;
        EXPECT_EQ(judged, c.program) << c.exec;
    }
    std::string judged = "stale";
    EXPECT_EQ(TAPIRoutines::JudgeShortcut(tmp.File("unreadable.desktop"), judged), TAPIRoutines::stUnjudged);
    EXPECT_EQ(judged, "");
}

TEST(RoutinesLocations, DesktopFolderFromUserDirs)
{
    TempDir tmp;
    fs::create_directories(tmp.Path() / "config");
    fs::create_directories(tmp.Path() / "Schreibtisch");
    fs::create_directories(tmp.Path() / "Desktop");
    ScopedEnvironment home("HOME", tmp.Str()), config("XDG_CONFIG_HOME", tmp.File("config"));
    ScopedEnvironment desktop = ScopedEnvironment::Unset("XDG_DESKTOP_DIR");
    const std::string dirs = tmp.File("config/user-dirs.dirs");
    WriteBytes(dirs, "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                     "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(TDirectoryRoutines::GetDesktopDir(), tmp.File("Schreibtisch"));

    fs::remove(testing_support::PathOf(dirs));
    ASSERT_TRUE(testing_support::MakeFifo(dirs));
    std::string found;
    EXPECT_TRUE(testing_support::FinishesWithoutWaitingOn(dirs, [&] { found = TDirectoryRoutines::GetDesktopDir(); }));
    EXPECT_EQ(found, tmp.File("Desktop"));

    // "$HOME/" is how the desktop is turned off: the home folder, however spelled, or one above
    // it, is no desktop at all.
    fs::remove(testing_support::PathOf(dirs));
    WriteBytes(dirs, "XDG_DESKTOP_DIR=\"$HOME/\"\n");
    EXPECT_EQ(TDirectoryRoutines::GetDesktopDir(), "");
    EXPECT_TRUE(TDirectoryRoutines::GetDesktopDirs().empty());
    fs::create_directory_symlink(tmp.Path(), tmp.Path() / "Desktop" / "home");
    for (const std::string& spelled : {tmp.Str(), tmp.Str() + "//", tmp.File("Desktop/.."), tmp.File("Desktop/home"),
                                       testing_support::Utf8(tmp.Path().parent_path())}) {
        ScopedEnvironment variable("XDG_DESKTOP_DIR", spelled);
        EXPECT_EQ(TDirectoryRoutines::GetDesktopDir(), "") << spelled;
    }
    ScopedEnvironment below("XDG_DESKTOP_DIR", tmp.File("Desktop"));
    EXPECT_EQ(TDirectoryRoutines::GetDesktopDir(), tmp.File("Desktop"));
}
#endif

#ifndef _WIN32
TEST(RoutinesLocations, FreedesktopTrashIsTheRecycleBin)
{
    TempDir data, outside;
    ScopedEnvironment xdg("XDG_DATA_HOME", data.Str());
    int64_t size = -1, count = -1;
    ASSERT_TRUE(TAPIRoutines::QueryRecycleBin(size, count));
    EXPECT_EQ(size, 0);
    EXPECT_EQ(count, 0);

    fs::create_directories(data.Path() / "Trash" / "files" / "folder");
    fs::create_directories(data.Path() / "Trash" / "info");
    WriteBytes(data.File("Trash/files/a.txt"), "12345");
    WriteBytes(data.File("Trash/files/.b"), "123");
    WriteBytes(data.File("Trash/files/folder/c"), "12");
    WriteBytes(data.File("Trash/info/a.txt.trashinfo"), "[Trash Info]\n");
    WriteBytes(data.File("Trash/directorysizes"), "5 1 a.txt\n");
    WriteBytes(outside.File("precious"), std::string(4096, 'p'));
    ASSERT_TRUE(routines_testing::MakeDirectoryLink(outside.Path(), data.Path() / "Trash" / "files" / "link"));
    ASSERT_TRUE(TAPIRoutines::QueryRecycleBin(size, count));
    EXPECT_EQ(count, 4);
    // The link is an item, but nothing of what it points to counts.
    EXPECT_EQ(size, 10);

    EXPECT_TRUE(TAPIRoutines::EmptyRecycleBin());
    EXPECT_TRUE(fs::is_empty(data.Path() / "Trash" / "files"));
    EXPECT_TRUE(fs::is_empty(data.Path() / "Trash" / "info"));
    EXPECT_FALSE(fs::exists(data.Path() / "Trash" / "directorysizes"));
    EXPECT_TRUE(fs::exists(outside.Path() / "precious"));
    ASSERT_TRUE(TAPIRoutines::QueryRecycleBin(size, count));
    EXPECT_EQ(count, 0);
}

// The Trash's owner keeps exchanging files/ and info/ with links to a folder of someone else's while
// the Trash is sized and emptied (as root would): nothing there is ever counted or removed.
TEST(RoutinesLocations, TrashPartsSwappedForLinksLeadNowhereOutside)
{
    constexpr int kFiles = 40, kAttempts = 3000;
    TempDir data, outside;
    ScopedEnvironment xdg("XDG_DATA_HOME", data.Str());
    const auto refill = [&] {
        for (int i = 0; i < kFiles; ++i)
            WriteBytes(outside.File("f" + std::to_string(i)), "outside");
    };
    refill();
    const fs::path trash = data.Path() / "Trash";
    for (const char* part : {"files", "info"}) {
        fs::create_directories(trash / part);
        fs::create_directory_symlink(outside.Path(), trash / (std::string("swap-") + part));
    }
    using testing_support::Utf8;
    testing_support::TNameExchanger swapper({{Utf8(trash / "files"), Utf8(trash / "swap-files")},
                                             {Utf8(trash / "info"), Utf8(trash / "swap-info")}});
    int counted = 0, lost = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        int64_t size = 0, count = 0;
        TAPIRoutines::QueryRecycleBin(size, count);
        counted += count != 0;
        TAPIRoutines::EmptyRecycleBin();
        if (std::distance(fs::directory_iterator(outside.Path()), {}) != kFiles) {
            ++lost;
            refill();
        }
    }
    EXPECT_GT(swapper.Stop(), 1000) << "the race never ran";
    EXPECT_EQ(0, lost) << "attempts that emptied the outside folder, of " << kAttempts;
    EXPECT_EQ(0, counted) << "attempts that counted the outside folder, of " << kAttempts;
}
#else
TEST(RoutinesLocations, ShellLinksAndTheRecycleBin)
{
    TempDir tmp;
    const std::string target = tmp.File("target.exe");
    WriteBytes(target, "MZ");
    const auto makeLink = [](const std::string& linkPath, const std::string& to) {
        CoInitialize(nullptr);
        IShellLinkW* link = nullptr;
        bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&link)));
        if (ok) {
            IPersistFile* file = nullptr;
            link->SetPath(testing_support::PathOf(to).wstring().c_str());
            ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                 SUCCEEDED(file->Save(testing_support::PathOf(linkPath).wstring().c_str(), TRUE));
            if (file)
                file->Release();
            link->Release();
        }
        CoUninitialize();
        return ok;
    };
    ASSERT_TRUE(makeLink(tmp.File("present.lnk"), target));
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("present.lnk")), target);
    ASSERT_TRUE(makeLink(tmp.File("gone.lnk"), tmp.File("gone.exe")));
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("gone.lnk")), tmp.File("gone.exe"));
    EXPECT_EQ(TAPIRoutines::ResolveShortcut(tmp.File("none.lnk")), "");

    int64_t size = -1, count = -1;
    EXPECT_TRUE(TAPIRoutines::QueryRecycleBin(size, count));
    EXPECT_GE(size, 0);
    EXPECT_GE(count, 0);
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (!dataHome || !std::strstr(dataHome, "wine-data"))
        return; // the bin here is the machine's own: query only

    // Empty, then one file of 5 bytes sent to the bin, then emptied again.
    ASSERT_TRUE(TAPIRoutines::EmptyRecycleBin(nullptr));
    ASSERT_TRUE(TAPIRoutines::QueryRecycleBin(size, count));
    EXPECT_EQ(0, count);
    WriteBytes(tmp.File("binned.txt"), "hello");
    std::wstring from = testing_support::PathOf(tmp.File("binned.txt")).wstring();
    from.push_back(L'\0'); // the list ends with an empty name
    SHFILEOPSTRUCTW operation {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(0, SHFileOperationW(&operation));
    ASSERT_TRUE(TAPIRoutines::QueryRecycleBin(size, count));
    EXPECT_EQ(1, count);
    EXPECT_EQ(5, size);
    EXPECT_TRUE(TAPIRoutines::EmptyRecycleBin(nullptr));
    ASSERT_TRUE(TAPIRoutines::QueryRecycleBin(size, count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(0, size);
}
#endif
