#pragma once
// A list of owner-drawn rows, each with a real list-view check box (so assistive tools read
// and change the checks): the control draws the ground, the check box and the focus, its owner
// the rest of the row. A click on the check box column or Space toggles; a double click does not.
#include "ui/VelaUIControls.h"

namespace ui {

struct TCheckListArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    int rowHeight = 20; // design pixels
    int checkTop = -1;  // design pixels from the row's top; -1 centres the check box
};

class TCheckList : public TControl {
public:
    TCheckList(TContainer& parent, const TCheckListArgs& args);

    // The column of the check boxes, in design pixels; a row's own drawing starts right of it.
    static constexpr int kCheckColumn = 22;

    void SetRowCount(int count);
    int RowCount() const { return ListView_GetItemCount(handle_); }
    bool Checked(int row) const;
    // Not reported through onCheckToggled.
    void SetChecked(int row, bool checked);
    int FocusedRow() const { return ListView_GetNextItem(handle_, -1, LVNI_FOCUSED); }
    // Focus and selection go step rows on (as with the arrow keys), scrolled into view.
    void MoveFocus(int step);
    // The row under a point of the client area, or -1.
    int RowAt(POINT client) const;

    // Draws a row right of its check box; content is the row from there on, in the dc's pixels,
    // its ground already filled (the selection colour when selected).
    std::function<void(HDC dc, const RECT& content, int row, bool selected)> onDrawRow;
    // The row's name, as assistive tools and type-ahead find it.
    std::function<std::string(int row)> onRowName;
    // What assistive tools read besides the name; an unavailable row reads as such.
    std::function<std::string(int row)> onRowDescription;
    std::function<bool(int row)> onRowAvailable;
    // A check changed by the user (click, Space or an assistive tool).
    std::function<void(int row)> onCheckToggled;
    // -1 off the rows; the check is left alone.
    std::function<void(int row)> onDoubleClick;
    // When connected the wheel no longer scrolls; WM_MOUSEWHEEL's delta.
    std::function<void(int delta)> onWheel;

    bool HandleNotify(NMHDR& header, LRESULT& result) override;
    bool HandleDrawItem(DRAWITEMSTRUCT& item) override;
    void DpiChanged() override;

    long AccessibleItemCount() override { return RowCount(); }
    long AccessibleRole(long child) override;
    std::string AccessibleName(long child) override;
    std::string AccessibleDescription(long child) override;
    long AccessibleState(long child) override;
    std::string AccessibleDefaultAction(long child) override;
    void AccessibleDoDefaultAction(long child) override;
    bool AccessibleItemRect(long child, RECT& client) override;
    long AccessibleFocusedItem() override { return FocusedRow() + 1; }
    bool AccessibleSelect(long child, long flags) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ToggleByUser(int row);
    void FitRowHeight();
    void FitColumn();
    void DrawCheckBox(HDC dc, const RECT& row, bool checked);

    int rowHeight_;
    int checkTop_;
    int spacerHeight_ = 0; // of the image list that gives the rows their height
    bool settingChecks_ = false;
    std::wstring nameBuffer_;
};

} // namespace ui
