#include "app/uObjectsPane.h"

#include "cycle/uCycleSetup.h"

#include "support/VelaRoutines.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace objects_texts {
const char* const kColumnCategory = "Category";
const char* const kColumnPath = "Path and Filename / Description";
const char* const kColumnSize = "Size";
const char* const kColumnQuota = "Quota";
const char* const kMenuOpen = "&Open";
const char* const kMenuOpenDirectory = "Open Containing &Directory";
const char* const kMenuCopyName = "&Copy Object Name";
const char* const kMenuCopyNames = "&Copy Objects Names";
const char* const kMenuViewHex = "View as &Hex";
const char* const kMenuViewBinary = "View as &Binary";
const char* const kMenuViewText = "View as &Text";
const char* const kOpenOne =
    "Opening an unknown executable object from this list might be harmful to your computer.\r\n"
    "Are you sure you want to continue?";
const char* const kOpenSeveral =
    "Opening an unknown executable object from this list might be harmful to your computer.\r\n"
    "Also opening multiple objects (%d) could take a lot of time.\r\nAre you sure you want to continue?";
const char* const kOpenDirectoryFailed =
    "An error has occured while trying to open the containing directory for \"%s\".";
const char* const kLargeObject =
    "The \"%s\" object is larger than 64 Ko. Opening it for viewing might take some time.\r\n"
    "Are you sure you want to continue?";
} // namespace objects_texts

namespace {

std::string FormatCount(const char* format, size_t count)
{
    std::string text = format;
    const size_t field = text.find("%d");
    if (field != std::string::npos)
        text.replace(field, 2, std::to_string(count));
    return text;
}

} // namespace

TObjectsPane::TObjectsPane(IObjectsView& view, IMessageBoxService& messageBoxes, IWindowServices& windowServices,
                           TPreferenceValues& preferences, std::shared_ptr<ICleanupList> objects,
                           std::shared_ptr<IBroadcastParameters> broadcast, TObjectsPaneEvents events)
    : view_(view), messageBoxes_(messageBoxes), windowServices_(windowServices), prefs_(preferences),
      objects_(std::move(objects)), broadcast_(std::move(broadcast)), events_(std::move(events)),
      systemIcons_(preferences.UseFileSystemIcons)
{
    WireEvents();
    view_.SetColumns({{objects_texts::kColumnCategory, 200, false},
                      {objects_texts::kColumnPath, 0, true},
                      {objects_texts::kColumnSize, 70, false},
                      {objects_texts::kColumnQuota, 282, false}});
    view_.SetImageList(systemIcons_ ? ilSystem : ilSafety);
}

TObjectsPane::~TObjectsPane()
{
    view_.Events() = {};
}

void TObjectsPane::WireEvents()
{
    TObjectsViewEvents& events = view_.Events();
    events.onCellText = [this](int32_t row, int32_t column) { return CellText(row, column); };
    events.onRowImage = [this](int32_t row) { return RowImage(row); };
    events.onRowChecked = [this](int32_t row) { return RowChecked(row); };
    events.onCellTextColour = [this](int32_t row, int32_t column) { return CellTextColour(row, column); };
    events.onQuotaBar = [this](int32_t row, const TCellRect& cell) { return QuotaBar(row, cell); };
    events.onRowSafety = [this](int32_t row) { return RowSafety(row); };
    events.onRowQuotaPercent = [this](int32_t row) { return RowQuotaPercent(row); };
    events.onCheckBoxClicked = [this](int32_t row) { CheckBoxClicked(row); };
    events.onHeaderClicked = [this](int32_t column) { HeaderClicked(column); };
    events.onDoubleClicked = [this] { Open(); };
    events.onContextMenuRequested = [this] { ContextMenuRequested(); };
    events.onKeyDown = [this](uint32_t key, bool control) { return KeyDown(key, control); };
    events.onFocusLost = [this] { FocusLost(); };
}

void TObjectsPane::Add(const std::shared_ptr<ICleanupListItem>& object)
{
    if (!object)
        return;
    // Icons are asked for when a row is first drawn: only the rows someone sees pay the shell call.
    rows_.push_back({object, kIconUnknown});
    view_.SetRowCount(RowCount());
}

