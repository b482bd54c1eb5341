// What the open dialog's answer becomes: full paths, whether one file or several were chosen.
#include "ui/VelaSVOpenDialogs.h"

#include <gtest/gtest.h>

using ui::TOpenDialogs;

TEST(OpenDialogs, SelectionsBecomeFullPathsInTheirOrder)
{
    using Paths = std::vector<std::string>;
    EXPECT_EQ(Paths{"C:\\Data\\one.log"}, TOpenDialogs::SplitSelection(L"C:\\Data\\one.log\0"));
    EXPECT_EQ((Paths{"C:\\Data\\b.log", "C:\\Data\\a.log"}), TOpenDialogs::SplitSelection(L"C:\\Data\0b.log\0a.log\0"));
    // A drive's root arrives with its backslash: no second one.
    EXPECT_EQ((Paths{"C:\\x.ini", "C:\\y.ini"}), TOpenDialogs::SplitSelection(L"C:\\\0x.ini\0y.ini\0"));
    EXPECT_EQ((Paths{"C:\\D\\\xC3\xA9t\xC3\xA9.txt"}), TOpenDialogs::SplitSelection(L"C:\\D\0\x00E9t\x00E9.txt\0\0a\0"))
        << "names end at the double null";
    EXPECT_TRUE(TOpenDialogs::SplitSelection(L"\0").empty());
}
