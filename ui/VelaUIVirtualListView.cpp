#include "ui/VelaUIVirtualListView.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaSVRuntime.h"

#include <algorithm>
#include <oleacc.h>
#include <windowsx.h>

namespace ui {

namespace {
constexpr UINT_PTR kCountTimer = 0x5153; // apart from the ids the list view uses itself
constexpr int kMinimumFillWidth = 100;   // design pixels
constexpr COLORREF kMagenta = RGB(255, 0, 255);

bool SamePrefix(const std::wstring& text, const std::wstring& prefix, bool whole)
{
    if (text.size() < prefix.size() || (whole && text.size() != prefix.size()))
        return false;
    return platform::EqualIgnoringCase(text.c_str(), prefix.size(), prefix.c_str(), prefix.size());
}
} // namespace

TImageListHandle MaskedImagesForDpi(const std::vector<std::string>& names, int dpi)
{
    TImageListHandle images;
    for (const std::string& name : names) {
        TBitmapHandle bitmap = TBitmapRoutines::LoadBitmapForDpi(name, dpi);
        if (!bitmap)
            return nullptr; // the indices of the others would be wrong
        if (!images) {
            const SIZE size = TBitmapRoutines::BitmapSize(bitmap.get());
            images.reset(ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, static_cast<int>(names.size()), 0));
            if (!images)
                return nullptr;
        }
        if (ImageList_AddMasked(images.get(), bitmap.get(), kMagenta) < 0)
            return nullptr;
    }
    return images;
}

TVirtualListView::TVirtualListView(TContainer& parent, const TVirtualListArgs& args)
    : TControl(parent, {.className = WC_LISTVIEWW,
                        .style = static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA |
                                                    LVS_SHOWSELALWAYS | (args.multiSelect ? 0 : LVS_SINGLESEL)),
                        .rect = args.rect,
                        .anchors = args.anchors}),
      checkBoxes_(args.checkBoxes)
{
    DWORD extended = LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;
    if (args.checkBoxes)
        extended |= LVS_EX_CHECKBOXES;
    if (args.gridLines)
        extended |= LVS_EX_GRIDLINES;
    ListView_SetExtendedListViewStyle(handle_, extended);
    // Without rows of its own the list asks for the checks too.
    if (args.checkBoxes)
        ListView_SetCallbackMask(handle_, LVIS_STATEIMAGEMASK);
    ExposeAccessible();
}

TVirtualListView::~TVirtualListView()
{
    if (timerRunning_)
        KillTimer(handle_, kCountTimer);
    // The list view would destroy the small images with itself; they are the owner's.
    ListView_SetImageList(handle_, nullptr, LVSIL_SMALL);
}

void TVirtualListView::ClearEvents()
{
    onCellText = nullptr;
    onRowImage = nullptr;
    onRowChecked = nullptr;
    onCellTextColour = nullptr;
    onCellPaint = nullptr;
    onCheckBoxClick = nullptr;
    onDoubleClick = nullptr;
    onColumnClick = nullptr;
    onSelectionChanged = nullptr;
    onContextMenu = nullptr;
    onKeyDown = nullptr;
    onFocusLost = nullptr;
    onDpiChanged = nullptr;
    onRowAccessibleName = nullptr;
    onRowAccessibleDescription = nullptr;
    onRowAccessibleValue = nullptr;
}

// Columns ------------------------------------------------------------------------------------

void TVirtualListView::SetColumns(const std::vector<TVirtualColumn>& columns)
{
    fitting_ = true;
    while (ListView_DeleteColumn(handle_, 0)) {
    }
    columns_ = columns;
    fillColumn_ = -1;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const TVirtualColumn& source = columns_[i];
        std::wstring caption = platform::Widen(source.caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = source.rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = source.fill ? 0 : Scale(source.designWidth);
        column.pszText = caption.data();
        ListView_InsertColumn(handle_, static_cast<int>(i), &column);
        if (source.fill && fillColumn_ < 0)
            fillColumn_ = static_cast<int>(i);
    }
    fitting_ = false;
    Header_SetImageList(ListView_GetHeader(handle_), headerImages_);
    FitFillColumn();
}

