#pragma once
// The report window: a toolbar with the save button over two pages, the scan report's list and
// the clean report's text. Controls and placement only; TReportController decides everything.
#include "app/uReportView.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaImageRoutines.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaUIVirtualListView.h"

#include <memory>
#include <string>
#include <vector>

class TfrmReport : public forms::TDialogWindow, public IReportView {
public:
    explicit TfrmReport(HWND owner);
    ~TfrmReport() override;

    IReportController& Controller() { return *controller_; }

    TReportViewEvents& Events() override { return events_; }
    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void SetSaveButton(const std::string& caption, const std::string& glyph) override;
    void SetUndoButton(const std::string& caption, bool shown) override;
    void SetImages(const std::vector<std::string>& rowImages, const std::string& sortUp,
                   const std::string& sortDown) override;
    void SetColumns(const std::vector<TListColumnInfo>& columns) override;
    void ShowPage(TReportPage page) override;
    void SetRowCount(int32_t count) override;
    void RedrawAll() override { lvScanReport_->RedrawAll(); }
    void SetSortImage(int32_t column, TSortImage image) override;
    void SetContent(const std::vector<std::string>& lines) override;
    std::shared_ptr<IComputingWindow> CreateComputingWindow() override;
    bool ChooseSaveFile(const TSaveFileRequest& request, std::string& path) override;
    int32_t MonitorNumber() override;

    std::vector<int32_t> SelectedRows() override { return lvScanReport_->SelectedRows(); }
    void SelectRows(const std::vector<int32_t>& rows) override { lvScanReport_->SelectRows(rows); }
    int32_t FocusedRow() override { return lvScanReport_->FocusedRow(); }
    void FocusRow(int32_t row) override { lvScanReport_->FocusRow(row); }
    void EnsureVisible(int32_t row) override { lvScanReport_->EnsureVisible(row); }

private:
    void CreateControls();
    void ConnectList();
    // The images in their form for the list's DPI.
    void LoadListImages();
    void PaintQuota(int row, HDC dc, const RECT& cell);

    ui::TFlatButton* btnSave_ = nullptr;
    ui::TFlatButton* btnUndo_ = nullptr;
    ui::TPageControl* nbReports_ = nullptr;
    ui::TVirtualListView* lvScanReport_ = nullptr;
    ui::TEdit* memContent_ = nullptr;
    TReportViewEvents events_;
    std::vector<std::string> rowImageNames_;
    std::vector<std::string> sortImageNames_;
    TImageListHandle rowImages_;
    TImageListHandle sortImages_;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<IReportController> controller_;
};
