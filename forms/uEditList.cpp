#include "forms/uEditList.h"

#include "app/uControllerServices.h"
#include "app/uEditListController.h"
#include "platform/win32/Win32Text.h"
#include "ui/VelaSVOpenDialogs.h"
#include "ui/VelaSVWindowChrome.h"

using namespace ui;

namespace {
constexpr int kDesignWidth = 480;
constexpr int kDesignHeight = 400;
constexpr int kMargin = 8;
constexpr int kInnerLeft = chrome::kFrameWidth + kMargin;
constexpr int kInnerWidth = kDesignWidth - 2 * kInnerLeft;
constexpr int kFieldTop = chrome::kTitleHeight + forms::TDialogWindow::kToolbarHeight + kMargin;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 25;
constexpr int kListTop = kFieldTop + kButtonHeight + kMargin;
constexpr int kBottomButtonsTop = kDesignHeight - chrome::kFrameWidth - kMargin - kButtonHeight;

// The toolbar's buttons, left to right, with room for their captions beside the glyphs.
struct TToolPlace {
    TEditListControl control;
    int width;
};
constexpr TToolPlace kToolButtons[] = {
    {TEditListControl::ecAdd, 56},    {TEditListControl::ecAddMultiple, 72}, {TEditListControl::ecRemove, 76},
    {TEditListControl::ecClear, 64}, {TEditListControl::ecMoveUp, 82},       {TEditListControl::ecMoveDown, 96},
};
} // namespace

TfrmEditList::TfrmEditList(TWindowArguments& arguments, HWND owner)
    : TDialogWindow(forms::TDialogWindowArgs{.clientWidth = kDesignWidth,
                                             .clientHeight = kDesignHeight,
                                             .minimumWidth = kDesignWidth,
                                             .minimumHeight = 300,
                                             .owner = owner}),
      arguments_(arguments)
{
    CreateControls();
    Window().onFirstShow = [this] {
        if (events_.onShow)
            events_.onShow();
    };
    controller_ = TControllerServices::CreateEditListController(*this, messageBoxes_);
    controller_->Open(arguments_);
}

TfrmEditList::~TfrmEditList()
{
    // Nothing the closing window still reports may reach the controller going away.
    events_ = {};
    commands_.clear();
    tip_.reset();
    controller_.reset();
}

