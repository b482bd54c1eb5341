#include "FifoTestSupport.h"
#include "TestSupport.h"

#include "prefs/VelaPreferences.h"
#include "prefs/uPreferences.h"
#include "prefs/uSettings.h"
#include "platform/PlatformFiles.h"

#include <gtest/gtest.h>

#include <cstring>

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

const size_t kFirstStringOffset = 41;

std::string Int32Bytes(int32_t v)
{
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    return b;
}

int32_t Int32At(const std::string& bytes, size_t offset)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return static_cast<int32_t>(v);
}

class PreferencesFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("quillswp32.prefs");

    std::unique_ptr<TPreferenceValues> Loaded(bool reset = false)
    {
        auto values = std::make_unique<TPreferenceValues>(reset);
        values->SetFileName(path);
        values->Load();
        return values;
    }

    std::string SavedDefaults()
    {
        TPreferenceValues values(false);
        values.SetFileName(path);
        values.SetDefaults();
        EXPECT_TRUE(values.Save());
        return ReadBytes(path);
    }
};

} // namespace

TEST_F(PreferencesFile, DefaultFileIs152BytesWithSignatureStampAndScrambledStrings)
{
    const std::string bytes = SavedDefaults();
    ASSERT_EQ(152u, bytes.size());
    EXPECT_EQ("Vela.PREFS", bytes.substr(0, 10));
    EXPECT_EQ(TPreferenceValues::VersionStamp(), Int32At(bytes, 10));
    EXPECT_EQ(1001, TPreferenceValues::VersionStamp());
    EXPECT_EQ(1, bytes[14]);  // FirstRun
    EXPECT_EQ(0, bytes[32]);  // Confirmations
    EXPECT_EQ(1, bytes[33]);  // OpenObjectConfirmations
    EXPECT_EQ(21, Int32At(bytes, kFirstStringOffset));
    EXPECT_EQ(static_cast<char>(0xE3), bytes[kFirstStringOffset + 4]);
    EXPECT_EQ(0, Int32At(bytes, kFirstStringOffset + 25)); // ExcludeDirectories empty: count only
    EXPECT_EQ(5, Int32At(bytes, kFirstStringOffset + 29)); // CustomFiles "*.tmp"
    EXPECT_EQ(std::string(4, '\0'), bytes.substr(148));    // CleanupOptions last
    EXPECT_EQ(std::string("\0\0\0\0", 4), bytes.substr(144, 4)); // empty CleanupSelection
}

TEST_F(PreferencesFile, SizeDependsOnlyOnTheStrings)
{
    TPreferenceValues values(false);
    values.SetFileName(path);
    values.SetDefaults();
    values.ExcludeFiles.clear();
    values.CustomFiles.clear();
    values.WindowLeft = -32000;
    values.WindowWidth = 1920;
    values.ProgramRuns = 0xFFFFFFFFu;
    values.CleanupOptions = (1u << 0) | (1u << 22);
    ASSERT_TRUE(values.Save());
    EXPECT_EQ(126u, ReadBytes(path).size());
}

