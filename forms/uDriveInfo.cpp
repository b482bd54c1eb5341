#include "forms/uDriveInfo.h"

#include "app/uControllerServices.h"
#include "ui/VelaSVRuntime.h"
#include "ui/VelaSVWindowChrome.h"

using namespace ui;

namespace {
constexpr int kDesignWidth = 850;
constexpr int kDesignHeight = 430;
constexpr int kMargin = 8;
constexpr int kDriveToolbarHeight = 30;
constexpr int kInnerLeft = chrome::kFrameWidth + kMargin;
constexpr int kInnerWidth = kDesignWidth - 2 * kInnerLeft;
constexpr int kListTop = chrome::kTitleHeight + kDriveToolbarHeight + kMargin;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = kDesignHeight - chrome::kFrameWidth - kMargin - kButtonHeight;
} // namespace

TfrmDriveInfo::TfrmDriveInfo(HWND owner, TDriveInfoFactory factory)
    : TDialogWindow(forms::TDialogWindowArgs{.clientWidth = kDesignWidth,
                                             .clientHeight = kDesignHeight,
                                             .minimumWidth = 560,
                                             .minimumHeight = 320,
                                             .owner = owner})
{
    CreateControls();
    Window().onFirstShow = [this] {
        if (onShow_)
            onShow_();
    };
    controller_ = TControllerServices::CreateDriveInfoController(*this, messageBoxes_, std::move(factory));
}

TfrmDriveInfo::~TfrmDriveInfo()
{
    lvDriveInfo_->ClearEvents();
    controller_.reset();
}

void TfrmDriveInfo::CreateControls()
{
    TWindow& window = Window();
    TPanel& toolbar =
        window.Add<TPanel>(TPanelArgs{.rect = {chrome::kFrameWidth, chrome::kTitleHeight,
                                               kDesignWidth - 2 * chrome::kFrameWidth, kDriveToolbarHeight},
                                      .anchors = akLeft | akTop | akRight,
                                      .backColour = chrome::kMenuBar,
                                      .name = "Toolbar"});
    b1_ = &toolbar.Add<TFlatButton>(TFlatButtonArgs{.rect = {4, 2, 88, 26},
                                                    .backColour = chrome::kMenuBar,
                                                    .hotColour = RGB(0x6B, 0x6B, 0x6B),
                                                    .tabStop = true,
                                                    .captionBeside = true});
    b1_->onClick = [this] { Run(TDriveInfoControl::dcRefresh); };

    lvDriveInfo_ = &window.Add<TVirtualListView>(
        TVirtualListArgs{.rect = {kInnerLeft, kListTop, kInnerWidth, kButtonTop - kMargin - kListTop},
                         .anchors = kAnchorAll,
                         .gridLines = true,
                         .multiSelect = false});
    lvDriveInfo_->onCellText = [this](int row, int column) { return CellText(row, column); };

    btnClose_ = &window.Add<TButton>(
        TButtonArgs{.rect = {kDesignWidth - kInnerLeft - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight},
                    .anchors = akRight | akBottom,
                    .isDefault = true});
    btnClose_->onClick = [this] { Run(TDriveInfoControl::dcClose); };
    window.LayoutChildren();
}

void TfrmDriveInfo::Run(TDriveInfoControl control)
{
    if (auto found = commands_.find(control); found != commands_.end() && found->second)
        found->second();
}

void TfrmDriveInfo::OnCommand(TDriveInfoControl control, std::function<void()> handler)
{
    commands_[control] = std::move(handler);
}

void TfrmDriveInfo::SetText(TDriveInfoControl control, const std::string& text)
{
    (control == TDriveInfoControl::dcRefresh ? static_cast<TControl*>(b1_) : btnClose_)->SetText(text);
}

void TfrmDriveInfo::SetGlyph(TDriveInfoControl control, const std::string& bitmapName)
{
    if (control == TDriveInfoControl::dcRefresh)
        b1_->SetGlyph(bitmapName);
}

void TfrmDriveInfo::SetColumns(const std::vector<TListColumnInfo>& columns)
{
    std::vector<TVirtualColumn> shown;
    for (const TListColumnInfo& column : columns)
        shown.push_back(TVirtualColumn{.caption = column.caption, .designWidth = column.width, .fill = column.fill});
    lvDriveInfo_->SetColumns(shown);
}

void TfrmDriveInfo::SetRows(const std::vector<TDriveInfoRow>& rows)
{
    rows_ = rows;
    lvDriveInfo_->SetRowCount(static_cast<int>(rows_.size()));
    lvDriveInfo_->FlushRowCount();
    lvDriveInfo_->RedrawAll();
}

std::string TfrmDriveInfo::CellText(int row, int column) const
{
    if (row < 0 || static_cast<size_t>(row) >= rows_.size())
        return {};
    const TDriveInfoRow& entry = rows_[static_cast<size_t>(row)];
    switch (column) {
    case 0: return entry.parameter;
    case 1: return entry.value;
    case 2: return entry.description;
    default: return {};
    }
}

int32_t TfrmDriveInfo::MonitorNumber() { return TSVRuntime::MonitorOf(Window().Handle()); }
