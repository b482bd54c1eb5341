#pragma once
// The legend window: the three safety classes with their pictures and a Close button on the
// shared dialog frame; TLegendController decides everything.
#include "app/uInfoWindowViews.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaUIControls.h"

#include <map>
#include <memory>

class TfrmLegend : public forms::TDialogWindow, public ILegendView {
public:
    explicit TfrmLegend(HWND owner);
    ~TfrmLegend() override;

    TInfoWindowEvents& Events() override { return events_; }
    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void SetCloseCaption(const std::string& text) override { btnClose_->SetText(text); }
    void Close() override { CloseWith(kResultCancel); }
    void SetText(TLegendText label, const std::string& text) override;
    void SetImage(TSafetyClass safety, const std::string& bitmapName) override;
    void ShowHelp() override;

private:
    void CreateControls();

    std::map<TLegendText, ui::TLabel*> labels_;
    std::map<TSafetyClass, ui::TImage*> images_;
    ui::TButton* btnClose_ = nullptr;
    TInfoWindowEvents events_;
    std::shared_ptr<ILegendController> controller_;
};