void TObjectsPane::Clear()
{
    rows_.clear();
    sort_.Reset();
    ShowSortImages();
    view_.SetRowCount(0);
}

void TObjectsPane::ApplyCheckPreset(TObjectsCheck preset)
{
    switch (preset) {
    case ocSafe: TCycleSetup::CheckSafe(*objects_, *broadcast_); break;
    case ocAll: TCycleSetup::CheckAll(*objects_, *broadcast_, true); break;
    case ocNone: TCycleSetup::CheckAll(*objects_, *broadcast_, false); break;
    }
    view_.RedrawAll();
    ChecksChanged();
}

void TObjectsPane::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    view_.SetEnabled(enabled);
    // The quota bars show only while the list is enabled.
    view_.RedrawAll();
}

void TObjectsPane::SetFileSystemIcons(bool enabled)
{
    systemIcons_ = enabled;
    view_.SetImageList(enabled ? ilSystem : ilSafety);
    view_.RedrawAll();
}

void TObjectsPane::PreviewQuotaMode(bool largestCapacity)
{
    if (largestCapacity == prefs_.QuotaReportsLargestCapacity)
        quotaPreview_.reset();
    else
        quotaPreview_ = largestCapacity;
    view_.RedrawAll();
}

bool TObjectsPane::QuotaLargestMode() const
{
    return quotaPreview_.value_or(prefs_.QuotaReportsLargestCapacity);
}

void TObjectsPane::RefreshHeader()
{
    view_.SetHeaderText(TCycleSetup::ObjectsHeader(*broadcast_));
}

std::shared_ptr<ICleanupListItem> TObjectsPane::RowObject(int32_t row) const
{
    return ValidRow(row) ? rows_[static_cast<size_t>(row)].object : nullptr;
}

// Drawing

std::string TObjectsPane::CellText(int32_t row, int32_t column)
{
    if (!ValidRow(row))
        return {};
    ICleanupListItem& object = *rows_[static_cast<size_t>(row)].object;
    switch (column) {
    case cnCategory: return object.GetOptionName();
    case cnPath: return object.GetPath();
    case cnSize: return object.GetSizeText();
    default: return {};
    }
}

int32_t TObjectsPane::RowImage(int32_t row)
{
    if (!ValidRow(row))
        return -1;
    TRow& entry = rows_[static_cast<size_t>(row)];
    if (!systemIcons_)
        return entry.object->GetSafetyIndex();
    if (entry.icon == kIconUnknown)
        entry.icon = view_.SystemIconIndex(entry.object->GetPath());
    return entry.icon;
}

bool TObjectsPane::RowChecked(int32_t row)
{
    return ValidRow(row) && rows_[static_cast<size_t>(row)].object->GetChecked();
}

uint32_t TObjectsPane::CellTextColour(int32_t row, int32_t column)
{
    if (!ValidRow(row))
        return kObjectsDefaultColour;
    return TextColour(rows_[static_cast<size_t>(row)].object->GetSafety(), column, systemIcons_);
}

uint32_t TObjectsPane::TextColour(TSafetyClass safety, int32_t column, bool systemIcons)
{
    // With the safety images on, the icon already tells the class.
    if (!systemIcons)
        return kObjectsDefaultColour;
    switch (safety) {
    case scPotentiallyUnsafe: return objects_colours::kPotentiallyUnsafe;
    case scUnsafe: return column == cnCategory ? objects_colours::kUnsafeCategory : objects_colours::kUnsafe;
    default: return kObjectsDefaultColour;
    }
}

TQuotaBar TObjectsPane::QuotaBar(int32_t row, const TCellRect& cell)
{
    if (!enabled_ || !ValidRow(row))
        return {};
    return QuotaBarGeometry(cell, rows_[static_cast<size_t>(row)].object->GetSize(), broadcast_->GetFoundCapacity(),
                            broadcast_->GetLargestCapacity(), QuotaLargestMode());
}

std::string TObjectsPane::RowSafety(int32_t row)
{
    return ValidRow(row) ? TCycleSetup::SafetyWord(rows_[static_cast<size_t>(row)].object->GetSafety()) : std::string();
}

