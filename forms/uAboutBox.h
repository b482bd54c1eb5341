#pragma once
// The about box: the program's icon and facts, the system's, the credits and a Close button on
// the shared dialog frame; TAboutBoxController decides everything.
#include "app/uInfoWindowViews.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaUIControls.h"
#include "ui/VelaUIIconImage.h"

#include <map>
#include <memory>

class TfrmAboutBox : public forms::TDialogWindow, public IAboutBoxView {
public:
    explicit TfrmAboutBox(HWND owner);
    ~TfrmAboutBox() override;

    TInfoWindowEvents& Events() override { return events_; }
    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void SetCloseCaption(const std::string& text) override { btnClose_->SetText(text); }
    void Close() override { CloseWith(kResultCancel); }
    void SetText(TAboutText label, const std::string& text) override;
    void SetLogo(const std::string& iconName, int32_t size) override;
    void ShowNote(const std::string& text, uint32_t colour) override;

private:
    void CreateControls();
    ui::TLabel& AddLine(TAboutText label, int left, int top, bool bold = false);

    std::map<TAboutText, ui::TLabel*> labels_;
    ui::TIconImage* imgAppLogo_ = nullptr;
    ui::TLabel* lblNote_ = nullptr;
    ui::TButton* btnClose_ = nullptr;
    TInfoWindowEvents events_;
    std::shared_ptr<IAboutBoxController> controller_;
};