void TVirtualListView::FitFillColumn()
{
    if (fillColumn_ < 0 || fitting_)
        return;
    RECT client{};
    GetClientRect(handle_, &client);
    int others = 0;
    for (int column = 0; column < ColumnCount(); ++column)
        if (column != fillColumn_)
            others += ColumnWidth(column);
    const int width = std::max(static_cast<int>(client.right) - others, Scale(kMinimumFillWidth));
    if (width == ColumnWidth(fillColumn_))
        return;
    fitting_ = true;
    ListView_SetColumnWidth(handle_, fillColumn_, width);
    fitting_ = false;
}

void TVirtualListView::HeaderChanged(const NMHEADERW& change)
{
    // The user's widths are kept in design pixels so they survive a change of DPI; the fill
    // column may be widened by hand until the list is resized.
    if (fitting_ || !change.pitem || !(change.pitem->mask & HDI_WIDTH) || change.iItem == fillColumn_ ||
        change.iItem < 0 || change.iItem >= ColumnCount())
        return;
    columns_[static_cast<size_t>(change.iItem)].designWidth = MulDiv(change.pitem->cxy, 96, Dpi());
    FitFillColumn();
}

void TVirtualListView::DpiChanged()
{
    fitting_ = true;
    for (int column = 0; column < ColumnCount(); ++column)
        if (column != fillColumn_)
            ListView_SetColumnWidth(handle_, column, Scale(columns_[static_cast<size_t>(column)].designWidth));
    fitting_ = false;
    FitFillColumn();
    if (onDpiChanged)
        onDpiChanged();
    InvalidateRect(handle_, nullptr, TRUE); // drawn with the new images
}

void TVirtualListView::SetHeaderImages(HIMAGELIST images)
{
    headerImages_ = images;
    Header_SetImageList(ListView_GetHeader(handle_), images);
}

bool TVirtualListView::SetHeaderImage(int column, int index)
{
    return TSVListRoutines::SetHeaderImage(handle_, column, index);
}

void TVirtualListView::SetSmallImages(HIMAGELIST images)
{
    ListView_SetImageList(handle_, images, LVSIL_SMALL);
    // The list view hands its small images to the header as well, for images in column titles.
    Header_SetImageList(ListView_GetHeader(handle_), headerImages_);
}

// Rows ---------------------------------------------------------------------------------------

void TVirtualListView::SetRowCount(int count)
{
    pendingCount_ = std::max(count, 0);
    if (pendingCount_ == shownCount_) {
        if (timerRunning_)
            KillTimer(handle_, kCountTimer);
        timerRunning_ = false;
        return;
    }
    // The time is checked here as well: while rows stream in, the queue may never be idle
    // long enough for a timer message.
    if (pendingCount_ < shownCount_ || GetTickCount() - lastApplied_ >= kCountInterval) {
        ApplyRowCount();
        return;
    }
    if (!timerRunning_)
        timerRunning_ = SetTimer(handle_, kCountTimer, kCountInterval, nullptr) != 0;
}

void TVirtualListView::FlushRowCount()
{
    if (pendingCount_ != shownCount_ || timerRunning_)
        ApplyRowCount();
}

void TVirtualListView::ApplyRowCount()
{
    if (timerRunning_)
        KillTimer(handle_, kCountTimer);
    timerRunning_ = false;
    lastApplied_ = GetTickCount();
    if (pendingCount_ == shownCount_)
        return;
    // Rows only added: only those in view need painting, and the view stays where it is.
    const DWORD flags = pendingCount_ > shownCount_ ? LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL : 0;
    ListView_SetItemCountEx(handle_, pendingCount_, flags);
    shownCount_ = pendingCount_;
    // The vertical scroll bar may have come or gone.
    FitFillColumn();
}

