#include "forms/uReport.h"

#include "app/uControllerServices.h"
#include "forms/uQuotaBar.h"
#include "platform/win32/Win32Text.h"
#include "ui/VelaSVComputingWnd.h"
#include "ui/VelaSVRuntime.h"

#include <commdlg.h>

using namespace ui;

namespace {
constexpr int kDesignWidth = 640;
constexpr int kDesignHeight = 420;
constexpr int kReportToolbarHeight = 30;
constexpr int kContentTop = chrome::kTitleHeight + kReportToolbarHeight;

// Indices in the header's image list.
constexpr int kSortUpImage = 0;
constexpr int kSortDownImage = 1;
} // namespace

TfrmReport::TfrmReport(HWND owner)
    : TDialogWindow(forms::TDialogWindowArgs{.title = "Report",
                                             .clientWidth = kDesignWidth,
                                             .clientHeight = kDesignHeight,
                                             .minimumWidth = 480,
                                             .minimumHeight = 300,
                                             .owner = owner})
{
    CreateControls();
    ConnectList();
    Window().onFirstShow = [this] {
        if (events_.onFirstShow)
            events_.onFirstShow();
    };
    controller_ = TControllerServices::CreateReportController(*this, messageBoxes_);
}

TfrmReport::~TfrmReport()
{
    lvScanReport_->ClearEvents();
    lvScanReport_->SetSmallImages(nullptr);
    lvScanReport_->SetHeaderImages(nullptr);
    controller_.reset();
}

void TfrmReport::CreateControls()
{
    TWindow& window = Window();
    const int width = kDesignWidth - 2 * chrome::kFrameWidth;
    TPanel& toolbar =
        window.Add<TPanel>(TPanelArgs{.rect = {chrome::kFrameWidth, chrome::kTitleHeight, width, kReportToolbarHeight},
                                      .anchors = akLeft | akTop | akRight,
                                      .backColour = chrome::kMenuBar,
                                      .name = "Toolbar"});
    btnSave_ = &toolbar.Add<TFlatButton>(TFlatButtonArgs{.rect = {4, 2, 72, 26},
                                                         .backColour = chrome::kMenuBar,
                                                         .hotColour = RGB(0x6B, 0x6B, 0x6B),
                                                         .tabStop = true,
                                                         .captionBeside = true});
    btnSave_->onClick = [this] {
        if (events_.onSaveClicked)
            events_.onSaveClicked();
    };
    btnUndo_ = &toolbar.Add<TFlatButton>(TFlatButtonArgs{.rect = {80, 2, 96, 26},
                                                         .backColour = chrome::kMenuBar,
                                                         .hotColour = RGB(0x6B, 0x6B, 0x6B),
                                                         .tabStop = true,
                                                         .captionBeside = true});
    btnUndo_->SetVisible(false);
    btnUndo_->onClick = [this] {
        if (events_.onUndoClicked)
            events_.onUndoClicked();
    };

    const int height = kDesignHeight - kContentTop - chrome::kFrameWidth;
    nbReports_ = &window.Add<TPageControl>(TPageControlArgs{.rect = {chrome::kFrameWidth, kContentTop, width, height}});
    TPanel& scanPage = nbReports_->AddPage("Scan report");
    TPanel& cleanPage = nbReports_->AddPage("Clean report");
    lvScanReport_ = &scanPage.Add<TVirtualListView>(TVirtualListArgs{
        .rect = {0, 0, width, height}, .anchors = kAnchorAll, .gridLines = true, .multiSelect = false});
    memContent_ = &cleanPage.Add<TEdit>(TEditArgs{.rect = {0, 0, width, height},
                                                  .anchors = kAnchorAll,
                                                  .multiLine = true,
                                                  .readOnly = true,
                                                  .contextMenu = false});
    // The report's figures are padded into columns: they line up only in a fixed-pitch font.
    memContent_->SetFont(TFontSpec{.points = 9, .face = L"Courier New", .fixedPitch = true});
    window.LayoutChildren();
}

