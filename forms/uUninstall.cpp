#include "forms/uUninstall.h"

#include "app/uControllerServices.h"
#include "platform/win32/Win32Text.h"
#include "support/VelaRoutines.h"
#include "ui/VelaSVComputingWnd.h"
#include "ui/VelaSVRuntime.h"

using namespace ui;

namespace {
constexpr int kDesignWidth = 720;
constexpr int kDesignHeight = 440;
constexpr int kMargin = 8;
constexpr int kContentTop = chrome::kTitleHeight + forms::TDialogWindow::kToolbarHeight;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 25;
constexpr int kBottomButtonsTop = kDesignHeight - chrome::kFrameWidth - kMargin - kButtonHeight;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The file's first icon in the form that fits size pixels best: the small one at 16 pixels,
// above that the large one drawn smaller (a small one drawn larger blurs).
TIconHandle IconForSize(const std::string& file, int size)
{
    if (size <= 16)
        return TIconRoutines::ExtractSmallIcon(file);
    const TWow64RedirectionOff redirection;
    HICON large = nullptr;
    if (ExtractIconExW(platform::Widen(file).c_str(), 0, &large, nullptr, 1) == 0 || !large)
        return TIconRoutines::ExtractSmallIcon(file);
    return TIconHandle(large);
}

// Indices in the header's image list.
constexpr int kSortUpImage = 0;
constexpr int kSortDownImage = 1;
} // namespace

TfrmUninstall::TfrmUninstall(HWND owner, platform::IRegistry& registry)
    : TDialogWindow(forms::TDialogWindowArgs{.title = "Uninstall Applications",
                                             .clientWidth = kDesignWidth,
                                             .clientHeight = kDesignHeight,
                                             .minimumWidth = 520,
                                             .minimumHeight = 300,
                                             .owner = owner})
{
    CreateControls();
    ConnectList();
    Window().onFirstShow = [this] {
        if (events_.onFirstShow)
            events_.onFirstShow();
    };
    controller_ = TControllerServices::CreateUninstallController(*this, messageBoxes_, registry);
}

TfrmUninstall::~TfrmUninstall()
{
    lvUninstallList_->ClearEvents();
    lvUninstallList_->SetSmallImages(nullptr);
    lvUninstallList_->SetHeaderImages(nullptr);
    controller_.reset();
}

void TfrmUninstall::CreateControls()
{
    TWindow& window = Window();
    const int width = kDesignWidth - 2 * chrome::kFrameWidth;
    TPanel& toolbar = AddToolbar(kDesignWidth);
    btnRefresh_ = &AddToolButton(toolbar, kMargin - 4, 90);
    btnUninstall_ = &AddToolButton(toolbar, kMargin - 4 + 92, 98);

    const int listHeight = kBottomButtonsTop - kMargin - kContentTop;
    lvUninstallList_ = &window.Add<TVirtualListView>(TVirtualListArgs{
        .rect = {chrome::kFrameWidth, kContentTop, width, listHeight}, .anchors = kAnchorAll, .multiSelect = false});
    btnClose_ = &window.Add<TButton>(TButtonArgs{.rect = {kDesignWidth - chrome::kFrameWidth - kMargin - kButtonWidth,
                                                          kBottomButtonsTop, kButtonWidth, kButtonHeight},
                                                 .anchors = akRight | akBottom,
                                                 .isDefault = true});
    btnClose_->onClick = [this] { CloseWith(kResultCancel); };
    window.LayoutChildren();
}

void TfrmUninstall::ConnectList()
{
    TVirtualListView& list = *lvUninstallList_;
    list.onCellText = [this](int row, int column) {
        return events_.onCellText ? events_.onCellText(row, column) : std::string();
    };
    list.onRowImage = [this](int row) {
        const int entry = events_.onRowImage ? events_.onRowImage(row) : -1;
        return entry >= 0 && entry < static_cast<int>(imageOfEntry_.size()) ? imageOfEntry_[entry] : -1;
    };
    list.onColumnClick = [this](int column) {
        if (events_.onHeaderClicked)
            events_.onHeaderClicked(column);
    };
    list.onSelectionChanged = [this] {
        if (events_.onSelectionChanged)
            events_.onSelectionChanged();
    };
    list.onDpiChanged = [this] { LoadListImages(); };
}

