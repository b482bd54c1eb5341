#include "ui/VelaSVRuntime.h"

#include "platform/win32/Win32Text.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <vector>

namespace ui {

void TToolTipDeleter::operator()(HWND tip) const
{
    // Its owner window may have taken it along already.
    if (IsWindow(tip))
        DestroyWindow(tip);
}

// Accelerators -------------------------------------------------------------------------------

namespace {
BOOL CALLBACK RepaintIfTextControl(HWND child, LPARAM data)
{
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Static") == 0 || lstrcmpiW(name, L"Button") == 0) {
        InvalidateRect(child, nullptr, TRUE);
        ++*reinterpret_cast<int*>(data);
    }
    return TRUE;
}
} // namespace

int TSVRuntime::ShowAccelerators(HWND anyWindow)
{
    HWND root = anyWindow ? GetAncestor(anyWindow, GA_ROOT) : nullptr;
    if (!root)
        return 0;
    // A top-level window passes this on to all its children as WM_UPDATEUISTATE.
    SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    int count = 0;
    EnumChildWindows(root, &RepaintIfTextControl, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Monitors -----------------------------------------------------------------------------------

namespace {
BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(monitor);
    return TRUE;
}

std::vector<HMONITOR> Monitors()
{
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}
} // namespace

int TSVRuntime::MonitorOf(HWND window)
{
    if (!window || !IsWindow(window) || GetAncestor(window, GA_ROOT) != window)
        return 0;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId())
        return 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    if (!monitor)
        return 0;
    const auto monitors = Monitors();
    const auto found = std::find(monitors.begin(), monitors.end(), monitor);
    return found == monitors.end() ? 0 : static_cast<int>(found - monitors.begin());
}

RECT TSVRuntime::MonitorRect(int number)
{
    const auto monitors = Monitors();
    HMONITOR monitor = number >= 0 && number < static_cast<int>(monitors.size())
                           ? monitors[static_cast<size_t>(number)]
                           : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return info.rcMonitor;
}

int TSVRuntime::MonitorCount() { return static_cast<int>(Monitors().size()); }

// Balloon tips -------------------------------------------------------------------------------

TToolTipHandle TSVRuntime::AttachBalloonTip(const TControl& control, const std::string& title,
                                            const std::string& text, int icon)
{
    HWND target = control.Handle();
    if (TDetect::GetWindowsVersion() <= wvMe || !target)
        return {};
    TToolTipHandle tip(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(target, GA_ROOT),
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!tip)
        return {};
    std::wstring wideText = platform::Widen(text);
    TOOLINFOW info{};
    // The older size: common controls before version 6 refuse the larger record.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(target) ? GetParent(target) : target;
    info.uId = reinterpret_cast<UINT_PTR>(target);
    info.lpszText = wideText.data();
    if (!SendMessageW(tip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)))
        return {};
    // Long texts wrap instead of running across the screen.
    SendMessageW(tip.get(), TTM_SETMAXTIPWIDTH, 0, control.Scale(300));
    // A longer title is not shown at all.
    std::wstring wideTitle = platform::Widen(title).substr(0, 99);
    SendMessageW(tip.get(), TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(wideTitle.c_str()));
    return tip;
}

// Folder trees -------------------------------------------------------------------------------

HTREEITEM TSVRuntime::SelectDefaultDrive(TTreeView& tree, bool skipFloppies,
                                         const std::function<std::string(HTREEITEM)>& pathOf)
{
    HWND handle = tree.Handle();
    HTREEITEM computer = TreeView_GetRoot(handle);
    if (!computer || !pathOf)
        return nullptr;
    // Trees that fill a node as it opens get their drives now.
    TreeView_Expand(handle, computer, TVE_EXPAND);
    for (HTREEITEM item = TreeView_GetChild(handle, computer); item; item = TreeView_GetNextSibling(handle, item)) {
        const std::string path = pathOf(item);
        if (path.size() != 3 || !TDirectoryRoutines::IsDriveRoot(path))
            continue;
        const char letter = static_cast<char>(path[0] & ~0x20);
        if (skipFloppies && (letter == 'A' || letter == 'B'))
            continue;
        TreeView_SelectItem(handle, item);
        TreeView_EnsureVisible(handle, item);
        return item;
    }
    return nullptr;
}

