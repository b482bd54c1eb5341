#pragma once
// The uninstall window: a toolbar with Refresh and Uninstall over the list of installed
// applications, and Close. Controls and placement only; TUninstallController decides everything.
#include "app/uUninstallView.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaImageRoutines.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaUIVirtualListView.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class IRegistry;
}

class TfrmUninstall : public forms::TDialogWindow, public IUninstallView {
public:
    // registry: where the applications are read from (the system's unless a caller shows others).
    TfrmUninstall(HWND owner, platform::IRegistry& registry);
    ~TfrmUninstall() override;

    TUninstallViewEvents& Events() override { return events_; }
    void OnCommand(TUninstallButton button, std::function<void()> handler) override;
    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void SetButton(TUninstallButton button, const std::string& caption, const std::string& glyph) override;
    void SetButtonEnabled(TUninstallButton button, bool enabled) override;
    void SetColumns(const std::vector<TListColumnInfo>& columns) override;
    void SetSortImages(const std::string& sortUp, const std::string& sortDown) override;
    void SetRowIcons(const std::vector<std::string>& iconFiles, const std::string& fallback) override;
    void SetRowCount(int32_t count) override;
    void RedrawAll() override { lvUninstallList_->RedrawAll(); }
    void SetSortImage(int32_t column, TSortImage image) override;
    std::shared_ptr<IComputingWindow> CreateComputingWindow() override;
    int32_t MonitorNumber() override;

    std::vector<int32_t> SelectedRows() override { return lvUninstallList_->SelectedRows(); }
    void SelectRows(const std::vector<int32_t>& rows) override { lvUninstallList_->SelectRows(rows); }
    int32_t FocusedRow() override { return lvUninstallList_->FocusedRow(); }
    void FocusRow(int32_t row) override { lvUninstallList_->FocusRow(row); }
    void EnsureVisible(int32_t row) override { lvUninstallList_->EnsureVisible(row); }

private:
    void CreateControls();
    void ConnectList();
    // The icons and sort images in their form for the list's DPI.
    void LoadListImages();
    ui::TControl* ControlOf(TUninstallButton button);

    ui::TFlatButton* btnRefresh_ = nullptr;
    ui::TFlatButton* btnUninstall_ = nullptr;
    ui::TVirtualListView* lvUninstallList_ = nullptr;
    ui::TButton* btnClose_ = nullptr;
    TUninstallViewEvents events_;
    std::vector<std::string> iconFiles_;
    std::string fallbackImage_;
    std::vector<std::string> sortImageNames_;
    // Each entry's index in rowImages_: its own icon, or the one fallback image.
    std::vector<int> imageOfEntry_;
    TImageListHandle rowImages_;
    TImageListHandle sortImages_;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<IUninstallController> controller_;
};
