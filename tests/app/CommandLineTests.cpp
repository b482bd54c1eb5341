// The main window's command line: options, one directory to select, several to clean.
#include "app/uCommandLine.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TCommandLine Interpret(const std::vector<std::string>& arguments)
{
    const std::set<std::string> existing{"C:\\", "D:\\", "C:\\data", "/home/user", "/"};
    return TCommandLine::Interpret(arguments, [existing](const std::string& path) { return existing.count(path) > 0; });
}

} // namespace

TEST(CommandLine, OnlyTheExactSizeOptionActsAndAnyArgumentKeepsTheTargetsUnsaved)
{
    EXPECT_EQ(clNone, Interpret({}).action);
    EXPECT_TRUE(Interpret({}).saveTargets);

    EXPECT_EQ(clDefaultSize, Interpret({"-defaultsize"}).action);
    EXPECT_EQ(clNone, Interpret({"-DEFAULTSIZE"}).action);
    EXPECT_EQ(clNone, Interpret({"-resetprefs", "C:\\data"}).action) << "an option ignores the rest";
    EXPECT_FALSE(Interpret({"-DEFAULTSIZE"}).saveTargets);
    EXPECT_FALSE(Interpret({"C:\\missing"}).saveTargets);
}

TEST(CommandLine, OneExistingDirectoryIsSelectedWithoutItsTrailingSeparator)
{
    TCommandLine line = Interpret({"C:\\data\\"});
    EXPECT_EQ(clSelectDirectory, line.action);
    EXPECT_EQ("C:\\data", line.directory);
    EXPECT_TRUE(line.targets.empty());

    EXPECT_EQ("/home/user", Interpret({"/home/user/"}).directory);
    EXPECT_EQ("/", Interpret({"/"}).directory) << "a lone root stays a root";
    EXPECT_EQ("C:\\", Interpret({"c:"}).directory) << "a bare drive would name its current folder";

    line = Interpret({"C:\\missing"});
    EXPECT_EQ(clCleanupTargets, line.action) << "the list is still emptied";
    EXPECT_TRUE(line.targets.empty());
}

TEST(CommandLine, SeveralArgumentsFillTheListWithTheExistingDirectories)
{
    const TCommandLine line = Interpret({"c:", "C:\\missing", "/home/user//", "d:/", "C:\\data", "c:\\"});
    EXPECT_EQ(clCleanupTargets, line.action);
    EXPECT_EQ((std::vector<std::string>{"C:\\", "/home/user", "D:\\", "C:\\data"}), line.targets)
        << "drive roots upper-case with a backslash, missing paths and repeats dropped";
}