int32_t TObjectsPane::RowQuotaPercent(int32_t row)
{
    if (!enabled_ || !ValidRow(row))
        return -1;
    const int64_t whole = QuotaLargestMode() ? broadcast_->GetLargestCapacity() : broadcast_->GetFoundCapacity();
    const int64_t part = rows_[static_cast<size_t>(row)].object->GetSize();
    if (broadcast_->GetFoundCapacity() <= 0 || whole <= 0 || part <= 0)
        return -1;
    // As the bar: the smallest parts read 1 %, parts out of step never more than the whole.
    return static_cast<int32_t>(std::clamp<long long>(std::llround(100.0 * static_cast<double>(part) / static_cast<double>(whole)), 1, 100));
}

TQuotaBar TObjectsPane::QuotaBarGeometry(const TCellRect& cell, int64_t size, int64_t foundCapacity,
                                         int64_t largestCapacity, bool largestMode)
{
    if (foundCapacity <= 0)
        return {};
    return TListSort::QuotaBar(cell, size, largestMode ? largestCapacity : foundCapacity);
}

// Checks

void TObjectsPane::CheckBoxClicked(int32_t row)
{
    ToggleCheck(row);
}

bool TObjectsPane::KeyDown(uint32_t key, bool control)
{
    if (control && key == objects_keys::kA) {
        view_.SelectAll(true);
        return true;
    }
    if (control && key == objects_keys::kC) {
        CopyNames();
        return true;
    }
    if (!control && key == objects_keys::kSpace) {
        // The focused row stands for the clicked one; the list's own Space handling is kept out.
        int32_t row = view_.FocusedRow();
        if (!ValidRow(row)) {
            const auto selected = Selection();
            row = selected.empty() ? -1 : selected.front();
        }
        ToggleCheck(row);
        return true;
    }
    return false;
}

void TObjectsPane::FocusLost()
{
    view_.SelectAll(false);
}

void TObjectsPane::ToggleCheck(int32_t row)
{
    if (checksFrozen_ || !ValidRow(row))
        return;
    const bool state = !rows_[static_cast<size_t>(row)].object->GetChecked();
    std::vector<int32_t> targets = Selection();
    if (targets.size() < 2 || std::find(targets.begin(), targets.end(), row) == targets.end())
        targets = {row};

    int32_t first = INT32_MAX, last = -1;
    for (int32_t target : targets) {
        ICleanupListItem& object = *rows_[static_cast<size_t>(target)].object;
        if (object.GetChecked() == state)
            continue;
        object.SetChecked(state);
        CarryIntoModel(object);
        first = std::min(first, target);
        last = std::max(last, target);
    }
    if (last >= 0)
        view_.RedrawRows(first, last);
    ChecksChanged();
}

void TObjectsPane::CarryIntoModel(ICleanupListItem& object)
{
    if (object.GetChecked()) {
        broadcast_->IncSelectedCount();
        broadcast_->AddSelectedCapacity(object.GetSize());
    } else {
        broadcast_->DecSelectedCount();
        broadcast_->SubSelectedCapacity(object.GetSize());
    }
}

void TObjectsPane::ChecksChanged()
{
    RefreshHeader();
    if (events_.onSelectionCountChanged)
        events_.onSelectionCountChanged(static_cast<uint32_t>(std::max(0, broadcast_->GetSelectedCount())));
}

// Commands

std::vector<int32_t> TObjectsPane::Selection()
{
    std::vector<int32_t> selected = view_.SelectedRows();
    selected.erase(std::remove_if(selected.begin(), selected.end(), [this](int32_t row) { return !ValidRow(row); }),
                   selected.end());
    return selected;
}

bool TObjectsPane::Viewable(const std::vector<int32_t>& selected)
{
    return selected.size() == 1 &&
           !TDirectoryRoutines::IsDirectory(rows_[static_cast<size_t>(selected.front())].object->GetPath());
}

