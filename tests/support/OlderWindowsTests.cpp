// What stands in for the calls Windows XP lacks must give what those calls give.
#ifdef _WIN32
#include "TestSupport.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>


using platform::DosFormOf;
using platform::EqualIgnoringCase;

TEST(OlderWindows, DevicePathsTakeTheDriveLetterOfTheirVolume)
{
    const std::vector<platform::DosDevice> devices{{L"C:", L"\\Device\\HarddiskVolume1"},
                                                   {L"D:", L"\\Device\\HarddiskVolume10"}};
    EXPECT_EQ(L"C:\\a\\b", DosFormOf(L"\\Device\\HarddiskVolume1\\a\\b", devices));
    EXPECT_EQ(L"D:\\a", DosFormOf(L"\\device\\harddiskvolume10\\a", devices));
    EXPECT_EQ(L"C:\\", DosFormOf(L"\\Device\\HarddiskVolume1", devices));
    // A volume without a letter keeps its NT form.
    EXPECT_EQ(L"\\Device\\HarddiskVolume2\\a", DosFormOf(L"\\Device\\HarddiskVolume2\\a", devices));
    EXPECT_EQ(L"\\\\server\\share\\a", DosFormOf(L"\\Device\\Mup\\server\\share\\a", devices));
    EXPECT_EQ(L"\\\\server\\share\\a", DosFormOf(L"\\Device\\LanmanRedirector\\;Z:0000000000012345\\server\\share\\a", devices));
}

TEST(OlderWindows, NamesCompareByTheSystemsUpperCaseOnly)
{
    EXPECT_TRUE(EqualIgnoringCase(L"\u00e9t\u00e9.TXT", L"\u00c9T\u00c9.txt"));
    EXPECT_FALSE(EqualIgnoringCase(L"stra\u00dfe", L"STRASSE"));  // no linguistic expansion
    EXPECT_FALSE(EqualIgnoringCase(L"a", L"a "));
}

TEST(OlderWindows, ObjectNamesGiveTheFinalPath)
{
    testing_support::TempDir dir;
    const std::string file = dir.File("F\xc3\xa9.txt");
    testing_support::WriteBytes(file, "x");
    HANDLE handle = CreateFileW(platform::Widen(file).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    std::wstring final, fromName, ntFinal, ntFromName;
    EXPECT_TRUE(platform::FinalPathOf(handle, false, final));
    EXPECT_TRUE(platform::PathFromObjectName(handle, false, fromName));
    if (platform::FinalPathOf(handle, true, ntFinal) && platform::PathFromObjectName(handle, true, ntFromName)) {
        EXPECT_TRUE(platform::SamePath(ntFinal, ntFromName));
    }
    CloseHandle(handle);
    EXPECT_TRUE(platform::SamePath(final, fromName)) << platform::Narrow(final) << " / " << platform::Narrow(fromName);
}
#endif