TEST_F(PreferencesFile, EveryValueRoundTrips)
{
    TPreferenceValues values(false);
    values.SetFileName(path);
    values.SetDefaults();
    values.FirstRun = false;
    values.WindowMaximized = true;
    values.WindowLeft = -8;
    values.WindowTop = 12;
    values.WindowWidth = 800;
    values.WindowHeight = 600;
    values.Confirmations = true;
    values.StartMinimized = true;
    values.ExcludeFiles = "a.txt;*.bak";
    values.ExcludeDirectories = "C:\\Windows";
    values.CustomFiles = "*.~*";
    values.CustomDirectories = "cache?";
    values.IgnoreSymbolicLinks = false;
    values.DateModified = true;
    values.ValidatorDate = 45000.25;
    values.AttributeHidden = true;
    values.Containing = "needle";
    values.MinimumSize = 3;
    values.MaximumSize = 700;
    values.SecureDeletePasses = 7;
    values.DiskSpaceGain = 4000000000u;
    values.ObjectsCleaned = 17;
    values.ScanCycles = 3;
    values.CleanCycles = 2;
    values.ProgramRuns = 9;
    values.RestoreCleanupList = true;
    values.CleanupSelection = "C:\\;D:\\Data";
    values.CleanupOptions = 0x007FFFFFu;
    ASSERT_TRUE(values.Save());
    EXPECT_EQ("a.txt;*.bak", values.ExcludeFiles) << "saving leaves the values readable";

    const auto loaded = Loaded();
    EXPECT_FALSE(loaded->FirstRun);
    EXPECT_TRUE(loaded->WindowMaximized);
    EXPECT_EQ(-8, loaded->WindowLeft);
    EXPECT_EQ(600, loaded->WindowHeight);
    EXPECT_TRUE(loaded->Confirmations);
    EXPECT_TRUE(loaded->StartMinimized);
    EXPECT_EQ("a.txt;*.bak", loaded->ExcludeFiles);
    EXPECT_EQ("C:\\Windows", loaded->ExcludeDirectories);
    EXPECT_EQ("*.~*", loaded->CustomFiles);
    EXPECT_EQ("cache?", loaded->CustomDirectories);
    EXPECT_FALSE(loaded->IgnoreSymbolicLinks);
    EXPECT_TRUE(loaded->DateModified);
    EXPECT_DOUBLE_EQ(45000.25, loaded->ValidatorDate);
    EXPECT_TRUE(loaded->AttributeHidden);
    EXPECT_EQ("needle", loaded->Containing);
    EXPECT_EQ(3, loaded->MinimumSize);
    EXPECT_EQ(700, loaded->MaximumSize);
    EXPECT_EQ(7, loaded->SecureDeletePasses);
    EXPECT_EQ(4000000000u, loaded->DiskSpaceGain);
    EXPECT_EQ(17u, loaded->ObjectsCleaned);
    EXPECT_EQ(9u, loaded->ProgramRuns);
    EXPECT_TRUE(loaded->RestoreCleanupList);
    EXPECT_EQ("C:\\;D:\\Data", loaded->CleanupSelection);
    EXPECT_EQ(0x007FFFFFu, loaded->CleanupOptions);
}

TEST_F(PreferencesFile, MissingForeignOrOtherVersionFilesGiveDefaults)
{
    auto fresh = Loaded();
    EXPECT_TRUE(fresh->FirstRun);
    EXPECT_TRUE(fresh->WindowBoundsEmpty());
    EXPECT_EQ("desktop.ini;index.dat", fresh->ExcludeFiles);
    EXPECT_EQ("*.tmp", fresh->CustomFiles);
    EXPECT_EQ(1, fresh->SecureDeletePasses);
    EXPECT_GT(fresh->ValidatorDate, 40000.0);

    std::string bytes = SavedDefaults();
    bytes[14] = 0; // FirstRun false marks a file that was really read
    std::string foreign = bytes;
    foreign.replace(0, 10, "VELA.prefs");
    WriteBytes(path, foreign);
    EXPECT_TRUE(Loaded()->FirstRun);

    std::string otherVersion = bytes;
    otherVersion.replace(10, 4, Int32Bytes(TPreferenceValues::VersionStamp() + 1));
    WriteBytes(path, otherVersion);
    EXPECT_TRUE(Loaded()->FirstRun);

    WriteBytes(path, "Vela.PRE");
    EXPECT_TRUE(Loaded()->FirstRun);
    WriteBytes(path, "Vela.PREFS");
    EXPECT_TRUE(Loaded()->FirstRun);

    WriteBytes(path, bytes);
    EXPECT_FALSE(Loaded()->FirstRun);
    EXPECT_TRUE(Loaded(true)->FirstRun) << "a requested reset ignores a valid file";
}

