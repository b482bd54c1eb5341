#include "app/uTargetsPane.h"

#include "cycle/uCycleSetup.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>

namespace targets_texts {
const char* const kTreeHeader = " Select Directory or Entire Drive";
const char* const kListHeader = " Clean-up List";
const char* const kAddItem = "&Add to Clean-up List";
const char* const kDriveInfoItem = "&Drive Information";
const char* const kRefreshItem = "&Refresh List";
const char* const kRemoveItem = "&Remove Item";
const char* const kRemoveItems = "&Remove Items";
const char* const kClearItem = "&Clear List";
const char* const kSelectedStatus = "Selected: \"%s\"";
const char* const kConfirmClear = "Clear %d items from the clean-up list?";
const char* const kCannotSelect = "Cannot select \"%s\": nothing is selected.";
} // namespace targets_texts

namespace {

bool IsDriveLetterPath(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

} // namespace

TTargetsPane::TTargetsPane(ITargetsView& view, IMessageBoxService& messageBoxes, TPreferenceValues& preferences,
                           TCommandLine::TDirectoryExists directoryExists)
    : view_(view), messageBoxes_(messageBoxes), prefs_(preferences), directoryExists_(std::move(directoryExists))
{
    if (!directoryExists_)
        directoryExists_ = [](const std::string& path) { return TDirectoryRoutines::IsDirectory(path); };
    LoadStrings();
    WireEvents();
}

void TTargetsPane::LoadStrings()
{
    view_.SetText(TTargetsControl::tcTreeHeader, targets_texts::kTreeHeader);
    view_.SetText(TTargetsControl::tcListHeader, targets_texts::kListHeader);
    view_.SetText(TTargetsControl::tcAddItem, targets_texts::kAddItem);
    view_.SetText(TTargetsControl::tcDriveInfoItem, targets_texts::kDriveInfoItem);
    view_.SetText(TTargetsControl::tcRefreshItem, targets_texts::kRefreshItem);
    view_.SetText(TTargetsControl::tcRemoveItem, targets_texts::kRemoveItem);
    view_.SetText(TTargetsControl::tcClearItem, targets_texts::kClearItem);
    // The pane buttons are glyphs: their texts are their hints.
    view_.SetText(TTargetsControl::tcAddButton, "Add Directory or Entire Drive to the clean-up list");
    view_.SetText(TTargetsControl::tcRefreshButton, "Refresh Directories");
    view_.SetText(TTargetsControl::tcRemoveButton, "Remove selected items from the clean-up list");
    view_.SetText(TTargetsControl::tcClearButton, "Clear all items from the clean-up list");
}

void TTargetsPane::ShowDriveInformation(bool shown)
{
    view_.SetVisible(TTargetsControl::tcDriveInfoItem, shown);
}

TTargetsPane::~TTargetsPane()
{
    view_.Events() = {};
}

void TTargetsPane::WireEvents()
{
    TTargetsViewEvents& events = view_.Events();
    events.onTreeSelectionChanged = [this] { RefreshSelectionStatus(); };
    events.onTreeClick = [this] { RefreshSelectionStatus(); };
    // The menu's commands act on the node the user pointed at, not on the one selected before.
    events.onTreeRightClick = [this] {
        view_.SelectNodeUnderCursor();
        RefreshSelectionStatus();
    };
    events.onRowCheckChanged = [this](int32_t) { RefreshSelectionStatus(); };
    events.onListMenuPopup = [this] { UpdateListMenu(); };

    for (TTargetsControl control : {TTargetsControl::tcAddButton, TTargetsControl::tcAddItem})
        view_.OnCommand(control, [this] { AddTreeSelection(); });
    for (TTargetsControl control : {TTargetsControl::tcRefreshButton, TTargetsControl::tcRefreshItem})
        view_.OnCommand(control, [this] { view_.RefreshTree(); });
    for (TTargetsControl control : {TTargetsControl::tcRemoveButton, TTargetsControl::tcRemoveItem})
        view_.OnCommand(control, [this] { RemoveSelectedRows(); });
    for (TTargetsControl control : {TTargetsControl::tcClearButton, TTargetsControl::tcClearItem})
        view_.OnCommand(control, [this] { ClearRows(); });
    view_.OnCommand(TTargetsControl::tcDriveInfoItem, [this] {
        if (onDriveInformation_)
            onDriveInformation_();
    });
}

// ---- Targets ----

std::vector<std::string> TTargetsPane::TreeTargets()
{
    const TTreeNode node = view_.SelectedNode();
    if (node.level < 0)
        return {};
    if (node.level >= 1)
        return node.path.empty() ? std::vector<std::string>{} : std::vector<std::string>{node.path};
    std::vector<std::string> drives;
    // Virtual folders beside the drives have no path and are no target.
    for (std::string& path : view_.DrivePaths())
        if (!path.empty())
            drives.push_back(std::move(path));
    return drives;
}

std::vector<std::string> TTargetsPane::Rows()
{
    std::vector<std::string> rows;
    const int32_t count = view_.RowCount();
    for (int32_t row = 0; row < count; ++row)
        rows.push_back(view_.RowText(row));
    return rows;
}

std::string TTargetsPane::SelectionText()
{
    std::vector<std::string> checked;
    bool anyChecked = false;
    const int32_t count = view_.RowCount();
    for (int32_t row = 0; row < count; ++row) {
        if (!view_.RowChecked(row))
            continue;
        anyChecked = true;
        checked.push_back(view_.RowText(row));
    }
    return TStringRoutines::JoinStrings(anyChecked ? checked : TreeTargets());
}

void TTargetsPane::RefreshSelectionStatus()
{
    view_.SetStatusText(TCycleSetup::FormatText(targets_texts::kSelectedStatus, SelectionText()));
}

std::string TTargetsPane::DriveInformationTarget()
{
    const TTreeNode node = view_.SelectedNode();
    if (node.level < 1)
        return {};
    // Paths without a drive letter (network shares) have no drive to describe; they stay as
    // they are and are refused by the drive-letter test.
    if (!IsDriveLetterPath(node.path))
        return node.path;
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(node.path[0])))) + ":\\";
}

