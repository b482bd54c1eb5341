#include "app/uEditListController.h"

#include "cycle/uCycleSetup.h"
#include "app/uWindowServices.h"
#include "support/VelaRoutines.h"

#include <algorithm>

namespace editlist_texts {
const char* const kTitleFormat = "%s Editor";
const char* const kItemsColumn = "Item Name";
const char* const kTipTitle = "Information";
const char* const kTipText = "Start typing in this edit-box in order to add a new item to the list.";
const char* const kItemExists = "Object item \"%s\" already exists in the list.\r\nPlease specify a different item name.";
const char* const kItemHasDelimiter =
    "Object item \"%s\" contains \";\", which separates the items of the list.\r\nPlease specify a different item name.";
const char* const kConfirmRemove =
    "This will remove the \"%s\" object item from the list.\r\nAre you sure you want to continue?";
const char* const kConfirmClear = "This will clear the object items in the list.\r\nAre you sure you want to continue?";
const char* const kAddFilesTitle = "Add files...";
const char* const kAddObjectTitle = "Add object...";
const char* const kAllFilesFilter = "All files (*.*)|*.*";
} // namespace editlist_texts

namespace {
constexpr char kDelimiter = ';';
} // namespace

TEditListController::TEditListController(IEditListView& view, IMessageBoxService& messageBoxes,
                                         const TPreferenceValues& preferences)
    : view_(view), messageBoxes_(messageBoxes), prefs_(preferences)
{
    Initialize();
}

int32_t TEditListController::ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult)
{
    return ResizeBand(x, y, width, height, systemResult);
}

void TEditListController::WireEvents()
{
    TEditListViewEvents& events = view_.Events();
    events.onShow = [this] { Shown(); };
    events.onNewItemChanged = [this] {
        UpdateButtons();
        UpdateTip();
    };
    events.onSelectionChanged = [this] {
        const int32_t row = view_.SelectedRow();
        if (row >= 0)
            view_.SetNewItemText(view_.RowText(row));
        UpdateButtons();
    };
    view_.OnCommand(TEditListControl::ecAdd, [this] { Add(); });
    view_.OnCommand(TEditListControl::ecAddMultiple, [this] { AddMultiple(); });
    view_.OnCommand(TEditListControl::ecRemove, [this] { Remove(); });
    view_.OnCommand(TEditListControl::ecClear, [this] { Clear(); });
    view_.OnCommand(TEditListControl::ecMoveUp, [this] { MoveUp(); });
    view_.OnCommand(TEditListControl::ecMoveDown, [this] { MoveDown(); });
    view_.OnCommand(TEditListControl::ecBrowseObject, [this] { BrowseObject(); });
    view_.OnCommand(TEditListControl::ecOK, [this] { Accept(); });
    view_.OnCommand(TEditListControl::ecCancel, [this] { view_.Close(false); });
}

void TEditListController::LoadImages()
{
    view_.SetGlyph(TEditListControl::ecAdd, "add22s2");
    view_.SetGlyph(TEditListControl::ecAddMultiple, "addmultiple22s2");
    view_.SetGlyph(TEditListControl::ecRemove, "remove22s2");
    view_.SetGlyph(TEditListControl::ecClear, "clear22s2");
    view_.SetGlyph(TEditListControl::ecMoveUp, "move_up22s2");
    view_.SetGlyph(TEditListControl::ecMoveDown, "move_down22s2");
}

void TEditListController::LoadStrings()
{
    view_.SetText(TEditListControl::ecAdd, "&Add");
    view_.SetText(TEditListControl::ecAddMultiple, "&Browse");
    view_.SetText(TEditListControl::ecRemove, "&Remove");
    view_.SetText(TEditListControl::ecClear, "&Clear");
    view_.SetText(TEditListControl::ecMoveUp, "Move &Up");
    view_.SetText(TEditListControl::ecMoveDown, "Move &Down");
    view_.SetText(TEditListControl::ecBrowseObject, "Browse...");
    view_.SetText(TEditListControl::ecOK, "OK");
    view_.SetText(TEditListControl::ecCancel, "Cancel");
    view_.SetText(TEditListControl::ecItemsColumn, editlist_texts::kItemsColumn);
}

void TEditListController::SetTitle(const std::string& text) { view_.SetTitle(text); }

std::vector<std::string> TEditListController::Rows()
{
    std::vector<std::string> rows;
    const int32_t count = view_.RowCount();
    for (int32_t row = 0; row < count; ++row)
        rows.push_back(view_.RowText(row));
    return rows;
}

std::string TEditListController::GetItems() { return TStringRoutines::JoinStrings(Rows(), kDelimiter); }

bool TEditListController::IsChanged() { return GetItems() != GetInitialItems(); }

std::string TEditListController::GetInitialItems() { return TStringRoutines::JoinStrings(initialItems_, kDelimiter); }

void TEditListController::SetItems(const std::string& text)
{
    initialItems_ = TStringRoutines::SplitString(text, kDelimiter);
    for (const std::string& item : initialItems_)
        view_.AddRow(item);
}

void TEditListController::SetDirectoryMode(bool directoryMode)
{
    directoryMode_ = directoryMode;
    UpdateButtons();
}

void TEditListController::Open(const TWindowArguments& arguments)
{
    SetTitle(TCycleSetup::FormatText(editlist_texts::kTitleFormat, arguments.listName));
    SetItems(arguments.listText);
    SetDirectoryMode(arguments.directoryMode);
}

