// The owner-data list: row counts arriving one by one, cells and checks from the owner, and
// clicks on check boxes.
#include "ui/VelaUIVirtualListView.h"

#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <windowsx.h>

namespace {
ui::TWindowArgs HiddenWindow()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ui::TWindowArgs args;
    args.clientWidth = 500;
    args.clientHeight = 300;
    args.appWindow = false;
    return args;
}

class VirtualListViewTest : public ::testing::Test {
protected:
    VirtualListViewTest()
    {
        list.SetColumns({{.caption = "Category", .designWidth = 120},
                         {.caption = "Path", .fill = true},
                         {.caption = "Size", .designWidth = 60, .rightAligned = true}});
        list.onCellText = [](int row, int column) { return "row " + std::to_string(row) + " column " + std::to_string(column); };
        list.onRowChecked = [](int row) { return row % 2 == 1; };
        list.onCheckBoxClick = [this](int row) { events.push_back("check " + std::to_string(row)); };
        list.onDoubleClick = [this](int row) { events.push_back("double " + std::to_string(row)); };
    }
    LPARAM PointIn(int row, int x) const
    {
        RECT bounds{};
        ListView_GetItemRect(list.Handle(), row, &bounds, LVIR_BOUNDS);
        return MAKELPARAM(bounds.left + x, (bounds.top + bounds.bottom) / 2);
    }

    ui::TWindow window{HiddenWindow()};
    ui::TVirtualListView& list = window.Add<ui::TVirtualListView>(ui::TVirtualListArgs{
        .rect = {0, 0, 500, 300}, .anchors = ui::kAnchorAll, .checkBoxes = true, .gridLines = true});
    std::vector<std::string> events;
};
} // namespace

TEST_F(VirtualListViewTest, CountsSetRowByRowEndAtTheLastCountWithTheOwnersRows)
{
    const auto start = std::chrono::steady_clock::now();
    for (int count = 1; count <= 100000; ++count)
        list.SetRowCount(count);
    list.RedrawAll();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("100,000 row counts and one redraw: %.1f ms\n", elapsed.count());

    EXPECT_EQ(100000, list.RowCount());
    EXPECT_EQ("row 99999 column 1", list.CellText(99999, 1));
    EXPECT_EQ(static_cast<UINT>(INDEXTOSTATEIMAGEMASK(2)),
              ListView_GetItemState(list.Handle(), 99999, LVIS_STATEIMAGEMASK))
        << "the check is the owner's";

    list.SetRowCount(0);
    EXPECT_EQ(0, list.RowCount()) << "rows that are gone must not wait to go";

    list.SetEnabled(false);
    list.SetRowCount(1);
    list.SetRowCount(2);
    list.SetEnabled(true);
    EXPECT_EQ(2, list.RowCount()) << "the last count shows when the list is enabled again";
}

TEST_F(VirtualListViewTest, ClicksOnACheckBoxAreCheckBoxClicksAndLeaveTheSelection)
{
    list.SetRowCount(5);
    list.RedrawAll();
    list.SelectRows({1, 2});
    int stateWidth = 0, stateHeight = 0;
    ImageList_GetIconSize(ListView_GetImageList(list.Handle(), LVSIL_STATE), &stateWidth, &stateHeight);
    ASSERT_GT(stateWidth, 0);
    const LPARAM checkBox = PointIn(2, 2 + stateWidth / 2);

    SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, checkBox);
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, checkBox);
    SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, checkBox);
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, checkBox);
    EXPECT_EQ((std::vector<std::string>{"check 2", "check 2"}), events) << "the second click of a double click checks too";
    EXPECT_EQ((std::vector<int>{1, 2}), list.SelectedRows());

    events.clear();
    const LPARAM path = PointIn(3, list.ColumnWidth(0) + 20);
    SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, path);
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, path);
    EXPECT_EQ((std::vector<std::string>{"double 3"}), events);
}