TEST_F(PreferencesFile, TruncatedFileKeepsZeroValuesAfterTheEnd)
{
    std::string bytes = SavedDefaults();
    bytes[15] = 1; // WindowMaximized
    WriteBytes(path, bytes.substr(0, kFirstStringOffset + 4 + 10)); // ExcludeFiles cut to 10 of 21 bytes
    const auto loaded = Loaded();
    EXPECT_TRUE(loaded->FirstRun);
    EXPECT_TRUE(loaded->WindowMaximized);
    EXPECT_TRUE(loaded->OpenObjectConfirmations);
    EXPECT_EQ("desktop.in", loaded->ExcludeFiles) << "an overlong count keeps the bytes that are there";
    EXPECT_EQ("", loaded->CustomFiles);
    EXPECT_FALSE(loaded->IgnoreSymbolicLinks);
    EXPECT_EQ(0, loaded->SecureDeletePasses);
    EXPECT_DOUBLE_EQ(0.0, loaded->ValidatorDate);

    // A count that is the last thing in the file leaves the string as it was.
    WriteBytes(path, bytes.substr(0, kFirstStringOffset + 4));
    EXPECT_EQ("", Loaded()->ExcludeFiles);
    // A partial integer is not read at all.
    WriteBytes(path, bytes.substr(0, 18));
    EXPECT_EQ(0, Loaded()->WindowLeft);
}

TEST_F(PreferencesFile, LyingStringCountsNeverReadPastTheFile)
{
    std::string bytes = SavedDefaults();
    std::string negative = bytes;
    negative.replace(kFirstStringOffset, 4, Int32Bytes(-5));
    WriteBytes(path, negative);
    auto loaded = Loaded();
    EXPECT_EQ("", loaded->ExcludeFiles) << "a negative count gives an empty string";
    // The reader went on after the count, so the next count is taken from the first string's bytes.
    EXPECT_NE("*.tmp", loaded->CustomFiles);

    std::string huge = bytes;
    huge.replace(kFirstStringOffset, 4, Int32Bytes(0x7FFFFFFF));
    WriteBytes(path, huge);
    loaded = Loaded();
    EXPECT_EQ(bytes.size() - kFirstStringOffset - 4, loaded->ExcludeFiles.size());
    EXPECT_EQ("", loaded->CustomFiles);
    EXPECT_EQ(0u, loaded->CleanupOptions);
}

TEST_F(PreferencesFile, SaveThatCannotWriteGivesUpAndKeepsTheOldFile)
{
    TPreferenceValues values(false);
    values.SetDefaults();
    values.SetFileName(dir.File("no-such-folder/quillswp32.prefs"));
    EXPECT_FALSE(values.Save());

    // The new file cannot be created where a folder stands in its way.
    const std::string before = SavedDefaults();
    std::filesystem::create_directory(testing_support::PathOf(path + ".new"));
    values.SetFileName(path);
    values.ExcludeFiles = "changed";
    EXPECT_FALSE(values.Save());
    EXPECT_EQ(before, ReadBytes(path));
}

TEST(PreferencesFileName, ReplacesTheExecutableExtension)
{
    EXPECT_EQ("C:\\Tools\\quillswp32.prefs", TCustomPreferenceValues::PreferencesFileNameFor("C:\\Tools\\quillswp32.exe"));
    EXPECT_EQ("/opt/qs/quillsweep-cli.prefs", TCustomPreferenceValues::PreferencesFileNameFor("/opt/qs/quillsweep-cli"));
    EXPECT_EQ("C:\\a.b\\run.prefs", TCustomPreferenceValues::PreferencesFileNameFor("C:\\a.b\\run"));
}