void TEditListController::StoreResults(TWindowArguments& arguments)
{
    arguments.changed = IsChanged();
    // After Cancel the opener keeps the text it had.
    if (arguments.changed && accepted_)
        arguments.listText = GetItems();
}

void TEditListController::Shown()
{
    UpdateButtons();
    UpdateTip();
    if (!view_.NewItemFocused())
        view_.FocusNewItem();
}

void TEditListController::UpdateButtons()
{
    const int32_t count = view_.RowCount();
    const int32_t selected = view_.SelectedRow();
    view_.SetEnabled(TEditListControl::ecAdd, !view_.NewItemText().empty());
    view_.SetEnabled(TEditListControl::ecAddMultiple, !directoryMode_);
    view_.SetEnabled(TEditListControl::ecRemove, selected >= 0);
    view_.SetEnabled(TEditListControl::ecClear, count > 0);
    view_.SetEnabled(TEditListControl::ecMoveUp, selected > 0);
    view_.SetEnabled(TEditListControl::ecMoveDown, selected >= 0 && selected < count - 1);
}

void TEditListController::UpdateTip()
{
    view_.RemoveNewItemTip();
    if (view_.NewItemText().empty())
        view_.ShowNewItemTip(editlist_texts::kTipTitle, editlist_texts::kTipText);
}

bool TEditListController::Contains(const std::string& item)
{
    const int32_t count = view_.RowCount();
    for (int32_t row = 0; row < count; ++row)
        if (view_.RowText(row) == item)
            return true;
    return false;
}

bool TEditListController::Acceptable(const std::string& item, bool offerApplyToAll, bool& applyToAll)
{
    // A ';' inside an item would split it into two when the list is read back.
    const char* problem = item.find(kDelimiter) != std::string::npos ? editlist_texts::kItemHasDelimiter
                          : Contains(item)                           ? editlist_texts::kItemExists
                                                                     : nullptr;
    if (!problem)
        return true;
    if (!applyToAll) {
        const uint32_t buttons = msgbox_buttons::kClose | (offerApplyToAll ? msgbox_buttons::kApplyToAll : 0);
        const TMsgBoxResult answer = messageBoxes_.Execute(TMsgBoxKind::mkInformation,
                                                           TCycleSetup::FormatText(problem, item),
                                                           view_.MonitorNumber(), TMsgBoxFocus::mfAccept, buttons);
        applyToAll = answer == TMsgBoxResult::mrAcceptAll;
    }
    return false;
}

bool TEditListController::Confirm(const std::string& text)
{
    if (!prefs_.Confirmations)
        return true;
    return messageBoxes_.Execute(TMsgBoxKind::mkConfirm, text, view_.MonitorNumber(), TMsgBoxFocus::mfAccept,
                                 msgbox_buttons::kYesNo) != TMsgBoxResult::mrRefuse;
}

void TEditListController::Add()
{
    const std::string item = view_.NewItemText();
    if (item.empty())
        return;
    bool applyToAll = false;
    if (Acceptable(item, false, applyToAll))
        view_.AddRow(item);
    UpdateButtons();
}

void TEditListController::AddMultiple()
{
    if (directoryMode_)
        return;
    TOpenFileRequest request;
    request.title = editlist_texts::kAddFilesTitle;
    request.filter = editlist_texts::kAllFilesFilter;
    request.initialDir = TFileRoutines::ExtractFileDir(view_.NewItemText());
    request.multiSelect = true;
    const std::vector<std::string> files = view_.ChooseFiles(request);
    bool applyToAll = false;
    for (const std::string& file : files)
        if (!file.empty() && Acceptable(file, files.size() > 1, applyToAll))
            view_.AddRow(file);
    UpdateButtons();
}

void TEditListController::Remove()
{
    const int32_t row = view_.SelectedRow();
    if (row < 0)
        return;
    if (!Confirm(TCycleSetup::FormatText(editlist_texts::kConfirmRemove, view_.RowText(row))))
        return;
    view_.DeleteRow(row);
    UpdateButtons();
}

void TEditListController::Clear()
{
    if (view_.RowCount() == 0 || !Confirm(editlist_texts::kConfirmClear))
        return;
    view_.DeleteAllRows();
    view_.SetNewItemText("");
    UpdateButtons();
}

void TEditListController::MoveSelected(int32_t step)
{
    const int32_t row = view_.SelectedRow();
    if (row < 0 || row + step < 0 || row + step >= view_.RowCount())
        return;
    view_.MoveSelectedRow(step);
    UpdateButtons();
}

void TEditListController::BrowseObject()
{
    const std::string current = view_.NewItemText();
    std::string chosen;
    if (directoryMode_) {
        chosen = view_.ChooseFolder(editlist_texts::kAddObjectTitle, current);
    } else {
        TOpenFileRequest request;
        request.title = editlist_texts::kAddObjectTitle;
        request.filter = editlist_texts::kAllFilesFilter;
        request.initialDir = TFileRoutines::ExtractFileDir(current);
        const std::vector<std::string> files = view_.ChooseFiles(request);
        if (!files.empty())
            chosen = files.front();
    }
    if (!chosen.empty())
        view_.SetNewItemText(chosen);
}

void TEditListController::Accept()
{
    accepted_ = true;
    view_.Close(true);
}