void TfrmEditList::CreateControls()
{
    TWindow& window = Window();
    TPanel& toolbar = AddToolbar(kDesignWidth);
    int left = kMargin - 4;
    for (const TToolPlace& place : kToolButtons) {
        TFlatButton& button = AddToolButton(toolbar, left, place.width);
        button.onClick = [this, control = place.control] { Run(control); };
        toolButtons_[place.control] = &button;
        left += place.width + 2;
    }

    newItem_ =
        &window.Add<TEdit>(TEditArgs{.rect = {kInnerLeft, kFieldTop + 2, kInnerWidth - kButtonWidth - kMargin, 21},
                                     .anchors = akLeft | akTop | akRight});
    newItem_->onChange = [this] {
        if (events_.onNewItemChanged)
            events_.onNewItemChanged();
    };
    browseObject_ = &window.Add<TButton>(
        TButtonArgs{.rect = {kDesignWidth - kInnerLeft - kButtonWidth, kFieldTop, kButtonWidth, kButtonHeight},
                    .anchors = akTop | akRight});
    browseObject_->onClick = [this] { Run(TEditListControl::ecBrowseObject); };

    items_ = &window.Add<TListView>(
        TListViewArgs{.rect = {kInnerLeft, kListTop, kInnerWidth, kBottomButtonsTop - kMargin - kListTop},
                      .anchors = kAnchorAll,
                      .fillColumn = true});
    items_->AddColumn("", kInnerWidth - 4);
    ListView_SetExtendedListViewStyleEx(items_->Handle(), LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    items_->onSelect = [this](int) {
        if (events_.onSelectionChanged)
            events_.onSelectionChanged();
    };
    items_->onDeselect = items_->onSelect;

    const int okLeft = kDesignWidth - kInnerLeft - 2 * kButtonWidth - kMargin;
    ok_ = &window.Add<TButton>(TButtonArgs{.rect = {okLeft, kBottomButtonsTop, kButtonWidth, kButtonHeight},
                                           .anchors = akRight | akBottom,
                                           .isDefault = true});
    ok_->onClick = [this] { Run(TEditListControl::ecOK); };
    cancel_ = &window.Add<TButton>(
        TButtonArgs{.rect = {kDesignWidth - kInnerLeft - kButtonWidth, kBottomButtonsTop, kButtonWidth, kButtonHeight},
                    .anchors = akRight | akBottom});
    cancel_->onClick = [this] { Run(TEditListControl::ecCancel); };
}

int32_t TfrmEditList::ShowModal()
{
    const int32_t result = TDialogWindow::ShowModal();
    controller_->StoreResults(arguments_);
    return result;
}

TControl* TfrmEditList::ControlOf(TEditListControl control)
{
    switch (control) {
    case TEditListControl::ecBrowseObject: return browseObject_;
    case TEditListControl::ecOK: return ok_;
    case TEditListControl::ecCancel: return cancel_;
    case TEditListControl::ecItemsColumn: return nullptr;
    default: {
        auto found = toolButtons_.find(control);
        return found == toolButtons_.end() ? nullptr : found->second;
    }
    }
}

void TfrmEditList::Run(TEditListControl control)
{
    // A disabled command stays inert even when a click reaches it anyway.
    TControl* button = ControlOf(control);
    if (button && !button->Enabled())
        return;
    if (auto found = commands_.find(control); found != commands_.end() && found->second)
        found->second();
}

void TfrmEditList::OnCommand(TEditListControl control, std::function<void()> handler)
{
    commands_[control] = std::move(handler);
}

void TfrmEditList::SetText(TEditListControl control, const std::string& text)
{
    if (control == TEditListControl::ecItemsColumn) {
        std::wstring wide = platform::Widen(text);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = wide.data();
        ListView_SetColumn(items_->Handle(), 0, &column);
        return;
    }
    if (TControl* target = ControlOf(control))
        target->SetText(text);
}

void TfrmEditList::SetGlyph(TEditListControl control, const std::string& bitmapName)
{
    if (auto found = toolButtons_.find(control); found != toolButtons_.end())
        found->second->SetGlyph(bitmapName);
}

void TfrmEditList::SetEnabled(TEditListControl control, bool enabled)
{
    if (TControl* target = ControlOf(control))
        target->SetEnabled(enabled);
}

int32_t TfrmEditList::MonitorNumber() { return TSVRuntime::MonitorOf(Window().Handle()); }

std::string TfrmEditList::NewItemText() { return newItem_->Text(); }

void TfrmEditList::SetNewItemText(const std::string& text)
{
    newItem_->SetText(text);
    // The caret after the text, where typing goes on.
    SendMessageW(newItem_->Handle(), EM_SETSEL, static_cast<WPARAM>(-1), -1);
}

bool TfrmEditList::NewItemFocused() { return GetFocus() == newItem_->Handle(); }

void TfrmEditList::FocusNewItem() { newItem_->SetFocus(); }

void TfrmEditList::ShowNewItemTip(const std::string& title, const std::string& text)
{
    tip_ = TSVRuntime::AttachBalloonTip(*newItem_, title, text, TTI_INFO);
}

int32_t TfrmEditList::RowCount() { return items_->ItemCount(); }

std::string TfrmEditList::RowText(int32_t row) { return items_->ItemText(row, 0); }

void TfrmEditList::AddRow(const std::string& text)
{
    ListView_EnsureVisible(items_->Handle(), items_->AddItem(text), FALSE);
}

void TfrmEditList::DeleteRow(int32_t row) { ListView_DeleteItem(items_->Handle(), row); }

void TfrmEditList::DeleteAllRows() { items_->Clear(); }

int32_t TfrmEditList::SelectedRow() { return items_->Selected(); }

void TfrmEditList::MoveSelectedRow(int32_t step)
{
    if (step < 0)
        TSVListRoutines::MoveSelectedUp(*items_);
    else
        TSVListRoutines::MoveSelectedDown(*items_);
}

std::vector<std::string> TfrmEditList::ChooseFiles(const TOpenFileRequest& request)
{
    return TOpenDialogs::ChooseFiles(Window().Handle(), request.title, request.filter, request.initialDir,
                                     request.multiSelect);
}

std::string TfrmEditList::ChooseFolder(const std::string& title, const std::string& root)
{
    return TOpenDialogs::ChooseFolder(Window().Handle(), title, root);
}
