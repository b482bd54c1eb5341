#include "app/uUninstallController.h"

#include "cycle/uCycleSetup.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformPrograms.h"
#include "support/VelaRoutines.h"

namespace uninstall_texts {
const char* const kTitle = "Uninstall Applications";
const char* const kRefresh = "&Refresh";
const char* const kUninstall = "&Uninstall";
const char* const kClose = "Close";
const char* const kColumnName = "Name";
const char* const kColumnPublisher = "Publisher";
const char* const kColumnSize = "Size";
const char* const kColumnVersion = "Version";
const char* const kNotInstalled =
    "It appears that \"%s\" is not installed on this machine anymore.\r\nDo you want to remove this entry?";
} // namespace uninstall_texts

namespace {
const char* const kFallbackIcon = "uninstall16";
} // namespace

TUninstallController::TUninstallController(IUninstallView& view, IMessageBoxService& messageBoxes,
                                           const TPreferenceValues& preferences, platform::IRegistry& registry,
                                           TStarter starter)
    : view_(view), messageBoxes_(messageBoxes), prefs_(preferences), registry_(registry), starter_(std::move(starter))
{
    if (!starter_)
        starter_ = [](const std::string& program, const std::string& arguments) {
            return platform::StartProgram(program, arguments);
        };
    Initialize();
}

TUninstallController::~TUninstallController()
{
    view_.Events() = {};
    view_.OnCommand(TUninstallButton::ubRefresh, nullptr);
    view_.OnCommand(TUninstallButton::ubUninstall, nullptr);
}

int32_t TUninstallController::ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height,
                                            int32_t systemResult)
{
    return ResizeBand(x, y, width, height, systemResult);
}

void TUninstallController::WireEvents()
{
    TUninstallViewEvents& events = view_.Events();
    events.onCellText = [this](int32_t row, int32_t column) { return CellText(row, column); };
    events.onRowImage = [this](int32_t row) { return RowImage(row); };
    events.onHeaderClicked = [this](int32_t column) { HeaderClicked(column); };
    events.onSelectionChanged = [this] { SelectionChanged(); };
    events.onFirstShow = [this] { Fill(); };
    view_.OnCommand(TUninstallButton::ubRefresh, [this] { Fill(); });
    view_.OnCommand(TUninstallButton::ubUninstall, [this] { Uninstall(); });
}

void TUninstallController::LoadImages()
{
    view_.SetSortImages("sort_up", "sort_down");
}

void TUninstallController::LoadStrings()
{
    using namespace uninstall_texts;
    view_.SetTitle(kTitle);
    view_.SetButton(TUninstallButton::ubRefresh, kRefresh, "refresh22");
    view_.SetButton(TUninstallButton::ubUninstall, kUninstall, "uninstall22s2");
    view_.SetButton(TUninstallButton::ubClose, kClose, "");
    view_.SetColumns({{kColumnName, 0, true}, {kColumnPublisher, 220, false}, {kColumnSize, 80, false},
                      {kColumnVersion, 100, false}});
    view_.SetButtonEnabled(TUninstallButton::ubUninstall, false);
}

// ---- Filling ----

void TUninstallController::Fill()
{
    const TComputingScope computing(view_.CreateComputingWindow());

    TUninstallInfoArray entries;
    TUninstallRoutines::GetUninstallInfo(registry_, prefs_.ComputeSize, entries);
    rows_.clear();
    view_.SelectRows({});
    sort_.Reset();
    ShowSortImages();
    std::vector<std::string> icons;
    for (const std::shared_ptr<IUninstallInfo>& entry : entries) {
        const std::string icon = entry->GetIconPath();
        icons.push_back(!icon.empty() && platform::FileExists(icon) ? icon : std::string());
        rows_.push_back({entry, static_cast<int32_t>(rows_.size())});
    }
    view_.SetRowIcons(icons, kFallbackIcon);
    view_.SetRowCount(RowCount());
    view_.RedrawAll();
    SelectionChanged();
}

// ---- Drawing ----

std::string TUninstallController::CellText(int32_t row, int32_t column)
{
    if (!ValidRow(row))
        return {};
    const IUninstallInfo& entry = *rows_[static_cast<size_t>(row)].entry;
    switch (column) {
    case ucName: return entry.GetName();
    case ucPublisher: return entry.GetPublisher();
    case ucSize: return entry.GetSizeText();
    case ucVersion: return entry.GetVersion();
    default: return {};
    }
}

int32_t TUninstallController::RowImage(int32_t row)
{
    return ValidRow(row) ? rows_[static_cast<size_t>(row)].image : -1;
}

void TUninstallController::SelectionChanged()
{
    view_.SetButtonEnabled(TUninstallButton::ubUninstall, ChosenRow() >= 0);
}

int32_t TUninstallController::ChosenRow()
{
    const std::vector<int32_t> selected = view_.SelectedRows();
    if (selected.empty())
        return -1;
    const int32_t focused = view_.FocusedRow();
    for (int32_t row : selected)
        if (row == focused && ValidRow(row))
            return row;
    return ValidRow(selected.front()) ? selected.front() : -1;
}

// ---- Sorting ----

void TUninstallController::HeaderClicked(int32_t column)
{
    if (rows_.empty() || column < 0 || column >= kUninstallColumnCount)
        return;
    sort_.Click(column);
    SortRows(column, sort_.Ascending());
    ShowSortImages();
}

void TUninstallController::SortRows(int32_t column, bool ascending)
{
    const size_t count = rows_.size();
    std::vector<size_t> order;
    if (column == ucSize) {
        // As the user reads them: "1,536 Mo" above "900 Ko"; no size counts as nothing.
        std::vector<int64_t> keys(count);
        for (size_t i = 0; i < count; ++i)
            keys[i] = TListSort::ShownKo(rows_[i].entry->GetSizeText(), 0);
        order = TListSort::Order(keys, ascending);
    } else {
        std::vector<std::string> keys(count);
        for (size_t i = 0; i < count; ++i)
            keys[i] = CellText(static_cast<int32_t>(i), column);
        order = TListSort::Order(keys, ascending);
    }
    TListSort::Permute(rows_, order);
    TListSort::FollowRows(view_, order);
    view_.RedrawAll();
}

void TUninstallController::ShowSortImages()
{
    for (int32_t column = 0; column < kUninstallColumnCount; ++column)
        view_.SetSortImage(column, sort_.Image(column));
}

// ---- Uninstalling ----

void TUninstallController::Uninstall()
{
    const int32_t row = ChosenRow();
    if (row < 0)
        return;
    const std::shared_ptr<IUninstallInfo> entry = rows_[static_cast<size_t>(row)].entry;
    const std::string command = entry->GetUninstallCommand();
    const std::string program = TUninstallRoutines::ExistingProgram(command);
    if (!program.empty()) {
        // The uninstaller runs on its own; the user refreshes the list when it is done.
        starter_(program, TUninstallRoutines::SplitCommand(command).arguments);
        return;
    }
    const std::string question = TCycleSetup::FormatText(uninstall_texts::kNotInstalled, entry->GetName());
    // Enter alone keeps the entry: only a deliberate Yes deletes.
    if (messageBoxes_.Execute(TMsgBoxKind::mkConfirm, question, view_.MonitorNumber(), TMsgBoxFocus::mfRefuse,
                              msgbox_buttons::kYesNo) != TMsgBoxResult::mrAccept)
        return;
    TUninstallRoutines::DeleteEntry(registry_, *entry);
    Fill();
}
