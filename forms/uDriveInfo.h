#pragma once
// The drive information window: a toolbar with Refresh, the list of the drive's details and a
// Close button on the shared dialog frame; TDriveInfoController decides everything.
#include "app/uDriveInfoView.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaUIVirtualListView.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TfrmDriveInfo : public forms::TDialogWindow, public IDriveInfoView {
public:
    // An empty factory reads the real drives; the window gallery hands in a made-up drive.
    explicit TfrmDriveInfo(HWND owner, TDriveInfoFactory factory = {});
    ~TfrmDriveInfo() override;

    IDriveInfoController& Controller() { return *controller_; }

    void OnShow(std::function<void()> handler) override { onShow_ = std::move(handler); }
    void OnCommand(TDriveInfoControl control, std::function<void()> handler) override;
    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void SetText(TDriveInfoControl control, const std::string& text) override;
    void SetGlyph(TDriveInfoControl control, const std::string& bitmapName) override;
    void SetColumns(const std::vector<TListColumnInfo>& columns) override;
    void SetRows(const std::vector<TDriveInfoRow>& rows) override;
    void Close() override { CloseWith(kResultCancel); }
    int32_t MonitorNumber() override;

private:
    void CreateControls();
    void Run(TDriveInfoControl control);
    std::string CellText(int row, int column) const;

    ui::TFlatButton* b1_ = nullptr; // Refresh
    ui::TVirtualListView* lvDriveInfo_ = nullptr;
    ui::TButton* btnClose_ = nullptr;
    std::vector<TDriveInfoRow> rows_;
    std::function<void()> onShow_;
    std::map<TDriveInfoControl, std::function<void()>> commands_;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<IDriveInfoController> controller_;
};