TEST(ResetArgument, OnlyTheFirstArgumentInAnyCase)
{
    EXPECT_TRUE(TPreferenceValues::IsResetArgument("-resetprefs"));
    EXPECT_TRUE(TPreferenceValues::IsResetArgument("-RESETPREFS"));
    EXPECT_TRUE(TPreferenceValues::IsResetArgument("-ResetPrefs"));
    EXPECT_FALSE(TPreferenceValues::IsResetArgument("--resetprefs"));
    EXPECT_FALSE(TPreferenceValues::IsResetArgument("-resetprefs "));

    TempDir dir;
    // Start-up reads the file beside the running executable; without one, defaults arrive either way.
    StartPreferences({"C:\\", "-resetprefs"});
    EXPECT_FALSE(Preferences().ResetRequested);
    StartPreferences({"-RESETPREFS", "C:\\"});
    EXPECT_TRUE(Preferences().ResetRequested);
}

TEST(VersionStamp, KeepsOnlyDigits)
{
    EXPECT_EQ(12345, TPreferenceValues::VersionStampOf("1.2.3.45"));
    EXPECT_EQ(0, TPreferenceValues::VersionStampOf(""));
    EXPECT_EQ(0, TPreferenceValues::VersionStampOf("99999.99999.1.1"));
}

#ifndef _WIN32
TEST_F(PreferencesFile, FifoInPlaceOfTheFileGivesDefaults)
{
    ASSERT_TRUE(testing_support::MakeFifo(path));
    std::unique_ptr<TPreferenceValues> loaded;
    EXPECT_TRUE(testing_support::FinishesWithoutWaitingOn(path, [&] { loaded = Loaded(); }));
    ASSERT_NE(nullptr, loaded);
    EXPECT_TRUE(loaded->FirstRun);
    EXPECT_EQ("*.tmp", loaded->CustomFiles);
}
#endif

// The settings of our own sit beside the preferences file, which they never change.
TEST_F(PreferencesFile, SettingsFileKeepsUnknownKeysAndLeavesThePreferencesAlone)
{
    const std::string prefsBytes = SavedDefaults();
    const std::string file = TSettings::FileBeside(path);
    EXPECT_EQ(dir.File("quillsweep-settings.ini"), file);
    WriteBytes(file, "# kept\r\nfuture-key = some value\nrecycle=0\n");

    TSettings settings;
    settings.Load(file);
    EXPECT_EQ("", settings.Notice());
    EXPECT_FALSE(settings.Recycle());
    settings.SetRecycle(true);
    ASSERT_TRUE(settings.Save());

    TSettings again;
    again.Load(file);
    EXPECT_TRUE(again.Recycle());
    EXPECT_NE(std::string::npos, ReadBytes(file).find("future-key=some value\n"));
    EXPECT_FALSE(std::filesystem::exists(testing_support::PathOf(file + ".partial")));
    EXPECT_EQ(prefsBytes, ReadBytes(path));
    }

TEST_F(PreferencesFile, DamagedOrMissingSettingsFileGivesTheDefaults)
{
    const std::string file = TSettings::FileBeside(path);
    TSettings settings;
    settings.Load(file);
    EXPECT_FALSE(settings.Recycle());
    EXPECT_EQ("", settings.Notice());  // a first run is not a fault

    for (const std::string& bytes : {std::string("recycle=1\nno equals sign\n"), std::string("recycle=yes\n"),
                                     std::string("=1\n"), std::string("recycle=1\0\n", 11),
                                     std::string(70000, 'x')}) {
        WriteBytes(file, bytes);
        settings.SetRecycle(true);
        settings.Load(file);
        EXPECT_FALSE(settings.Recycle()) << bytes.substr(0, 20);
        EXPECT_NE(std::string::npos, settings.Notice().find(file)) << bytes.substr(0, 20);
    }
    // A folder in the file's place cannot be read either, and cannot be written over.
    platform::DeleteFileAt(file);
    ASSERT_TRUE(std::filesystem::create_directory(testing_support::PathOf(file)));
    settings.Load(file);
    EXPECT_FALSE(settings.Recycle());
    settings.SetRecycle(true);
    EXPECT_FALSE(settings.Save());
}
