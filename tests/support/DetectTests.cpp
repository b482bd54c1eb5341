#include "TestSupport.h"

#include "platform/PlatformError.h"
#include "platform/PlatformSystem.h"
#include "support/VelaDetect.h"
#include "support/VelaWMIRoutines.h"

#include "uVersion.h"

#include <gtest/gtest.h>

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

platform::OsVersionRecord Record(int platformId, int major, int minor, const std::string& sp = "")
{
    platform::OsVersionRecord r;
    r.platformId = platformId;
    r.major = major;
    r.minor = minor;
    r.build = 1234;
    r.servicePack = sp;
    return r;
}

// A DOS stub naming a PE header at 0x80 with the given machine type.
std::string PeImage(unsigned machine, uint32_t headerOffset = 0x80, size_t ntBytes = 248)
{
    std::string image(headerOffset + ntBytes, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    for (int i = 0; i < 4; ++i)
        image[60 + i] = static_cast<char>(headerOffset >> (8 * i));
    if (headerOffset + 6 <= image.size()) {
        image[headerOffset] = 'P';
        image[headerOffset + 1] = 'E';
        image[headerOffset + 4] = static_cast<char>(machine & 0xFF);
        image[headerOffset + 5] = static_cast<char>(machine >> 8);
    }
    return image;
}

} // namespace

TEST(WindowsVersion, ClassifiesEveryRecordOfTheTable)
{
    EXPECT_EQ(wv95, TDetect::ClassifyWindowsVersion(Record(1, 4, 0, " A")));
    EXPECT_EQ(wv95OSR2, TDetect::ClassifyWindowsVersion(Record(1, 4, 0, " B")));
    EXPECT_EQ(wv98, TDetect::ClassifyWindowsVersion(Record(1, 4, 10, "")));
    EXPECT_EQ(wv98SE, TDetect::ClassifyWindowsVersion(Record(1, 4, 10, " A ")));
    EXPECT_EQ(wvMe, TDetect::ClassifyWindowsVersion(Record(1, 4, 90)));
    EXPECT_EQ(wvNT, TDetect::ClassifyWindowsVersion(Record(2, 3, 51)));
    EXPECT_EQ(wvNT, TDetect::ClassifyWindowsVersion(Record(2, 4, 0, "Service Pack 6")));
    EXPECT_EQ(wv2000, TDetect::ClassifyWindowsVersion(Record(2, 5, 0)));
    EXPECT_EQ(wvXP, TDetect::ClassifyWindowsVersion(Record(2, 5, 1)));
    EXPECT_EQ(wvServer2003, TDetect::ClassifyWindowsVersion(Record(2, 5, 2)));
    EXPECT_EQ(wvVista, TDetect::ClassifyWindowsVersion(Record(2, 6, 0)));
    EXPECT_EQ(wv7, TDetect::ClassifyWindowsVersion(Record(2, 6, 1, "Service Pack 1")));
    EXPECT_EQ(wv8, TDetect::ClassifyWindowsVersion(Record(2, 6, 2)));
    // Anything the table does not name is unknown, including a 6.3 or 10.0 seen without refinement.
    EXPECT_EQ(wvUnknown, TDetect::ClassifyWindowsVersion(Record(2, 6, 3)));
    EXPECT_EQ(wvUnknown, TDetect::ClassifyWindowsVersion(Record(2, 10, 0)));
    EXPECT_EQ(wvUnknown, TDetect::ClassifyWindowsVersion(Record(1, 5, 0)));
    EXPECT_EQ(wvUnknown, TDetect::ClassifyWindowsVersion(Record(3, 6, 1)));
}

TEST(WindowsVersion, WmiRefinesOnlyEightAndAbove)
{
    int major = 0, minor = 0, build = 0;
    ASSERT_TRUE(TWMIRoutines::ParseVersionText("10.0.19045", major, minor, build));
    EXPECT_EQ(10, major);
    EXPECT_EQ(0, minor);
    EXPECT_EQ(19045, build);
    EXPECT_EQ(wv10, TDetect::RefineWindowsVersion(wv8, major, minor));
    EXPECT_EQ("Microsoft Windows 10", TConvert::WindowsName(TDetect::RefineWindowsVersion(wv8, major, minor)));
    EXPECT_EQ(wv81, TDetect::RefineWindowsVersion(wv8, 6, 3));
    EXPECT_EQ(wv8, TDetect::RefineWindowsVersion(wv8, 6, 2));
    EXPECT_EQ(wv8, TDetect::RefineWindowsVersion(wv8, 11, 0));
    EXPECT_EQ(wv7, TDetect::RefineWindowsVersion(wv7, 10, 0));

    ASSERT_TRUE(TWMIRoutines::ParseVersionText("6.x3b.", major, minor, build));
    EXPECT_EQ(6, major);
    EXPECT_EQ(3, minor);
    EXPECT_EQ(0, build);
    EXPECT_FALSE(TWMIRoutines::ParseVersionText("", major, minor, build));
}

TEST(WindowsVersion, NamesAndArchitectureNames)
{
    EXPECT_EQ("Microsoft Windows Unknown", TConvert::WindowsName(wvUnknown));
    EXPECT_EQ("Microsoft Windows 95 OSR2", TConvert::WindowsName(wv95OSR2));
    EXPECT_EQ("Microsoft Windows Server 2003", TConvert::WindowsName(wvServer2003));
    EXPECT_EQ("Microsoft Windows 8.1", TConvert::WindowsName(wv81));
    EXPECT_EQ("Microsoft Windows Unknown", TConvert::WindowsName(15));
    EXPECT_EQ("Unknown", TConvert::ArchitectureName(arUnknown));
    EXPECT_EQ("32-bit (x86)", TConvert::ArchitectureName(ar32));
    EXPECT_EQ("64-bit (x64)", TConvert::ArchitectureName(ar64));
}

