#pragma once
// What the legend and the about box share on the dialog frame: a fixed size, no maximise button,
// and one Close button that is the default button and has the focus, so Enter presses it and
// Escape closes; every key goes to the controller first.
#include "app/uInfoWindowView.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIControls.h"

namespace forms {

constexpr int kInfoButtonWidth = 81;
constexpr int kInfoButtonHeight = 25;

template <class TView>
class TInfoWindow : public TDialogWindow, public TView {
public:
    TInfoWindow(int designWidth, int designHeight, HWND owner)
        : TDialogWindow(TDialogWindowArgs{
              .clientWidth = designWidth, .clientHeight = designHeight, .maximizeButton = false, .owner = owner})
    {
        onKeyDown = [this](UINT key) { return events_.onKeyDown && events_.onKeyDown(key); };
    }
    ~TInfoWindow() override { onKeyDown = nullptr; }

    TInfoWindowEvents& Events() override { return events_; }
    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void SetCloseCaption(const std::string& text) override { btnClose_->SetText(text); }
    void Close() override { CloseWith(kResultCancel); }

protected:
    // The Close button in the bottom right corner, inset by margin from the frame.
    void AddCloseButton(int designWidth, int top, int margin)
    {
        const int left = designWidth - ui::chrome::kFrameWidth - margin - kInfoButtonWidth;
        btnClose_ = &Window().template Add<ui::TButton>(
            ui::TButtonArgs{.rect = {left, top, kInfoButtonWidth, kInfoButtonHeight}, .isDefault = true});
        btnClose_->onClick = [this] {
            if (events_.onCloseClicked)
                events_.onCloseClicked();
        };
        Window().SetDefaultButton(btnClose_);
        Window().onFirstShow = [this] { btnClose_->SetFocus(); };
    }

private:
    ui::TButton* btnClose_ = nullptr;
    TInfoWindowEvents events_;
};

} // namespace forms
