#pragma once
// A report list view in owner-data mode: it keeps only the number of rows and asks its owner for
// every cell it draws, so a list of 100,000 rows costs no more than one of ten. Counts that
// change many times a second (rows found during a scan) are applied at a steady pace.
#include "ui/VelaImageRoutines.h"
#include "ui/VelaUIControl.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace ui {

struct TVirtualListArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    bool checkBoxes = false;
    bool gridLines = false;
    bool multiSelect = true;
};

struct TVirtualColumn {
    std::string caption{};
    int designWidth = 0;
    bool fill = false;         // takes the width the other columns leave
    bool rightAligned = false;
    bool painted = false;      // onCellPaint draws over its cells
};

// An image list of named bitmaps in their form for the DPI, magenta transparent, indices in
// the order of the names; sized by the first bitmap. Empty when that one is missing.
TImageListHandle MaskedImagesForDpi(const std::vector<std::string>& names, int dpi);

class TVirtualListView : public TControl {
public:
    // Counts set closer together than this are applied together.
    static constexpr UINT kCountInterval = 50; // milliseconds

    TVirtualListView(TContainer& parent, const TVirtualListArgs& args);
    ~TVirtualListView() override;

    void SetColumns(const std::vector<TVirtualColumn>& columns);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }

    // A larger count waits for the next step of the pace unless one is due; a smaller one is
    // applied at once. The scroll position stays.
    void SetRowCount(int count);
    // Applies a count still waiting; also done when the list is enabled again.
    void FlushRowCount();
    // The rows the list shows now.
    int RowCount() const { return ListView_GetItemCount(handle_); }
    void RedrawRows(int first, int last);
    void RedrawAll();

    std::vector<int> SelectedRows() const;
    void SelectRows(const std::vector<int>& rows);
    void SelectAll(bool selected);
    int FocusedRow() const { return ListView_GetNextItem(handle_, -1, LVNI_FOCUSED); }
    void FocusRow(int row);
    void EnsureVisible(int row);
    // The text the list gets for a cell (through onCellText).
    std::string CellText(int row, int column) const;
    // A cell in client coordinates.
    RECT CellRect(int row, int column) const;
    int ColumnWidth(int column) const { return ListView_GetColumnWidth(handle_, column); }

    // Neither image list is destroyed by the list; each must outlive its use.
    void SetSmallImages(HIMAGELIST images);
    HIMAGELIST SmallImages() const { return ListView_GetImageList(handle_, LVSIL_SMALL); }
    void SetHeaderImages(HIMAGELIST images);
    // Shows header image index right of the column's title; -1 clears it. False for no such column.
    bool SetHeaderImage(int column, int index);

    // What the list draws, asked for each cell as it is drawn.
    std::function<std::string(int row, int column)> onCellText;
    std::function<int(int row)> onRowImage;
    std::function<bool(int row)> onRowChecked;
    std::function<COLORREF(int row, int column)> onCellTextColour; // kNoColour: the list's own
    std::function<void(int row, int column, HDC dc, const RECT& cell)> onCellPaint;

    // The mouse went down on a row's check box (a second click of a double click included).
    std::function<void(int row)> onCheckBoxClick;
    std::function<void(int row)> onDoubleClick;
    std::function<void(int column)> onColumnClick;
    // Rows gained or lost their selection.
    std::function<void()> onSelectionChanged;
    // Right click or the menu key; where the menu belongs, in screen coordinates.
    std::function<void(POINT screen)> onContextMenu;
    // Before the list sees a key; true keeps it from the list.
    std::function<bool(UINT key, bool control)> onKeyDown;
    std::function<void()> onFocusLost;
    // After the columns were scaled for a new DPI: images drawn for the old one need replacing.
    std::function<void()> onDpiChanged;

    // What assistive tools read of a row: by default its first cell is its name and the others,
    // each after its column's title, its description.
    std::function<std::string(int row)> onRowAccessibleName;
    std::function<std::string(int row)> onRowAccessibleDescription;
    std::function<std::string(int row)> onRowAccessibleValue;

    // Before the owner of the events goes: the list may still send messages while it is destroyed.
    void ClearEvents();

    bool HandleNotify(NMHDR& header, LRESULT& result) override;
    void DpiChanged() override;

    long AccessibleItemCount() override { return RowCount(); }
    long AccessibleRole(long child) override;
    std::string AccessibleName(long child) override;
    std::string AccessibleDescription(long child) override;
    std::string AccessibleValue(long child) override;
    long AccessibleState(long child) override;
    std::string AccessibleDefaultAction(long child) override;
    void AccessibleDoDefaultAction(long child) override;
    bool AccessibleItemRect(long child, RECT& client) override;
    long AccessibleFocusedItem() override { return FocusedRow() + 1; }
    bool AccessibleSelect(long child, long flags) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CheckBoxMouseDown(LPARAM position);
    void ContextMenu(LPARAM position);
    void HeaderChanged(const NMHEADERW& change);
    void ApplyRowCount();
    void FitFillColumn();
    void GetDisplayInfo(LVITEMW& item);
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
    int FindRow(const NMLVFINDITEMW& find);
    bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }

    std::vector<TVirtualColumn> columns_;
    int fillColumn_ = -1;
    bool fitting_ = false;
    bool checkBoxes_;
    int pendingCount_ = 0;
    int shownCount_ = 0;
    DWORD lastApplied_ = 0; // tick count: its wrap-around cancels out in the difference
    bool timerRunning_ = false;
    bool swallowChar_ = false;
    COLORREF itemTextColour_ = CLR_DEFAULT;
    bool highlightedRow_ = false; // high contrast: a selected row drawn highlighted without the focus
    HIMAGELIST headerImages_ = nullptr;
};

} // namespace ui
