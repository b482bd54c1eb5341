#include "forms/uMainObjectsView.h"

#include "app/uObjectsPane.h"
#include "forms/uQuotaBar.h"
#include "platform/win32/Win32Text.h"
#include "support/VelaRoutines.h"
#include "ui/VelaSVRuntime.h"

#include <cstring>

using namespace ui;

namespace {
static_assert(kObjectsDefaultColour == kNoColour, "the pane's default colour is the list's own");

// Indices in the header's image list.
constexpr int kSortUpImage = 0;
constexpr int kSortDownImage = 1;
} // namespace

TMainObjectsView::TMainObjectsView(TContainer& page, const TDesignRect& area, uint8_t anchors)
{
    pane_ = std::make_unique<TPane>(page, TPaneArgs{.header = " Objects", .rect = area, .anchors = anchors});
    list_ = &pane_->Frame().Add<TVirtualListView>(
        TVirtualListArgs{.rect = {1, TPane::kHeaderHeight, area.width - 2, area.height - TPane::kHeaderHeight - 1},
                         .anchors = kAnchorAll,
                         .checkBoxes = true,
                         .gridLines = true});
    LoadImages();
    ConnectList();
}

TMainObjectsView::~TMainObjectsView()
{
    list_->ClearEvents();
    list_->SetSmallImages(nullptr);
    list_->SetHeaderImages(nullptr);
}

void TMainObjectsView::ConnectList()
{
    TVirtualListView& list = *list_;
    list.onCellText = [this](int row, int column) {
        return events_.onCellText ? events_.onCellText(row, column) : std::string();
    };
    list.onRowImage = [this](int row) { return events_.onRowImage ? events_.onRowImage(row) : -1; };
    list.onRowChecked = [this](int row) { return events_.onRowChecked && events_.onRowChecked(row); };
    list.onCellTextColour = [this](int row, int column) -> COLORREF {
        return events_.onCellTextColour ? events_.onCellTextColour(row, column) : kNoColour;
    };
    list.onCellPaint = [this](int row, int, HDC dc, const RECT& cell) { PaintQuota(row, dc, cell); };
    list.onCheckBoxClick = [this](int row) {
        if (events_.onCheckBoxClicked)
            events_.onCheckBoxClicked(row);
    };
    list.onDoubleClick = [this](int) {
        if (events_.onDoubleClicked)
            events_.onDoubleClicked();
    };
    list.onColumnClick = [this](int column) {
        if (events_.onHeaderClicked)
            events_.onHeaderClicked(column);
    };
    list.onContextMenu = [this](POINT at) {
        if (!events_.onContextMenuRequested)
            return;
        menuPoint_ = at;
        events_.onContextMenuRequested();
        menuPoint_.reset();
    };
    list.onKeyDown = [this](UINT key, bool control) { return events_.onKeyDown && events_.onKeyDown(key, control); };
    list.onFocusLost = [this] {
        if (events_.onFocusLost)
            events_.onFocusLost();
    };
    list.onDpiChanged = [this] { LoadImages(); };
    // Read as the path, then what the image, the colour and the bar show.
    list.onRowAccessibleName = [this](int row) {
        return events_.onCellText ? events_.onCellText(row, cnPath) : std::string();
    };
    list.onRowAccessibleDescription = [this](int row) {
        if (!events_.onRowSafety || !events_.onCellText)
            return std::string();
        return events_.onRowSafety(row) + ", " + events_.onCellText(row, cnCategory) + ", " +
               events_.onCellText(row, cnSize);
    };
    list.onRowAccessibleValue = [this](int row) {
        const int32_t percent = events_.onRowQuotaPercent ? events_.onRowQuotaPercent(row) : -1;
        return percent < 0 ? std::string() : std::to_string(percent) + " %";
    };
}

void TMainObjectsView::SetColumns(const std::vector<TObjectsColumnInfo>& columns)
{
    std::vector<TVirtualColumn> shown;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        // Sizes line up on their units, as in the shell's own lists.
        shown.push_back(TVirtualColumn{.caption = columns[i].caption,
                                       .designWidth = columns[i].width,
                                       .fill = columns[i].fill,
                                       .rightAligned = column == cnSize,
                                       .painted = column == cnQuota});
    }
    list_->SetColumns(shown);
}

void TMainObjectsView::SetSortImage(int32_t column, TSortImage image)
{
    list_->SetHeaderImage(column, image == siUp ? kSortUpImage : image == siDown ? kSortDownImage : -1);
}

void TMainObjectsView::LoadImages()
{
    const int dpi = list_->Dpi();
    // The new lists are in place before the old ones go.
    TImageListHandle safety = MaskedImagesForDpi({"fsafe16", "fpunsafe16", "funsafe16"}, dpi);
    TImageListHandle sort = MaskedImagesForDpi({"sort_up", "sort_down"}, dpi);
    if (imageList_ == ilSafety)
        list_->SetSmallImages(safety.get());
    list_->SetHeaderImages(sort.get());
    safetyImages_ = std::move(safety);
    sortImages_ = std::move(sort);
}

void TMainObjectsView::SetImageList(TObjectsImageList list)
{
    imageList_ = list;
    list_->SetSmallImages(list == ilSystem ? TIconRoutines::SystemSmallImageList() : safetyImages_.get());
}

int32_t TMainObjectsView::SystemIconIndex(const std::string& path)
{
    return TIconRoutines::SystemSmallIconIndex(path, TDirectoryRoutines::IsDirectory(path));
}

void TMainObjectsView::SetEnabled(bool enabled)
{
    list_->SetEnabled(enabled); // enabled again, it shows the rows still waiting at once
}

void TMainObjectsView::PaintQuota(int row, HDC dc, const RECT& cell)
{
    if (!events_.onQuotaBar)
        return;
    PaintQuotaBar(dc, events_.onQuotaBar(row, {cell.left, cell.top, cell.right, cell.bottom}));
}

// Shell, clipboard and menu ------------------------------------------------------------------

void TMainObjectsView::SetClipboardText(const std::string& text)
{
    const std::wstring wide = platform::Widen(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, wide.c_str(), bytes);
        GlobalUnlock(memory);
    }
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int attempt = 0; attempt < 5 && !(open = OpenClipboard(list_->Handle()) != FALSE); ++attempt)
        Sleep(20);
    if (!open) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory))
        GlobalFree(memory); // the clipboard owns it only once taken
    CloseClipboard();
}

bool TMainObjectsView::ShellOpen(const std::string& path)
{
    const HINSTANCE result = ShellExecuteW(list_->Window().Handle(), L"open", platform::Widen(path).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool TMainObjectsView::OpenContainingFolder(const std::string& path)
{
    return TDirectoryRoutines::OpenContainingFolder(path);
}

TObjectsCommand TMainObjectsView::ShowContextMenu(const std::vector<TObjectsMenuItem>& items)
{
    POINT at{};
    if (menuPoint_)
        at = *menuPoint_;
    else
        GetCursorPos(&at);
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return cmNone;
    for (const TObjectsMenuItem& item : items) {
        const std::wstring caption = platform::Widen(item.caption);
        AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED), item.command, caption.c_str());
        if (item.isDefault)
            SetMenuDefaultItem(menu, item.command, FALSE);
    }
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | align, at.x, at.y, 0,
                                      list_->Window().Handle(), nullptr);
    DestroyMenu(menu);
    return static_cast<TObjectsCommand>(chosen);
}

int32_t TMainObjectsView::MonitorNumber()
{
    return TSVRuntime::MonitorOf(list_->Window().Handle());
}