void TfrmReport::ConnectList()
{
    TVirtualListView& list = *lvScanReport_;
    list.onCellText = [this](int row, int column) {
        return events_.onCellText ? events_.onCellText(row, column) : std::string();
    };
    list.onRowImage = [this](int row) { return events_.onRowImage ? events_.onRowImage(row) : -1; };
    list.onCellPaint = [this](int row, int, HDC dc, const RECT& cell) { PaintQuota(row, dc, cell); };
    list.onColumnClick = [this](int column) {
        if (events_.onHeaderClicked)
            events_.onHeaderClicked(column);
    };
    list.onDpiChanged = [this] { LoadListImages(); };
}

void TfrmReport::SetSaveButton(const std::string& caption, const std::string& glyph)
{
    btnSave_->SetText(caption);
    btnSave_->SetGlyph(glyph);
}

void TfrmReport::SetUndoButton(const std::string& caption, bool shown)
{
    btnUndo_->SetText(caption);
    btnUndo_->SetVisible(shown);
}

void TfrmReport::SetImages(const std::vector<std::string>& rowImages, const std::string& sortUp,
                           const std::string& sortDown)
{
    rowImageNames_ = rowImages;
    sortImageNames_ = {sortUp, sortDown};
    LoadListImages();
}

void TfrmReport::LoadListImages()
{
    const int dpi = lvScanReport_->Dpi();
    // The new lists are in place before the old ones go.
    TImageListHandle rows = MaskedImagesForDpi(rowImageNames_, dpi);
    TImageListHandle sort = MaskedImagesForDpi(sortImageNames_, dpi);
    lvScanReport_->SetSmallImages(rows.get());
    lvScanReport_->SetHeaderImages(sort.get());
    rowImages_ = std::move(rows);
    sortImages_ = std::move(sort);
}

void TfrmReport::SetColumns(const std::vector<TListColumnInfo>& columns)
{
    std::vector<TVirtualColumn> shown;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        // Figures line up on their last digit.
        shown.push_back(TVirtualColumn{.caption = columns[i].caption,
                                       .designWidth = columns[i].width,
                                       .fill = columns[i].fill,
                                       .rightAligned = column == rcFoundCount || column == rcSize,
                                       .painted = column == rcQuota});
    }
    lvScanReport_->SetColumns(shown);
}

void TfrmReport::ShowPage(TReportPage page)
{
    nbReports_->SetActivePage(static_cast<size_t>(page));
}

void TfrmReport::SetRowCount(int32_t count)
{
    lvScanReport_->SetRowCount(count);
    lvScanReport_->FlushRowCount();
}

void TfrmReport::SetSortImage(int32_t column, TSortImage image)
{
    lvScanReport_->SetHeaderImage(column, image == siUp ? kSortUpImage : image == siDown ? kSortDownImage : -1);
}

void TfrmReport::SetContent(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    // The user's limit of typed text does not hold for what is set.
    memContent_->SetText(text);
}

std::shared_ptr<IComputingWindow> TfrmReport::CreateComputingWindow()
{
    return TComputingWindowSupport::Create(Window().Handle(), false, true, true);
}

bool TfrmReport::ChooseSaveFile(const TSaveFileRequest& request, std::string& path)
{
    std::wstring filter = platform::Widen(request.filter);
    for (wchar_t& ch : filter)
        if (ch == L'|')
            ch = L'\0';
    filter.push_back(L'\0');
    const std::wstring title = platform::Widen(request.title);
    const std::wstring extension = platform::Widen(request.defaultExtension);
    std::wstring name = platform::Widen(request.fileName);
    name.resize(32768, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Window().Handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    // No overwrite prompt here: the window asks in the program's own message box.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog))
        return false;
    path = platform::Narrow(name.c_str());
    return true;
}

int32_t TfrmReport::MonitorNumber()
{
    return TSVRuntime::MonitorOf(Window().Handle());
}

void TfrmReport::PaintQuota(int row, HDC dc, const RECT& cell)
{
    if (!events_.onQuotaBar)
        return;
    PaintQuotaBar(dc, events_.onQuotaBar(row, {cell.left, cell.top, cell.right, cell.bottom}));
}