void TVirtualListView::RedrawRows(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, RowCount() - 1);
    if (first <= last)
        ListView_RedrawItems(handle_, first, last);
}

void TVirtualListView::RedrawAll()
{
    FlushRowCount();
    InvalidateRect(handle_, nullptr, TRUE);
}

std::vector<int> TVirtualListView::SelectedRows() const
{
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(ListView_GetSelectedCount(handle_)));
    for (int row = ListView_GetNextItem(handle_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(handle_, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void TVirtualListView::SelectRows(const std::vector<int>& rows)
{
    FlushRowCount();
    const int count = RowCount();
    if (static_cast<int>(rows.size()) == count && count > 0) {
        SelectAll(true); // one message instead of one a row
        return;
    }
    ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED);
    for (int row : rows)
        if (row >= 0 && row < count)
            ListView_SetItemState(handle_, row, LVIS_SELECTED, LVIS_SELECTED);
}

void TVirtualListView::SelectAll(bool selected)
{
    FlushRowCount();
    ListView_SetItemState(handle_, -1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TVirtualListView::FocusRow(int row)
{
    FlushRowCount();
    if (ValidRow(row))
        ListView_SetItemState(handle_, row, LVIS_FOCUSED, LVIS_FOCUSED);
}

void TVirtualListView::EnsureVisible(int row)
{
    FlushRowCount();
    if (ValidRow(row))
        ListView_EnsureVisible(handle_, row, FALSE);
}

std::string TVirtualListView::CellText(int row, int column) const
{
    std::wstring buffer(4096, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = SendMessageW(handle_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return platform::Narrow(item.pszText, static_cast<int>(length));
}

RECT TVirtualListView::CellRect(int row, int column) const
{
    RECT cell{};
    ListView_GetSubItemRect(handle_, row, column, LVIR_BOUNDS, &cell);
    if (column == 0) // the bounds of the first column are those of the whole row
        cell.right = cell.left + ColumnWidth(0);
    return cell;
}

// Assistive tools -----------------------------------------------------------------------------
// Child n is row n - 1: owner-data rows hold nothing the system's list object could read.

long TVirtualListView::AccessibleRole(long child) { return child == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM; }

std::string TVirtualListView::AccessibleName(long child)
{
    if (child == CHILDID_SELF)
        return TControl::AccessibleName(child);
    const int row = static_cast<int>(child - 1);
    return onRowAccessibleName ? onRowAccessibleName(row) : CellText(row, 0);
}

std::string TVirtualListView::AccessibleDescription(long child)
{
    if (child == CHILDID_SELF)
        return {};
    const int row = static_cast<int>(child - 1);
    if (onRowAccessibleDescription)
        return onRowAccessibleDescription(row);
    std::string description;
    for (int column = 1; column < ColumnCount(); ++column) {
        const std::string text = CellText(row, column);
        if (text.empty())
            continue;
        if (!description.empty())
            description += ", ";
        description += columns_[static_cast<size_t>(column)].caption + ": " + text;
    }
    return description;
}

std::string TVirtualListView::AccessibleValue(long child)
{
    return child != CHILDID_SELF && onRowAccessibleValue ? onRowAccessibleValue(static_cast<int>(child - 1))
                                                          : std::string();
}

long TVirtualListView::AccessibleState(long child)
{
    if (child == CHILDID_SELF)
        return checkBoxes_ || columns_.empty() ? 0 : STATE_SYSTEM_READONLY;
    const int row = static_cast<int>(child - 1);
    long state = 0;
    if (ListView_GetItemState(handle_, row, LVIS_SELECTED) & LVIS_SELECTED)
        state |= STATE_SYSTEM_SELECTED;
    if (checkBoxes_ && onRowChecked && onRowChecked(row))
        state |= STATE_SYSTEM_CHECKED;
    return state;
}

std::string TVirtualListView::AccessibleDefaultAction(long child)
{
    if (child == CHILDID_SELF || !checkBoxes_ || !onCheckBoxClick)
        return {};
    return AccessibleState(child) & STATE_SYSTEM_CHECKED ? "Uncheck" : "Check";
}

void TVirtualListView::AccessibleDoDefaultAction(long child)
{
    // A click on the row's check box after the row alone was chosen: the others keep their checks.
    const int row = static_cast<int>(child - 1);
    if (!ValidRow(row) || !checkBoxes_ || !onCheckBoxClick)
        return;
    ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(handle_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    onCheckBoxClick(row);
    NotifyAccessible(handle_, EVENT_OBJECT_STATECHANGE, child);
}

bool TVirtualListView::AccessibleItemRect(long child, RECT& client)
{
    return ListView_GetItemRect(handle_, static_cast<int>(child - 1), &client, LVIR_BOUNDS) != FALSE;
}

bool TVirtualListView::AccessibleSelect(long child, long flags)
{
    const int row = static_cast<int>(child - 1);
    if (!ValidRow(row))
        return false;
    if (flags & SELFLAG_TAKEFOCUS)
        ::SetFocus(handle_);
    if (flags & SELFLAG_TAKESELECTION)
        ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED);
    if (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION))
        ListView_SetItemState(handle_, row, LVIS_SELECTED, LVIS_SELECTED);
    if (flags & SELFLAG_REMOVESELECTION)
        ListView_SetItemState(handle_, row, 0, LVIS_SELECTED);
    if (flags & SELFLAG_TAKEFOCUS)
        FocusRow(row);
    return true;
}

// Messages -----------------------------------------------------------------------------------

void TVirtualListView::GetDisplayInfo(LVITEMW& item)
{
    const int row = item.iItem;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring text = onCellText ? platform::Widen(onCellText(row, item.iSubItem)) : std::wstring();
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0)
        item.iImage = onRowImage ? onRowImage(row) : -1;
    if ((item.mask & LVIF_STATE) && checkBoxes_) {
        const bool checked = onRowChecked && onRowChecked(row);
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

LRESULT TVirtualListView::CustomDraw(NMLVCUSTOMDRAW& draw)
{
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const int column = draw.iSubItem;
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        // High contrast: a selected row keeps the highlight when the list has no focus, where the
        // system's own colour for it would be the scheme's button face, as black as the ground.
        highlightedRow_ = HighContrast() && ListView_GetItemState(handle_, row, LVIS_SELECTED) && GetFocus() != handle_;
        if (highlightedRow_)
            draw.nmcd.uItemState &= ~CDIS_SELECTED;
        itemTextColour_ = draw.clrText;
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const COLORREF colour = onCellTextColour ? onCellTextColour(row, column) : kNoColour;
        // Set for every cell, or one cell's colour would run on into the next. High contrast
        // keeps the system's text colour: what a colour tells is in the cell's words and image too.
        draw.clrText = colour == kNoColour || HighContrast() ? itemTextColour_ : colour;
        if (highlightedRow_) {
            draw.nmcd.uItemState &= ~CDIS_SELECTED;
            draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
            draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        }
        const bool painted = onCellPaint && column >= 0 && column < ColumnCount() &&
                             columns_[static_cast<size_t>(column)].painted;
        return CDRF_NEWFONT | (painted ? CDRF_NOTIFYPOSTPAINT : 0);
    }
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
        if (onCellPaint)
            onCellPaint(row, column, draw.nmcd.hdc, CellRect(row, column));
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

int TVirtualListView::FindRow(const NMLVFINDITEMW& find)
{
    // Typing in the list finds the next row whose first column starts so; without an answer
    // the list would take the first row.
    const LVFINDINFOW& info = find.lvfi;
    const int count = RowCount();
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz || !*info.psz || !onCellText || count <= 0)
        return -1;
    const std::wstring wanted = info.psz;
    const bool whole = !(info.flags & LVFI_PARTIAL);
    const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    for (int step = 0; step < count; ++step) {
        if (start + step >= count && !(info.flags & LVFI_WRAP))
            break;
        const int row = (start + step) % count;
        if (SamePrefix(platform::Widen(onCellText(row, 0)), wanted, whole))
            return row;
    }
    return -1;
}

bool TVirtualListView::HandleNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case LVN_GETDISPINFOW:
        GetDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header).item);
        return true;
    case LVN_ODFINDITEMW:
        result = FindRow(reinterpret_cast<NMLVFINDITEMW&>(header));
        return true;
    case NM_CUSTOMDRAW:
        result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        return true;
    case NM_DBLCLK: {
        const int row = reinterpret_cast<NMITEMACTIVATE&>(header).iItem;
        if (ValidRow(row) && onDoubleClick)
            onDoubleClick(row);
        return true;
    }
    case LVN_COLUMNCLICK:
        if (onColumnClick)
            onColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return true;
    case LVN_ITEMCHANGED: {
        const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) &&
            onSelectionChanged)
            onSelectionChanged();
        return false;
    }
    case LVN_ODSTATECHANGED: {
        const NMLVODSTATECHANGE& change = reinterpret_cast<NMLVODSTATECHANGE&>(header);
        if (((change.uOldState ^ change.uNewState) & LVIS_SELECTED) && onSelectionChanged)
            onSelectionChanged();
        return false;
    }
    default:
        return false;
    }
}