// Checked lists ------------------------------------------------------------------------------

int TSVListRoutines::CountChecked(const TListView& list)
{
    int count = 0;
    for (int i = 0, total = list.ItemCount(); i < total; ++i)
        count += list.Checked(i) ? 1 : 0;
    return count;
}

int TSVListRoutines::AddUnique(TListView& list, const std::string& text, bool checked)
{
    int index = FindText(list, text);
    if (index < 0)
        index = list.AddItem(text);
    if (index >= 0)
        list.SetChecked(index, checked);
    return index;
}

void TSVListRoutines::SetAllChecked(TListView& list, bool checked)
{
    ListView_SetItemState(list.Handle(), -1, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

void TSVListRoutines::SetAllSelected(TListView& list, bool selected)
{
    ListView_SetItemState(list.Handle(), -1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int TSVListRoutines::FindText(const TListView& list, const std::string& text)
{
    for (int i = 0, total = list.ItemCount(); i < total; ++i)
        if (list.ItemText(i, 0) == text)
            return i;
    return -1;
}

int TSVListRoutines::FindTextSorted(const TListView& list, const std::string& text)
{
    int low = 0;
    int high = list.ItemCount() - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int order = TStringRoutines::CompareIgnoringCase(list.ItemText(middle, 0), text);
        if (order == 0)
            return middle;
        if (order < 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return -1;
}

// List views ---------------------------------------------------------------------------------

bool TSVListRoutines::SetHeaderImage(HWND listView, int column, int imageIndex)
{
    HWND header = ListView_GetHeader(listView);
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!header || column < 0 || column >= Header_GetItemCount(header) ||
        !SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
        return false;
    // From an image list, not HDF_BITMAP: a bitmap would be drawn with its magenta ground. The
    // text is left out of the mask so it stays; the other format bits are the column's own.
    item.mask = HDI_FORMAT | HDI_IMAGE;
    if (imageIndex >= 0)
        item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT | HDF_STRING;
    else
        item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
    item.iImage = imageIndex;
    return SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)) != 0;
}

namespace {
struct TRow {
    std::vector<std::string> texts;
    LVITEMW item{};
};

constexpr UINT kMovedStates = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;

int ColumnCount(const TListView& list)
{
    HWND header = ListView_GetHeader(list.Handle());
    return std::max(1, header ? Header_GetItemCount(header) : 1);
}

TRow ReadRow(const TListView& list, int index, int columns)
{
    TRow row;
    for (int column = 0; column < columns; ++column)
        row.texts.push_back(list.ItemText(index, column));
    row.item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    row.item.iItem = index;
    row.item.stateMask = kMovedStates;
    SendMessageW(list.Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row.item));
    return row;
}

void WriteRow(TListView& list, int index, TRow row)
{
    for (int column = 0; column < static_cast<int>(row.texts.size()); ++column)
        list.SetItemText(index, column, row.texts[static_cast<size_t>(column)]);
    row.item.iItem = index;
    row.item.iSubItem = 0;
    row.item.stateMask = kMovedStates;
    SendMessageW(list.Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&row.item));
}
} // namespace

int TSVListRoutines::MoveSelected(TListView& list, int step)
{
    const int from = list.Selected();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= list.ItemCount())
        return -1;
    const int columns = ColumnCount(list);
    TRow moved = ReadRow(list, from, columns);
    TRow other = ReadRow(list, to, columns);
    // The unselected row first, so a single-selection list never holds two selections.
    WriteRow(list, from, std::move(other));
    WriteRow(list, to, std::move(moved));
    ListView_EnsureVisible(list.Handle(), to, FALSE);
    return to;
}

} // namespace ui
