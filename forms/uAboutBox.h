#pragma once
// The about box: the program's icon and facts, the system's, the credits and a Close button;
// TAboutBoxController decides everything.
#include "app/uAboutBoxView.h"
#include "forms/uInfoWindow.h"
#include "ui/VelaUIIconImage.h"

#include <map>
#include <memory>

class TfrmAboutBox : public forms::TInfoWindow<IAboutBoxView> {
public:
    explicit TfrmAboutBox(HWND owner);
    ~TfrmAboutBox() override;

    void SetText(TAboutText label, const std::string& text) override;
    void SetLogo(const std::string& iconName, int32_t size) override;
    void ShowNote(const std::string& text, uint32_t colour) override;

private:
    void CreateControls();
    void AddLine(TAboutText label, int left, int top, bool bold = false);

    std::map<TAboutText, ui::TLabel*> labels_;
    ui::TIconImage* imgAppLogo_ = nullptr;
    ui::TLabel* lblNote_ = nullptr;
    std::shared_ptr<IAboutBoxController> controller_;
};