TEST(WindowsVersion, RunningSystemIsClassifiedAndCached)
{
    const int first = TDetect::GetWindowsVersion();
    EXPECT_EQ(first, TDetect::GetWindowsVersion());
#ifdef _WIN32
    // Wine reports an NT system the table knows; the version text then carries its numbers.
    platform::OsVersionRecord record;
    ASSERT_TRUE(platform::QueryOsVersion(record));
    EXPECT_EQ(2, record.platformId);
    EXPECT_GE(first, wv2000);
    if (first < wv8) {
        EXPECT_EQ(first, TDetect::ClassifyWindowsVersion(record));
    }
    EXPECT_NE("", TDetect::GetWindowsVersionText());
    EXPECT_EQ(ar32, TDetect::GetProgramArchitecture());
#else
    EXPECT_EQ(wvUnknown, first);
    EXPECT_EQ("", TDetect::GetWindowsVersionText());
#endif
}

TEST(WindowsVersion, DriveRoutinesTakeAnUnknownWindowsAsOlderThanXP)
{
    for (int version : {wv95, wv95OSR2, wv98, wv98SE, wvNT, wvMe, wv2000})
        EXPECT_TRUE(TDetect::IsBeforeXP(version)) << version;
    for (int version : {wvXP, wvVista, wvServer2003, wv7, wv8, wv81, wv10})
        EXPECT_FALSE(TDetect::IsBeforeXP(version)) << version;
#ifdef _WIN32
    EXPECT_TRUE(TDetect::IsBeforeXP(wvUnknown));
    EXPECT_TRUE(TDetect::IsBeforeXP(wv10 + 1));
#else
    // No Windows version is ever known here (DriveDetection shows the drive routines answering).
    EXPECT_FALSE(TDetect::IsBeforeXP(wvUnknown));
#endif
}

TEST(FileArchitecture, ReadsPeHeadersTheTestWrites)
{
    TempDir dir;
    WriteBytes(dir.File("x86.exe"), PeImage(0x14C));
    WriteBytes(dir.File("x64.exe"), PeImage(0x8664));
    WriteBytes(dir.File("arm.exe"), PeImage(0x1C0));
    WriteBytes(dir.File("notes.txt"), std::string(300, 'a'));
    WriteBytes(dir.File("tiny.exe"), "MZ");
    WriteBytes(dir.File("no-offset.exe"), PeImage(0x14C).replace(60, 4, std::string(4, '\0')));
    WriteBytes(dir.File("short-nt.exe"), PeImage(0x14C, 0x80, 100));
    std::string notPe = PeImage(0x14C);
    notPe[0x80] = 'N';
    WriteBytes(dir.File("ne.exe"), notPe);

    EXPECT_EQ(ar32, TDetect::GetFileArchitecture(dir.File("x86.exe")));
    EXPECT_EQ(ar64, TDetect::GetFileArchitecture(dir.File("x64.exe")));
    EXPECT_EQ(arUnknown, TDetect::GetFileArchitecture(dir.File("arm.exe")));
    EXPECT_EQ(arUnknown, TDetect::GetFileArchitecture(dir.File("notes.txt")));
    EXPECT_EQ(arUnknown, TDetect::GetFileArchitecture(dir.File("tiny.exe")));
    EXPECT_EQ(arUnknown, TDetect::GetFileArchitecture(dir.File("no-offset.exe")));
    EXPECT_EQ(arUnknown, TDetect::GetFileArchitecture(dir.File("short-nt.exe")));
    EXPECT_EQ(arUnknown, TDetect::GetFileArchitecture(dir.File("ne.exe")));
    EXPECT_THROW(TDetect::GetFileArchitecture(dir.File("missing.exe")), EOSError);
    EXPECT_THROW(TDetect::GetFileArchitecture(dir.Str()), EOSError);
}

TEST(FileVersion, RunningProgramHasTheProjectVersionAndOtherFilesNone)
{
    EXPECT_EQ(QS_VERSION_TEXT, TDetect::GetProgramVersion());
    TempDir dir;
    WriteBytes(dir.File("plain.exe"), PeImage(0x14C));
    EXPECT_EQ("", TDetect::GetFileVersion(dir.File("plain.exe")));
    EXPECT_EQ("", TDetect::GetFileVersion(dir.File("missing.exe")));
    EXPECT_EQ("", TDetect::GetFileVersion(""));
}

TEST(DirectoryProbe, WritableDirectoryKeepsNoProbeAndMissingOneIsReadOnly)
{
    TempDir dir;
    EXPECT_FALSE(TDetect::IsDirectoryReadOnly(dir.Str()));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    EXPECT_TRUE(TDetect::IsDirectoryReadOnly(dir.File("does-not-exist")));
}

TEST(DrivePrefix, NeedsColonAndBackslash)
{
    EXPECT_TRUE(TDetect::HasDrivePrefix("C:\\"));
    EXPECT_TRUE(TDetect::HasDrivePrefix("\\\\?\\D:\\data"));
    EXPECT_FALSE(TDetect::HasDrivePrefix("C:"));
    EXPECT_FALSE(TDetect::HasDrivePrefix("/home/user"));
    EXPECT_FALSE(TDetect::HasDrivePrefix("\\\\server\\share"));
}

TEST(Memory, TotalIsKnownAndNotBelowAvailable)
{
    EXPECT_GT(TDetect::GetTotalMemoryKo(), 0);
    EXPECT_LE(TDetect::GetAvailableMemoryKo(), TDetect::GetTotalMemoryKo());
    EXPECT_TRUE(TDetect::GetArchitecture() == ar32 || TDetect::GetArchitecture() == ar64);
}