bool TVirtualListView::CheckBoxMouseDown(LPARAM position)
{
    if (!checkBoxes_)
        return false;
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (ListView_HitTest(handle_, &hit) < 0 || (hit.flags & LVHT_ONITEM) != LVHT_ONITEMSTATEICON)
        return false;
    // The list never sees the click, so the selection stays: a check given to one of several
    // selected rows is given to all of them.
    if (GetFocus() != handle_)
        ::SetFocus(handle_);
    if (onCheckBoxClick)
        onCheckBoxClick(hit.iItem);
    return true;
}

void TVirtualListView::ContextMenu(LPARAM position)
{
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {
        // From the keyboard: below the focused row while it is in view, else the list's corner.
        RECT client{}, row{};
        GetClientRect(handle_, &client);
        point = {0, 0};
        const int focused = FocusedRow();
        if (focused >= 0 && ListView_GetItemRect(handle_, focused, &row, LVIR_LABEL) && row.bottom > 0 &&
            row.bottom < client.bottom)
            point = {std::max(row.left, 0L), row.bottom};
        ClientToScreen(handle_, &point);
    }
    onContextMenu(point);
}

LRESULT TVirtualListView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != kCountTimer)
            break;
        ApplyRowCount();
        return 0;
    case WM_ENABLE:
        if (wParam)
            FlushRowCount(); // the last rows of a scan show as soon as it ends
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (CheckBoxMouseDown(lParam))
            return 0;
        break;
    case WM_KEYDOWN:
        swallowChar_ = false;
        if (onKeyDown && onKeyDown(static_cast<UINT>(wParam), GetKeyState(VK_CONTROL) < 0)) {
            // Nor may its character reach the list, which would search the rows for it.
            swallowChar_ = true;
            return 0;
        }
        break;
    case WM_CHAR:
        if (!swallowChar_)
            break;
        swallowChar_ = false;
        return 0;
    case WM_KILLFOCUS: {
        const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
        if (onFocusLost)
            onFocusLost();
        return result;
    }
    case WM_CONTEXTMENU:
        // The header's menu request passes on to the window.
        if (reinterpret_cast<HWND>(wParam) != handle_ || !onContextMenu)
            break;
        ContextMenu(lParam);
        return 0;
    case WM_SIZE: {
        const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
        FitFillColumn();
        return result;
    }
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom != ListView_GetHeader(handle_) || (header.code != HDN_ITEMCHANGEDW && header.code != HDN_ITEMCHANGEDA))
            break;
        const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
        // Same layout in both forms as far as the width goes.
        HeaderChanged(reinterpret_cast<NMHEADERW&>(header));
        return result;
    }
    default:
        break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

} // namespace ui
