// The routines controllers use on checked lists, list views and the folder tree.
#include "ui/VelaSVRuntime.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaUIVirtualListView.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <vector>

using ui::TSVListRoutines;
using Texts = std::vector<std::string>;

namespace {
ui::TWindowArgs HiddenWindow()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ui::TWindowArgs args;
    args.clientWidth = 300;
    args.clientHeight = 200;
    args.appWindow = false;
    return args;
}

// A hidden window holding a two-column list view with check boxes.
class RuntimeTest : public ::testing::Test {
protected:
    RuntimeTest()
    {
        list.AddColumn("Name", 120);
        list.AddColumn("Size", 60);
    }
    void Fill(const Texts& texts)
    {
        for (const auto& text : texts)
            list.AddItem(text, -1, static_cast<LPARAM>(100 + list.ItemCount()));
    }
    Texts Column(int column) const
    {
        Texts texts;
        for (int i = 0; i < list.ItemCount(); ++i)
            texts.push_back(list.ItemText(i, column));
        return texts;
    }

    ui::TWindow window{HiddenWindow()};
    ui::TListView& list = window.Add<ui::TListView>(ui::TListViewArgs{.rect = {0, 0, 200, 150}, .checkBoxes = true});
};
} // namespace

TEST_F(RuntimeTest, CheckedListAddsEachTextOnceAndCountsChecks)
{
    EXPECT_EQ(0, TSVListRoutines::CountChecked(list));
    EXPECT_EQ(0, TSVListRoutines::AddUnique(list, "C:\\Temp"));
    EXPECT_EQ(1, TSVListRoutines::AddUnique(list, "c:\\temp")) << "texts differing in case are two";
    EXPECT_EQ(2, TSVListRoutines::AddUnique(list, "D:\\Cache", false));
    EXPECT_EQ(2, TSVListRoutines::CountChecked(list));

    list.SetChecked(0, false);
    EXPECT_EQ(0, TSVListRoutines::AddUnique(list, "C:\\Temp"));
    EXPECT_EQ(3, list.ItemCount());
    EXPECT_TRUE(list.Checked(0)) << "the existing item gets its check again";

    TSVListRoutines::SetAllChecked(list, true);
    EXPECT_EQ(3, TSVListRoutines::CountChecked(list));
    TSVListRoutines::SetAllChecked(list, false);
    EXPECT_EQ(0, TSVListRoutines::CountChecked(list));
}

TEST_F(RuntimeTest, FindsTextsExactlyOrSortedWhateverTheirCase)
{
    EXPECT_EQ(-1, TSVListRoutines::FindTextSorted(list, "alpha"));
    // Sorted by folded bytes: UTF-8 letters come after every ASCII one.
    const std::string accented = "\xC3\xA9t\xC3\xA9";
    Fill({"alpha", "Beta", "delta", "Gamma", "zeta", accented});
    EXPECT_EQ(1, TSVListRoutines::FindText(list, "Beta"));
    EXPECT_EQ(-1, TSVListRoutines::FindText(list, "BETA"));
    EXPECT_EQ(1, TSVListRoutines::FindTextSorted(list, "BETA"));
    EXPECT_EQ(0, TSVListRoutines::FindTextSorted(list, "ALPHA"));
    EXPECT_EQ(5, TSVListRoutines::FindTextSorted(list, accented));

    EXPECT_EQ(-1, TSVListRoutines::FindTextSorted(list, "charlie")) << "between two entries";
    EXPECT_EQ(-1, TSVListRoutines::FindTextSorted(list, "alph")) << "before the first";
    EXPECT_EQ(-1, TSVListRoutines::FindTextSorted(list, "\xC3\xBF")) << "after the last";
    EXPECT_EQ(-1, TSVListRoutines::FindTextSorted(list, "\xC3\x89T\xC3\x89")) << "only ASCII letters fold";
}

