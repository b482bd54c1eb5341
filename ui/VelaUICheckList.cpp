#include "ui/VelaUICheckList.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaUIWindow.h"

#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {
constexpr int kCheckCell = 16; // design pixels of the check box's cell
}

TCheckList::TCheckList(TContainer& parent, const TCheckListArgs& args)
    : TControl(parent, {.className = WC_LISTVIEWW,
                        .style = WS_TABSTOP | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                 LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED,
                        .rect = args.rect,
                        .anchors = args.anchors}),
      rowHeight_(args.rowHeight), checkTop_(args.checkTop)
{
    ListView_SetExtendedListViewStyle(handle_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = Scale(args.rect.width);
    ListView_InsertColumn(handle_, 0, &column);
    FitRowHeight();
    FitColumn();
    ExposeAccessible();
}

void TCheckList::SetRowCount(int count)
{
    settingChecks_ = true;
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    while (RowCount() > count)
        ListView_DeleteItem(handle_, RowCount() - 1);
    while (RowCount() < count) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = RowCount();
        item.pszText = LPSTR_TEXTCALLBACKW; // names come from onRowName when asked
        SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    settingChecks_ = false;
    FitRowHeight();
    Invalidate();
}

bool TCheckList::Checked(int row) const
{
    // Rows without a state image read as unchecked, not as ListView_GetCheckState's -1.
    return (ListView_GetItemState(handle_, row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void TCheckList::SetChecked(int row, bool checked)
{
    settingChecks_ = true;
    ListView_SetItemState(handle_, row, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
    settingChecks_ = false;
}

void TCheckList::ToggleByUser(int row)
{
    SetChecked(row, !Checked(row));
    NotifyAccessible(handle_, EVENT_OBJECT_STATECHANGE, row + 1);
    if (onCheckToggled)
        onCheckToggled(row);
}

// Assistive tools: a list of check items, child n being row n - 1.

long TCheckList::AccessibleRole(long child) { return child == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_CHECKBUTTON; }

std::string TCheckList::AccessibleName(long child)
{
    if (child == CHILDID_SELF)
        return TControl::AccessibleName(child);
    return onRowName ? onRowName(static_cast<int>(child - 1)) : std::string();
}

std::string TCheckList::AccessibleDescription(long child)
{
    return child != CHILDID_SELF && onRowDescription ? onRowDescription(static_cast<int>(child - 1)) : std::string();
}

long TCheckList::AccessibleState(long child)
{
    if (child == CHILDID_SELF)
        return 0;
    const int row = static_cast<int>(child - 1);
    long state = Checked(row) ? STATE_SYSTEM_CHECKED : 0;
    if (ListView_GetItemState(handle_, row, LVIS_SELECTED) & LVIS_SELECTED)
        state |= STATE_SYSTEM_SELECTED;
    if (onRowAvailable && !onRowAvailable(row))
        state |= STATE_SYSTEM_UNAVAILABLE;
    return state;
}

std::string TCheckList::AccessibleDefaultAction(long child)
{
    if (child == CHILDID_SELF)
        return {};
    return Checked(static_cast<int>(child - 1)) ? "Uncheck" : "Check";
}

void TCheckList::AccessibleDoDefaultAction(long child)
{
    // As a click on the row's check box: focus and selection move there, then it toggles.
    if (child == CHILDID_SELF || child > RowCount())
        return;
    const int row = static_cast<int>(child - 1);
    ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(handle_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ToggleByUser(row);
}

bool TCheckList::AccessibleItemRect(long child, RECT& client)
{
    return ListView_GetItemRect(handle_, static_cast<int>(child - 1), &client, LVIR_BOUNDS) != FALSE;
}

bool TCheckList::AccessibleSelect(long child, long flags)
{
    const int row = static_cast<int>(child - 1);
    if (flags & SELFLAG_TAKEFOCUS)
        ::SetFocus(handle_);
    if (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)) {
        ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(handle_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(handle_, row, FALSE);
    }
    return true;
}

void TCheckList::MoveFocus(int step)
{
    const int count = RowCount();
    if (count == 0)
        return;
    const int focused = FocusedRow();
    const int next = focused < 0 ? 0 : std::clamp(focused + step, 0, count - 1);
    ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(handle_, next, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(handle_, next, FALSE);
}

int TCheckList::RowAt(POINT client) const
{
    // From the rows' geometry: the list view's own hit test depends on texts it never draws.
    RECT first{};
    if (RowCount() == 0 || !ListView_GetItemRect(handle_, 0, &first, LVIR_BOUNDS))
        return -1;
    const int height = first.bottom - first.top;
    if (height <= 0 || client.y < first.top || client.x < first.left || client.x >= first.right)
        return -1;
    const int row = (client.y - first.top) / height;
    return row < RowCount() ? row : -1;
}

void TCheckList::FitRowHeight()
{
    // Rows are as high as the small images: a list of one-pixel-wide images sets the height.
    const int wanted = Scale(rowHeight_);
    int height = spacerHeight_ > 0 ? spacerHeight_ : wanted;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (height != spacerHeight_) {
            spacerHeight_ = height;
            HIMAGELIST spacer = ImageList_Create(1, std::max(height, 1), ILC_COLOR, 0, 1);
            if (HIMAGELIST previous = ListView_SetImageList(handle_, spacer, LVSIL_SMALL))
                ImageList_Destroy(previous);
        }
        RECT row{};
        if (RowCount() == 0 || !ListView_GetItemRect(handle_, 0, &row, LVIR_BOUNDS))
            return;
        // The list adds a padding of its own, which differs between systems.
        const int padding = (row.bottom - row.top) - spacerHeight_;
        height = wanted - padding;
        if (height == spacerHeight_)
            return;
    }
}

void TCheckList::FitColumn()
{
    RECT client{};
    GetClientRect(handle_, &client);
    if (ListView_GetColumnWidth(handle_, 0) != client.right)
        ListView_SetColumnWidth(handle_, 0, client.right);
}

void TCheckList::DpiChanged()
{
    FitRowHeight();
    FitColumn();
    Invalidate();
}

void TCheckList::DrawCheckBox(HDC dc, const RECT& row, bool checked)
{
    const int cell = Scale(kCheckCell);
    const int left = row.left + (Scale(kCheckColumn) - cell) / 2;
    const int top = checkTop_ < 0 ? row.top + (row.bottom - row.top - cell) / 2 : row.top + Scale(checkTop_);
    // The list view's own check images follow the system's theme.
    HIMAGELIST states = ListView_GetImageList(handle_, LVSIL_STATE);
    int width = 0;
    int height = 0;
    if (states && ImageList_GetIconSize(states, &width, &height) && ImageList_GetImageCount(states) >= 2) {
        ImageList_Draw(states, checked ? 1 : 0, dc, left + (cell - width) / 2, top + (cell - height) / 2,
                       ILD_TRANSPARENT);
        return;
    }
    RECT box{left + 1, top + 1, left + cell - 1, top + cell - 1};
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
}

bool TCheckList::HandleDrawItem(DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1))
        return true;
    const int row = static_cast<int>(item.itemID);
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    if (width <= 0 || height <= 0)
        return true;
    // Drawn off screen and copied at once, so a row never shows half drawn.
    HDC memory = CreateCompatibleDC(item.hDC);
    HBITMAP canvas = CreateCompatibleBitmap(item.hDC, width, height);
    HGDIOBJ previousBitmap = SelectObject(memory, canvas);
    HGDIOBJ previousFont = SelectObject(memory, reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
    const RECT local{0, 0, width, height};
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(memory, &local, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    DrawCheckBox(memory, local, Checked(row));
    SetBkMode(memory, TRANSPARENT);
    if (onDrawRow)
        onDrawRow(memory, RECT{Scale(kCheckColumn), 0, width, height}, row, selected);
    if ((item.itemState & ODS_FOCUS) && !(SendMessageW(handle_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        SetTextColor(memory, RGB(0, 0, 0));
        SetBkColor(memory, RGB(255, 255, 255));
        DrawFocusRect(memory, &local);
    }
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousFont);
    SelectObject(memory, previousBitmap);
    DeleteObject(canvas);
    DeleteDC(memory);
    return true;
}

bool TCheckList::HandleNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
        const UINT oldCheck = change.uOldState & LVIS_STATEIMAGEMASK;
        const UINT newCheck = change.uNewState & LVIS_STATEIMAGEMASK;
        // Checks changed by other means than this control's own (an assistive tool) count as the user's.
        if ((change.uChanged & LVIF_STATE) && change.iItem >= 0 && oldCheck && newCheck && oldCheck != newCheck &&
            !settingChecks_ && onCheckToggled)
            onCheckToggled(change.iItem);
        return true;
    }
    case LVN_GETDISPINFOW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
            nameBuffer_ = onRowName ? platform::Widen(onRowName(info.item.iItem)) : std::wstring();
            lstrcpynW(info.item.pszText, nameBuffer_.c_str(), info.item.cchTextMax);
        }
        return true;
    }
    case NM_DBLCLK:
        if (onDoubleClick)
            onDoubleClick(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        return true;
    default:
        return false;
    }
}

LRESULT TCheckList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The check box column is the control's: each click there toggles, a quick second one too.
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int row = RowAt(point);
        RECT first{};
        ListView_GetItemRect(handle_, 0, &first, LVIR_BOUNDS);
        if (row < 0 || point.x - first.left >= Scale(kCheckColumn))
            break;
        ::SetFocus(handle_);
        ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(handle_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ToggleByUser(row);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            if (FocusedRow() >= 0)
                ToggleByUser(FocusedRow());
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L' ')
            return 0; // handled as a key; type-ahead must not take it
        break;
    case WM_MOUSEWHEEL:
        if (onWheel) {
            onWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
        FitColumn();
        return result;
    }
    default:
        break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

} // namespace ui
