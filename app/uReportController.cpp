#include "app/uReportController.h"

#include "app/uUndoClean.h"
#include "cycle/uCycleSetup.h"
#include "engine/uEngineInterfaces.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"

#include <cstdio>
#include <exception>

namespace report_texts {
const char* const kTitle = "Report";
const char* const kSave = "&Save";
const char* const kSaveGlyph = "save22";
const char* const kColumnCategory = "Category";
const char* const kColumnFoundCount = "Found Count";
const char* const kColumnSize = "Size";
const char* const kColumnQuota = "Quota";
const char* const kSaveDialogTitle = "Save report...";
const char* const kSaveFilter = "Text files (*.txt)|*.txt";
const char* const kSaveExtension = "txt";
const char* const kScanFileName = "QSR-SCAN-%s.txt";
const char* const kCleanFileName = "QSR-CLEAN-%s.txt";
const char* const kOverwrite = "File \"%s\" already exists.\r\nDo you want to overwrite it?";
const char* const kSaveFailed = "An unexpected error occured while attempting to save the report as \"%s\".\r\n"
                                "Please try saving again using a different file name.";
} // namespace report_texts

// The scan report appends its rows here; the controller then owns and sorts them.
class TReportController::TRowCollector : public IReportListView {
public:
    void AppendRow(int32_t data, int32_t imageIndex, const std::string& caption,
                   const std::vector<std::string>& subItems) override
    {
        rows.push_back({data, imageIndex, caption, subItems});
    }
    std::vector<TRow> rows;
};

TReportController::TReportController(IReportView& view, IMessageBoxService& messageBoxes, TClock clock)
    : view_(view), messageBoxes_(messageBoxes), clock_(std::move(clock))
{
    if (!clock_)
        clock_ = [] { return platform::LocalNow(); };
    Initialize();
}

TReportController::~TReportController()
{
    view_.Events() = {};
}

int32_t TReportController::ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult)
{
    return ResizeBand(x, y, width, height, systemResult);
}

void TReportController::WireEvents()
{
    TReportViewEvents& events = view_.Events();
    events.onCellText = [this](int32_t row, int32_t column) { return CellText(row, column); };
    events.onRowImage = [this](int32_t row) { return RowImage(row); };
    events.onQuotaBar = [this](int32_t row, const TCellRect& cell) { return QuotaBar(row, cell); };
    events.onHeaderClicked = [this](int32_t column) { HeaderClicked(column); };
    events.onSaveClicked = [this] { Save(); };
    events.onUndoClicked = [this] { Undo(); };
    events.onFirstShow = [this] { Shown(); };
}

void TReportController::LoadImages()
{
    view_.SetImages({"fsafe16", "fpunsafe16", "funsafe16"}, "sort_up", "sort_down");
}

void TReportController::LoadStrings()
{
    view_.SetTitle(report_texts::kTitle);
    view_.SetSaveButton(report_texts::kSave, report_texts::kSaveGlyph);
    view_.SetUndoButton(undo_texts::kUndoClean, undoShown_);
    view_.SetColumns({{report_texts::kColumnCategory, 200, false},
                      {report_texts::kColumnFoundCount, 100, false},
                      {report_texts::kColumnSize, 100, false},
                      {report_texts::kColumnQuota, 0, true}});
}

void TReportController::SetScanReport(std::shared_ptr<IScanReport> report)
{
    if (report != scanReport_)
        scanReport_ = std::move(report);
}

void TReportController::SetCleanReport(std::shared_ptr<ICleanReport> report)
{
    if (report != cleanReport_)
        cleanReport_ = std::move(report);
}

// ---- Showing ----

void TReportController::Shown()
{
    view_.ShowPage(kind_ == rkClean ? rpClean : rpScan);
    undo_ = kind_ == rkClean ? TUndoClean::Of(cleanReport_.get()) : nullptr;
    ShowUndo();
    const TComputingScope computing(view_.CreateComputingWindow());
    Fill();
}

void TReportController::ShowUndo()
{
    undoShown_ = undo_ && undo_->Pending();
    view_.SetUndoButton(undo_texts::kUndoClean, undoShown_);
}

void TReportController::Undo()
{
    if (!undoShown_)
        return;
    undo_->Run(messageBoxes_, view_.MonitorNumber(), view_.CreateComputingWindow());
    ShowUndo();
}

