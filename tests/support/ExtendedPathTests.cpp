// Absolute paths reach the system in their extended-length form, normalised first since the
// system no longer does it; everything else reaches it as given.
#ifdef _WIN32
#include "platform/win32/Win32Paths.h"

#include <gtest/gtest.h>

#include <string>

using platform::ExtendedPath;
using platform::NormalPath;

TEST(ExtendedPath, DriveAndUncPathsGetTheirPrefix)
{
    EXPECT_EQ(L"\\\\?\\C:\\a\\b.txt", ExtendedPath("C:\\a\\b.txt"));
    EXPECT_EQ(L"\\\\?\\C:\\", ExtendedPath("C:\\"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\a\\b", ExtendedPath("\\\\server\\share\\a\\b"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\b", ExtendedPath("//server/share/a/../b"));
    // UTF-8 inside, UTF-16 for the system.
    EXPECT_EQ(L"\\\\?\\C:\\\u00e9t\u00e9\\\u65e5", ExtendedPath("C:\\\xc3\xa9t\xc3\xa9\\\xe6\x97\xa5"));
}

TEST(ExtendedPath, WhatTheSystemWouldNormaliseIsNormalisedFirst)
{
    EXPECT_EQ(L"\\\\?\\C:\\a\\c\\d", ExtendedPath("C:/a/./b/../c//d"));
    EXPECT_EQ(L"\\\\?\\C:\\a\\b", ExtendedPath("C:\\a\\b. . "));
    // ".." never climbs above the drive or the share.
    EXPECT_EQ(L"\\\\?\\C:\\x", ExtendedPath("C:\\..\\..\\x"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\x", ExtendedPath("\\\\server\\share\\..\\x"));
}

TEST(ExtendedPath, OtherPathsAreOnlyWidened)
{
    for (const std::string path : {"\\\\?\\C:\\a/./b. ", "\\\\?\\UNC\\server\\share\\..\\x", "\\\\.\\PhysicalDrive0",
                                   "a\\b", "..\\a", "./a", "C:a\\b", "\\a\\b", ""})
        EXPECT_EQ(std::wstring(path.begin(), path.end()), ExtendedPath(path)) << path;
}

TEST(ExtendedPath, LongPathsKeepEveryCharacter)
{
    std::string path = "C:\\base";
    for (int i = 0; i < 40; ++i)
        path += "\\segment" + std::to_string(i);
    ASSERT_GT(path.size(), 300u);
    EXPECT_EQ(L"\\\\?\\" + std::wstring(path.begin(), path.end()), ExtendedPath(path));
    const std::string unc = "\\\\server\\share" + path.substr(2);
    EXPECT_EQ(L"\\\\?\\UNC" + std::wstring(unc.begin() + 1, unc.end()), ExtendedPath(unc));
}

TEST(ExtendedPath, PathsFromTheSystemComeBackInTheNormalForm)
{
    EXPECT_EQ(L"C:\\a\\b", NormalPath(L"\\\\?\\C:\\a\\b"));
    EXPECT_EQ(L"\\\\server\\share\\a", NormalPath(L"\\\\?\\UNC\\server\\share\\a"));
    // No normal form to give: kept as the system gave it.
    for (const std::wstring path : {L"\\\\?\\Volume{0}\\a", L"C:\\a", L"\\\\server\\share", L"\\Device\\X\\a"})
        EXPECT_EQ(path, NormalPath(path));
    for (const std::string path : {"C:\\a\\b", "\\\\server\\share\\a"})
        EXPECT_EQ(std::wstring(path.begin(), path.end()), NormalPath(ExtendedPath(path))) << path;
}
#endif
