#pragma once
// The report window: the scan report as a sortable list with quota bars, or the clean report's
// text, and saving either as a text file.
#include "app/uControllerInterfaces.h"
#include "app/uListSupport.h"
#include "app/uReportView.h"
#include "app/uWindowController.h"
#include "platform/PlatformSystem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class IScanReport;
class ICleanReport;
class TUndoClean;

namespace report_texts {
extern const char* const kTitle;
extern const char* const kSave;
extern const char* const kSaveGlyph;
extern const char* const kColumnCategory;
extern const char* const kColumnFoundCount;
extern const char* const kColumnSize;
extern const char* const kColumnQuota;
extern const char* const kSaveDialogTitle;
extern const char* const kSaveFilter;
extern const char* const kSaveExtension;
extern const char* const kScanFileName;  // %s = local date
extern const char* const kCleanFileName; // %s = local date
extern const char* const kOverwrite;     // %s = file name without its folder
extern const char* const kSaveFailed;    // %s = full path
} // namespace report_texts

class TReportController : public TWindowController, public IReportController {
public:
    // Today's local date and time; the system's clock unless a test sets it.
    using TClock = std::function<platform::LocalTime()>;

    TReportController(IReportView& view, IMessageBoxService& messageBoxes, TClock clock = {});
    ~TReportController() override;
    TReportController(const TReportController&) = delete;
    TReportController& operator=(const TReportController&) = delete;

    // IReportController
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;
    void LoadStrings() override;
    void SetScanReport(std::shared_ptr<IScanReport> report) override;
    void SetCleanReport(std::shared_ptr<ICleanReport> report) override;
    void SetReportKind(TReportKind kind) override { kind_ = kind; }

    // What the view asks and reports, as the controller answers it.
    std::string CellText(int32_t row, int32_t column);
    int32_t RowImage(int32_t row);
    TQuotaBar QuotaBar(int32_t row, const TCellRect& cell);
    void HeaderClicked(int32_t column);
    void Shown();

    // The name the save dialog proposes: "QSR-SCAN-yyyy-MM-dd.txt" or "QSR-CLEAN-yyyy-MM-dd.txt".
    std::string DefaultFileName() const;
    void Save();
    // The clean's undo, as the main window's objects page offers it.
    void Undo();
    bool UndoShown() const { return undoShown_; }

    int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
    const TListSortState& Sorting() const { return sort_; }

private:
    struct TRow {
        int32_t option = 0; // the row's data: the option index
        int32_t image = 0;
        std::string caption;
        std::vector<std::string> subItems; // found count, size
    };
    class TRowCollector;

    void WireEvents() override;
    void LoadImages() override;
    void Fill();
    bool ValidRow(int32_t row) const { return row >= 0 && row < RowCount(); }
    void SortRows(int32_t column, bool ascending);
    void ShowSortImages();
    void SaveReport(const std::string& path);
    void ShowUndo();

    IReportView& view_;
    IMessageBoxService& messageBoxes_;
    TClock clock_;
    std::shared_ptr<IScanReport> scanReport_;
    std::shared_ptr<ICleanReport> cleanReport_;
    TReportKind kind_ = rkScan;
    std::vector<TRow> rows_;
    int64_t totalCapacity_ = 0; // Ko, as the rows were built
    TListSortState sort_{kReportColumnCount};
    std::shared_ptr<TUndoClean> undo_;
    bool undoShown_ = false;
};