void TReportController::Fill()
{
    if (kind_ == rkClean) {
        if (cleanReport_)
            view_.SetContent(cleanReport_->GetLines());
        return;
    }
    if (!scanReport_)
        return;
    scanReport_->Build();
    auto collector = std::make_shared<TRowCollector>();
    scanReport_->FillListView(collector);
    rows_ = std::move(collector->rows);
    totalCapacity_ = scanReport_->GetTotalFoundCapacity();
    sort_.Reset();
    ShowSortImages();
    view_.SetRowCount(RowCount());
}

// ---- Drawing ----

std::string TReportController::CellText(int32_t row, int32_t column)
{
    if (!ValidRow(row))
        return {};
    const TRow& entry = rows_[static_cast<size_t>(row)];
    if (column == rcCategory)
        return entry.caption;
    const size_t sub = static_cast<size_t>(column) - 1;
    return column > rcCategory && column < rcQuota && sub < entry.subItems.size() ? entry.subItems[sub]
                                                                                  : std::string();
}

int32_t TReportController::RowImage(int32_t row)
{
    return ValidRow(row) ? rows_[static_cast<size_t>(row)].image : -1;
}

TQuotaBar TReportController::QuotaBar(int32_t row, const TCellRect& cell)
{
    if (!ValidRow(row) || !scanReport_)
        return {};
    const std::shared_ptr<IScanReportItem> item = scanReport_->GetItem(rows_[static_cast<size_t>(row)].option);
    // Always a share of everything found: the objects list's largest-object mode plays no part.
    return item ? TListSort::QuotaBar(cell, item->GetFoundCapacity(), totalCapacity_) : TQuotaBar{};
}

// ---- Sorting ----

void TReportController::HeaderClicked(int32_t column)
{
    if (rows_.empty() || column < 0 || column >= kReportColumnCount || column == rcQuota)
        return;
    sort_.Click(column);
    SortRows(column, sort_.Ascending());
    ShowSortImages();
}

void TReportController::SortRows(int32_t column, bool ascending)
{
    const size_t count = rows_.size();
    std::vector<size_t> order;
    if (column == rcCategory) {
        std::vector<std::string> keys(count);
        for (size_t i = 0; i < count; ++i)
            keys[i] = rows_[i].caption;
        order = TListSort::Order(keys, ascending);
    } else {
        // Both read back from the texts the user sees: "1,234" and "1,536 Mo".
        std::vector<int64_t> keys(count);
        for (size_t i = 0; i < count; ++i) {
            const std::string text = CellText(static_cast<int32_t>(i), column);
            keys[i] = column == rcFoundCount ? TStringRoutines::DigitsToIntDef(text) : TListSort::ShownKo(text, 0);
        }
        order = TListSort::Order(keys, ascending);
    }
    TListSort::Permute(rows_, order);
    TListSort::FollowRows(view_, order);
    view_.RedrawAll();
}

void TReportController::ShowSortImages()
{
    for (int32_t column = 0; column < kReportColumnCount; ++column)
        view_.SetSortImage(column, sort_.Image(column));
}

// ---- Saving ----

std::string TReportController::DefaultFileName() const
{
    const platform::LocalTime today = clock_();
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.year, today.month, today.day);
    return TCycleSetup::FormatText(kind_ == rkClean ? report_texts::kCleanFileName : report_texts::kScanFileName,
                                   date);
}

void TReportController::Save()
{
    if (kind_ == rkClean ? !cleanReport_ : !scanReport_)
        return;
    std::string path;
    const TSaveFileRequest request{report_texts::kSaveDialogTitle, report_texts::kSaveFilter,
                                   report_texts::kSaveExtension, DefaultFileName()};
    if (!view_.ChooseSaveFile(request, path) || path.empty())
        return;
    if (platform::FileExists(path) &&
        messageBoxes_.Execute(TMsgBoxKind::mkConfirm, TCycleSetup::FormatText(report_texts::kOverwrite, TFileRoutines::ExtractFileName(path)),
                              view_.MonitorNumber(), TMsgBoxFocus::mfAccept,
                              msgbox_buttons::kYesNo) != TMsgBoxResult::mrAccept)
        return;
    try {
        SaveReport(path);
    } catch (const std::exception&) {
        messageBoxes_.Execute(TMsgBoxKind::mkError, TCycleSetup::FormatText(report_texts::kSaveFailed, path),
                              view_.MonitorNumber(), TMsgBoxFocus::mfAccept, msgbox_buttons::kCloseOnly);
        return;
    }
    // Only a file that was written is named in the title.
    view_.SetTitle(path);
}

void TReportController::SaveReport(const std::string& path)
{
    if (kind_ == rkClean)
        cleanReport_->SaveToFile(path);
    else
        scanReport_->SaveToFile(path);
}