TControl* TfrmUninstall::ControlOf(TUninstallButton button)
{
    switch (button) {
    case TUninstallButton::ubRefresh: return btnRefresh_;
    case TUninstallButton::ubUninstall: return btnUninstall_;
    default: return btnClose_;
    }
}

void TfrmUninstall::OnCommand(TUninstallButton button, std::function<void()> handler)
{
    if (button != TUninstallButton::ubClose)
        static_cast<TFlatButton*>(ControlOf(button))->onClick = std::move(handler);
}

void TfrmUninstall::SetButton(TUninstallButton button, const std::string& caption, const std::string& glyph)
{
    ControlOf(button)->SetText(caption);
    if (button != TUninstallButton::ubClose)
        static_cast<TFlatButton*>(ControlOf(button))->SetGlyph(glyph);
}

void TfrmUninstall::SetButtonEnabled(TUninstallButton button, bool enabled)
{
    ControlOf(button)->SetEnabled(enabled);
}

void TfrmUninstall::SetColumns(const std::vector<TListColumnInfo>& columns)
{
    std::vector<TVirtualColumn> shown;
    for (size_t i = 0; i < columns.size(); ++i)
        // Sizes line up on their last digit.
        shown.push_back(TVirtualColumn{.caption = columns[i].caption,
                                       .designWidth = columns[i].width,
                                       .fill = columns[i].fill,
                                       .rightAligned = i == ucSize});
    lvUninstallList_->SetColumns(shown);
}

void TfrmUninstall::SetSortImages(const std::string& sortUp, const std::string& sortDown)
{
    sortImageNames_ = {sortUp, sortDown};
    LoadListImages();
}

void TfrmUninstall::SetRowIcons(const std::vector<std::string>& iconFiles, const std::string& fallback)
{
    iconFiles_ = iconFiles;
    fallbackImage_ = fallback;
    LoadListImages();
}

void TfrmUninstall::LoadListImages()
{
    const int dpi = lvUninstallList_->Dpi();
    TImageListHandle sort = MaskedImagesForDpi(sortImageNames_, dpi);
    TImageListHandle rows;
    std::vector<int> imageOf(iconFiles_.size(), -1);
    // Sized as the fallback is drawn for this DPI; the icons are drawn to that size.
    TBitmapHandle fallback = TBitmapRoutines::LoadBitmapForDpi(fallbackImage_, dpi);
    if (fallback) {
        const SIZE size = TBitmapRoutines::BitmapSize(fallback.get());
        rows.reset(ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, static_cast<int>(iconFiles_.size()) + 1, 8));
        const int fallbackIndex = rows ? ImageList_AddMasked(rows.get(), fallback.get(), kMagenta) : -1;
        for (size_t i = 0; rows && i < iconFiles_.size(); ++i) {
            const TIconHandle icon = iconFiles_[i].empty() ? nullptr : IconForSize(iconFiles_[i], size.cx);
            const int added = icon ? ImageList_AddIcon(rows.get(), icon.get()) : -1;
            imageOf[i] = added >= 0 ? added : fallbackIndex;
        }
    }
    // The new lists are in place before the old ones go.
    lvUninstallList_->SetSmallImages(rows.get());
    lvUninstallList_->SetHeaderImages(sort.get());
    rowImages_ = std::move(rows);
    sortImages_ = std::move(sort);
    imageOfEntry_ = std::move(imageOf);
    lvUninstallList_->RedrawAll();
}

void TfrmUninstall::SetRowCount(int32_t count)
{
    lvUninstallList_->SetRowCount(count);
    lvUninstallList_->FlushRowCount();
}

void TfrmUninstall::SetSortImage(int32_t column, TSortImage image)
{
    lvUninstallList_->SetHeaderImage(column, image == siUp ? kSortUpImage : image == siDown ? kSortDownImage : -1);
}

std::shared_ptr<IComputingWindow> TfrmUninstall::CreateComputingWindow()
{
    return TComputingWindowSupport::Create(Window().Handle(), false, false, true);
}

int32_t TfrmUninstall::MonitorNumber()
{
    return TSVRuntime::MonitorOf(Window().Handle());
}