// ---- Clean-up list ----

int32_t TTargetsPane::SortedIndex(const std::vector<std::string>& rows, const std::string& text)
{
    const auto at = std::upper_bound(rows.begin(), rows.end(), text, [](const std::string& a, const std::string& b) {
        return TStringRoutines::CompareIgnoringCase(a, b) < 0;
    });
    return static_cast<int32_t>(at - rows.begin());
}

bool TTargetsPane::AddRow(const std::string& text)
{
    const std::vector<std::string> rows = Rows();
    if (std::find(rows.begin(), rows.end(), text) != rows.end())
        return false;
    view_.InsertRow(SortedIndex(rows, text), text, true);
    return true;
}

void TTargetsPane::AddTreeSelection()
{
    for (const std::string& target : TreeTargets())
        AddRow(target);
    RefreshSelectionStatus();
}

void TTargetsPane::RemoveSelectedRows()
{
    int32_t lowest = -1;
    for (int32_t row = view_.RowCount() - 1; row >= 0; --row) {
        if (!view_.RowSelected(row))
            continue;
        view_.DeleteRow(row);
        lowest = row;
    }
    if (lowest < 0)
        return;
    if (view_.RowCount() > 0)
        view_.SelectRow(std::max(lowest - 1, 0));
    RefreshSelectionStatus();
}

void TTargetsPane::ClearRows()
{
    const int32_t count = view_.RowCount();
    if (count == 0)
        return;
    if (prefs_.Confirmations) {
        std::string text = targets_texts::kConfirmClear;
        text.replace(text.find("%d"), 2, std::to_string(count));
        const TMsgBoxResult answer = messageBoxes_.Execute(TMsgBoxKind::mkConfirm, text, view_.MonitorNumber(),
                                                           TMsgBoxFocus::mfAccept, msgbox_buttons::kYesNo);
        if (answer != TMsgBoxResult::mrAccept)
            return;
    }
    view_.DeleteAllRows();
    RefreshSelectionStatus();
}

void TTargetsPane::UpdateListMenu()
{
    int32_t selected = 0;
    const int32_t count = view_.RowCount();
    for (int32_t row = 0; row < count; ++row)
        if (view_.RowSelected(row))
            ++selected;
    view_.SetEnabled(TTargetsControl::tcRemoveItem, selected > 0);
    view_.SetText(TTargetsControl::tcRemoveItem,
                  selected == 1 ? targets_texts::kRemoveItem : targets_texts::kRemoveItems);
    view_.SetEnabled(TTargetsControl::tcClearItem, count > 0);
}

// ---- Restoring and saving ----

void TTargetsPane::SelectDefaultDrive()
{
    const std::vector<std::string> drives = view_.DrivePaths();
    // Floppy drives are slow to ask and rarely what the user cleans.
    auto first = std::find_if(drives.begin(), drives.end(), [](const std::string& path) {
        const char letter = path.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        return letter != 'A' && letter != 'B';
    });
    if (first == drives.end())
        return;
    auto root = std::find_if(first, drives.end(), [](const std::string& path) { return path.size() == 3; });
    view_.SelectPath(root != drives.end() ? *root : *first);
}

void TTargetsPane::RestoreTargets()
{
    const TStringList entries = TStringRoutines::SplitString(prefs_.CleanupSelection, ';');
    if (entries.empty()) {
        SelectDefaultDrive();
    } else if (entries.size() == 1) {
        if (directoryExists_(entries.front()) && !view_.SelectPath(entries.front()))
            return CannotSelect(entries.front());
    } else if (prefs_.RestoreCleanupList) {
        for (const std::string& entry : entries)
            AddRow(entry);
    }
    RefreshSelectionStatus();
}

void TTargetsPane::ApplyCommandLine(const TCommandLine& commandLine)
{
    switch (commandLine.action) {
    case clSelectDirectory:
        view_.DeleteAllRows();
        if (!view_.SelectPath(commandLine.directory))
            return CannotSelect(commandLine.directory);
        break;
    case clCleanupTargets:
        view_.DeleteAllRows();
        for (const std::string& target : commandLine.targets)
            AddRow(target);
        break;
    default:
        return;
    }
    RefreshSelectionStatus();
}

void TTargetsPane::CannotSelect(const std::string& path)
{
    view_.SetStatusText(TCycleSetup::FormatText(targets_texts::kCannotSelect, path));
}

void TTargetsPane::SaveTargets()
{
    prefs_.RestoreCleanupList = view_.RowCount() > 0;
    prefs_.CleanupSelection = SelectionText();
}
