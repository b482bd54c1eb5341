#pragma once
// The file viewer window: one read-only text view in a fixed-pitch font filling the shared dialog
// frame; TFileViewerController reads the file and decides what it shows.
#include "app/uFileViewerView.h"
#include "app/uWindowServices.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaUITextView.h"

#include <memory>

class TFileViewerController;

class TfrmFileViewer : public forms::TDialogWindow, public IFileViewerView {
public:
    // Titled and filled from arguments (path, viewMode) before it shows.
    TfrmFileViewer(const TWindowArguments& arguments, HWND owner);
    ~TfrmFileViewer() override;

    // Returns at once, showing nothing, when the file could not be read.
    int32_t ShowModal() override;
    IFileViewerController& Controller();

    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void SetContent(std::string text) override { memFileViewer_->SetContent(std::move(text)); }
    void Close() override;
    int32_t MonitorNumber() override;

private:
    ui::TTextView* memFileViewer_ = nullptr;
    bool showing_ = false;
    bool closeRequested_ = false;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<TFileViewerController> controller_;
};
