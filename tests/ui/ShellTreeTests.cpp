// The folder tree of the drives, on a scratch folder tree.
#include "ui/VelaUIShellTree.h"

#include "TestSupport.h"
#include "platform/win32/Win32Text.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {
ui::TWindowArgs HiddenWindow()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ui::TWindowArgs args;
    args.clientWidth = 300;
    args.clientHeight = 200;
    args.appWindow = false;
    return args;
}

// The folder as the disk spells it: the tree only knows long names.
std::string LongPath(const std::string& path)
{
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetLongPathNameW(platform::Widen(path).c_str(), buffer, MAX_PATH * 2);
    return length ? platform::Narrow(buffer, static_cast<int>(length)) : path;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(toupper(c)); });
    return text;
}
} // namespace

TEST(ShellTree, SelectsNestedFoldersInAnyCaseAndKeepsTheNearestOnReload)
{
    testing_support::TempDir scratch;
    const std::string base = LongPath(scratch.Str());
    std::filesystem::create_directories(testing_support::PathOf(base + "\\Alpha\\beta\\Gamma"));
    const std::string hidden = base + "\\Alpha\\.cache";
    std::filesystem::create_directories(testing_support::PathOf(hidden));
    SetFileAttributesW(platform::Widen(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);

    ui::TWindow window{HiddenWindow()};
    auto& tree = window.Add<ui::TShellTree>(ui::TShellTreeArgs{.rect = {0, 0, 300, 200}});
    const auto drives = tree.DrivePaths();
    EXPECT_NE(drives.end(), std::find(drives.begin(), drives.end(), "C:\\"));
    EXPECT_EQ(0, tree.Level(TreeView_GetRoot(tree.Handle())));

    const std::string nested = base + "\\Alpha\\beta\\Gamma";
    ASSERT_TRUE(tree.SelectPath(Upper(nested) + "\\"));
    EXPECT_EQ(nested, tree.PathOf(tree.Selection())) << "the disk's spelling, not the one asked for";
    EXPECT_EQ(std::count(nested.begin(), nested.end(), '\\') + 1, tree.Level(tree.Selection()));

    EXPECT_TRUE(tree.SelectPath(hidden)) << "hidden folders are listed";
    EXPECT_FALSE(tree.SelectPath(base + "\\Alpha\\missing"));
    EXPECT_EQ(nullptr, tree.Selection()) << "no other folder stands in for one that is missing";

    ASSERT_TRUE(tree.SelectPath(nested));
    std::filesystem::remove(testing_support::PathOf(nested));
    tree.Reload();
    EXPECT_EQ(base + "\\Alpha\\beta", tree.PathOf(tree.Selection())) << "a folder gone gives way to its parent";
}
