#pragma once
// The report window as its controller sees it: a page with the scan report's list (virtual: the
// controller supplies every cell) and a page with the clean report's text. The Win32 form
// implements it; tests use a fake.
#include "app/uControllerInterfaces.h"
#include "app/uListSupport.h"

#include <cstdint>
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

// Implemented by the controller: the list's cells while the view paints, and the user's actions.
class IReportViewClient {
public:
    virtual ~IReportViewClient() = default;
    // A row index out of range gives an empty cell.
    virtual std::string CellText(int32_t row, int32_t column) = 0;
    virtual int32_t RowImage(int32_t row) = 0;
    virtual TQuotaBar QuotaBar(int32_t row, const TCellRect& cell) = 0;
    virtual void HeaderClicked(int32_t column) = 0;
    virtual void SaveClicked() = 0;
    // The window has just been shown for the first time.
    virtual void Shown() = 0;
};

class IReportView : public IRowSelection {
public:
    // nullptr detaches (the controller is going).
    virtual void SetClient(IReportViewClient* client) = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetSaveButton(const std::string& caption, const std::string& glyph) = 0;
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