TEST_F(RuntimeTest, MovingTheSelectedRowCarriesItsTextsCheckAndData)
{
    Fill({"one", "two", "three"});
    list.SetItemText(0, 1, "1 KB");
    list.SetChecked(0, true);
    EXPECT_EQ(-1, TSVListRoutines::MoveSelectedDown(list)) << "nothing selected";

    ListView_SetItemState(list.Handle(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(-1, TSVListRoutines::MoveSelectedUp(list));

    EXPECT_EQ(1, TSVListRoutines::MoveSelectedDown(list));
    EXPECT_EQ((Texts{"two", "one", "three"}), Column(0));
    EXPECT_EQ((Texts{"", "1 KB", ""}), Column(1));
    EXPECT_FALSE(list.Checked(0));
    EXPECT_TRUE(list.Checked(1));
    LVITEMW moved{};
    moved.mask = LVIF_PARAM;
    moved.iItem = 1;
    SendMessageW(list.Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&moved));
    EXPECT_EQ(100, moved.lParam);
    EXPECT_EQ(1, list.Selected());
    EXPECT_EQ(1u, ListView_GetSelectedCount(list.Handle()));

    EXPECT_EQ(2, TSVListRoutines::MoveSelectedDown(list));
    EXPECT_EQ(-1, TSVListRoutines::MoveSelectedDown(list));
    EXPECT_EQ((Texts{"two", "three", "one"}), Column(0));
    EXPECT_EQ(2, list.Selected());
}

TEST_F(RuntimeTest, HeaderImageComesAndGoesBesideTheTitle)
{
    const auto arrows = ui::MaskedImagesForDpi({"sort_up", "sort_down"}, 96);
    Header_SetImageList(ListView_GetHeader(list.Handle()), arrows.get());
    wchar_t title[16];
    HDITEMW item{};
    const auto read = [&] {
        item.mask = HDI_FORMAT | HDI_IMAGE | HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = 16;
        SendMessageW(ListView_GetHeader(list.Handle()), HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    };
    constexpr int kImageFlags = HDF_IMAGE | HDF_BITMAP_ON_RIGHT;

    ASSERT_TRUE(TSVListRoutines::SetHeaderImage(list.Handle(), 1, 1));
    read();
    EXPECT_EQ(1, item.iImage);
    EXPECT_EQ(kImageFlags | HDF_STRING, item.fmt & (kImageFlags | HDF_STRING | HDF_BITMAP));
    EXPECT_EQ("Size", platform::Narrow(title));

    ASSERT_TRUE(TSVListRoutines::SetHeaderImage(list.Handle(), 1, -1));
    read();
    EXPECT_EQ(HDF_STRING, item.fmt & (kImageFlags | HDF_STRING));
    EXPECT_EQ("Size", platform::Narrow(title));
    EXPECT_FALSE(TSVListRoutines::SetHeaderImage(list.Handle(), 2, 0));
}

TEST(FolderTree, DefaultDriveIsTheFirstDriveRootPastTheFloppies)
{
    ui::TWindow window{HiddenWindow()};
    auto& tree = window.Add<ui::TTreeView>(ui::TTreeViewArgs{.rect = {0, 0, 200, 150}});
    Texts paths;
    const auto add = [&](HTREEITEM parent, const std::string& text, const std::string& path) {
        paths.push_back(path);
        return tree.AddItem(parent, text, false, -1, static_cast<LPARAM>(paths.size() - 1));
    };
    const auto pathOf = [&](HTREEITEM item) {
        TVITEMW entry{};
        entry.mask = TVIF_PARAM;
        entry.hItem = item;
        SendMessageW(tree.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
        return paths[static_cast<size_t>(entry.lParam)];
    };

    HTREEITEM computer = add(nullptr, "Computer", "");
    EXPECT_EQ(nullptr, ui::TSVRuntime::SelectDefaultDrive(tree, true, pathOf));
    HTREEITEM floppy = add(computer, "3.5\" Floppy (A:)", "A:\\");
    add(computer, "Floppy (B:)", "b:\\");
    add(computer, "Control Panel", "::{21EC2020-3AEA-1069-A2DD-08002B30309D}");
    add(computer, "Share (C:)", "C:\\Share");
    HTREEITEM local = add(computer, "Local Disk (D:)", "D:\\");

    EXPECT_EQ(local, ui::TSVRuntime::SelectDefaultDrive(tree, true, pathOf));
    EXPECT_EQ(local, TreeView_GetSelection(tree.Handle()));
    EXPECT_EQ(floppy, ui::TSVRuntime::SelectDefaultDrive(tree, false, pathOf));
}