std::vector<TObjectsMenuItem> TObjectsPane::MenuItems()
{
    const auto selected = Selection();
    const bool any = !selected.empty();
    const bool viewable = Viewable(selected);
    return {{cmOpen, objects_texts::kMenuOpen, any, true},
            {cmOpenDirectory, objects_texts::kMenuOpenDirectory, any, false},
            {cmCopyNames, selected.size() == 1 ? objects_texts::kMenuCopyName : objects_texts::kMenuCopyNames, any,
             false},
            {cmViewHex, objects_texts::kMenuViewHex, viewable, false},
            {cmViewBinary, objects_texts::kMenuViewBinary, viewable, false},
            {cmViewText, objects_texts::kMenuViewText, viewable, false}};
}

void TObjectsPane::ContextMenuRequested()
{
    RunCommand(view_.ShowContextMenu(MenuItems()));
}

void TObjectsPane::RunCommand(TObjectsCommand command)
{
    switch (command) {
    case cmOpen: Open(); break;
    case cmOpenDirectory: OpenContainingDirectory(); break;
    case cmCopyNames: CopyNames(); break;
    case cmViewHex: ViewObject(0); break;
    case cmViewBinary: ViewObject(1); break;
    case cmViewText: ViewObject(2); break;
    case cmNone: break;
    }
}

TMsgBoxResult TObjectsPane::Ask(TMsgBoxKind kind, const std::string& text, uint32_t buttons)
{
    return messageBoxes_.Execute(kind, text, view_.MonitorNumber(), TMsgBoxFocus::mfAccept, buttons);
}

void TObjectsPane::Open()
{
    // The paths are taken first: the question takes the focus, and losing it clears the selection.
    std::vector<std::string> paths;
    for (int32_t row : Selection())
        paths.push_back(rows_[static_cast<size_t>(row)].object->GetPath());
    if (paths.empty())
        return;
    if (prefs_.OpenObjectConfirmations) {
        const std::string text =
            paths.size() == 1 ? objects_texts::kOpenOne : FormatCount(objects_texts::kOpenSeveral, paths.size());
        if (Ask(TMsgBoxKind::mkConfirm, text, msgbox_buttons::kYesNo) != TMsgBoxResult::mrAccept)
            return;
    }
    for (const std::string& path : paths)
        view_.ShellOpen(path);
}

void TObjectsPane::OpenContainingDirectory()
{
    const auto selected = Selection();
    if (selected.empty())
        return;
    const std::string path = rows_[static_cast<size_t>(selected.front())].object->GetPath();
    if (!view_.OpenContainingFolder(path))
        Ask(TMsgBoxKind::mkError, TCycleSetup::FormatText(objects_texts::kOpenDirectoryFailed, TFileRoutines::ExtractFileName(path)),
            msgbox_buttons::kCloseOnly);
}

void TObjectsPane::CopyNames()
{
    const auto selected = Selection();
    if (selected.empty())
        return;
    if (selected.size() == 1) {
        view_.SetClipboardText(rows_[static_cast<size_t>(selected.front())].object->GetPath());
        return;
    }
    std::string text;
    for (int32_t row : selected)
        text += rows_[static_cast<size_t>(row)].object->GetPath() + "\r\n";
    view_.SetClipboardText(text);
}

int64_t TObjectsPane::ObjectBytes(ICleanupListItem& object)
{
    // What the viewer will read is the file as it is now; the scan's figures are the fallback.
    const int64_t onDisk = TFileRoutines::GetFileSizeBytes(object.GetPath());
    if (onDisk >= 0)
        return onDisk;
    if (object.GetByteSize() >= 0)
        return object.GetByteSize();
    return object.GetSize() * 1024;
}

void TObjectsPane::ViewObject(int32_t viewMode)
{
    const auto selected = Selection();
    if (!Viewable(selected))
        return;
    ICleanupListItem& object = *rows_[static_cast<size_t>(selected.front())].object;
    const std::string path = object.GetPath();
    if (ObjectBytes(object) > kViewQuestionBytes &&
        Ask(TMsgBoxKind::mkConfirm, TCycleSetup::FormatText(objects_texts::kLargeObject, TFileRoutines::ExtractFileName(path)),
            msgbox_buttons::kYesNo) != TMsgBoxResult::mrAccept)
        return;
    windowServices_.ShowFileViewer(path, viewMode);
}
