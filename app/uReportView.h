#pragma once
// The report window as its controller sees it: a page with the scan report's list (virtual: the
// controller supplies every cell) and a page with the clean report's text. The Win32 form
// implements it; tests use a fake.
#include "app/uControllerInterfaces.h"
#include "app/uListSupport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TReportColumn : int32_t { rcCategory = 0, rcFoundCount = 1, rcSize = 2, rcQuota = 3 };
constexpr int32_t kReportColumnCount = 4;

enum TReportPage : int32_t { rpScan = 0, rpClean = 1 };

// What the standard save-file dialog is opened with.
struct TSaveFileRequest {
    std::string title;
    std::string filter;           // "description|pattern", pairs separated by "|"
    std::string defaultExtension; // without its dot
    std::string fileName;         // pre-filled
};

// The list's cells, asked while the view paints (a row index out of range gives an empty cell),
// and the user's actions.
struct TReportViewEvents {
    std::function<std::string(int32_t row, int32_t column)> onCellText;
    std::function<int32_t(int32_t row)> onRowImage;
    std::function<TQuotaBar(int32_t row, const TCellRect& cell)> onQuotaBar;
    std::function<void(int32_t column)> onHeaderClicked;
    std::function<void()> onSaveClicked;
    std::function<void()> onUndoClicked;
    // The window has just been shown for the first time.
    std::function<void()> onFirstShow;
};

class IReportView : public IRowSelection {
public:
    virtual TReportViewEvents& Events() = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetSaveButton(const std::string& caption, const std::string& glyph) = 0;
    // The toolbar's "Undo Clean" beside Save: shown only for a clean that can still be undone.
    virtual void SetUndoButton(const std::string& caption, bool shown) = 0;
    // Safety images "fsafe16", "fpunsafe16", "funsafe16" (indices 0..2) and the sort images.
    virtual void SetImages(const std::vector<std::string>& rowImages, const std::string& sortUp,
                           const std::string& sortDown) = 0;
    virtual void SetColumns(const std::vector<TListColumnInfo>& columns) = 0;
    virtual void ShowPage(TReportPage page) = 0;
    virtual void SetRowCount(int32_t count) = 0;
    virtual void RedrawAll() = 0;
    virtual void SetSortImage(int32_t column, TSortImage image) = 0;
    // The clean page's text, one line each.
    virtual void SetContent(const std::vector<std::string>& lines) = 0;
    // The "Computing..." popup over this window, not shown yet.
    virtual std::shared_ptr<IComputingWindow> CreateComputingWindow() = 0;
    // The standard dialog; false when the user cancels. It never asks about overwriting itself.
    virtual bool ChooseSaveFile(const TSaveFileRequest& request, std::string& path) = 0;
    // For the message boxes the window raises.
    virtual int32_t MonitorNumber() = 0;
};
