#pragma once
// The program's drawn progress bar: its rules live in TProgressBarModel; this control paints
// them without flicker (off-screen, then one copy) and holds a status text as a real child
// label drawn over the bar.
#include "ui/models/uProgressBarModel.h"
#include "ui/VelaUIControls.h"

namespace ui {

struct TProgressBarArgs {
    TDesignRect rect{0, 0, 100, 21};
    uint8_t anchors = kAnchorTopLeft;
    COLORREF foreground = RGB(0, 0, 0);
    COLORREF background = RGB(255, 255, 255);
    bool border = true;
    bool displayText = true;
};

class TSVProgressBar : public TControl, public TContainer {
public:
    TSVProgressBar(TContainer& parent, const TProgressBarArgs& args);
    HWND ContainerHandle() const override { return handle_; }
    TWindow& OwningWindow() override { return Window(); }

    const TProgressBarModel& Model() const { return model_; }
    void SetMinimum(int32_t value) { Repaint(model_.SetMinimum(value)); }
    void SetMaximum(int32_t value) { Repaint(model_.SetMaximum(value)); }
    void SetProgress(int32_t value) { Repaint(model_.SetProgress(value)); }
    void StepBy(int32_t delta) { SetProgress(model_.Progress() + delta); }
    void SetOrientation(TBarOrientation value) { Repaint(model_.SetOrientation(value)); }
    void SetForegroundColor(COLORREF value) { Repaint(model_.SetForegroundColor(value)); }
    void SetBackgroundColor(COLORREF value) { Repaint(model_.SetBackgroundColor(value)); }
    void SetBorderStyle(TBarBorderStyle value) { Repaint(model_.SetBorderStyle(value)); }
    void SetDisplayText(bool value) { Repaint(model_.SetDisplayText(value)); }

    // Read as a progress bar named by the status text over it, its value in percent.
    long AccessibleRole(long child) override;
    std::string AccessibleName(long child) override;
    std::string AccessibleValue(long child) override;
    long AccessibleState(long child) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Repaint(bool needed);
    void Paint(HDC dc);
    TProgressBarModel model_;
    int32_t announcedPercent_ = 0;
};

} // namespace ui
