#pragma once
// A still picture of one of the program's icons, drawn at its size for the window's DPI.
#include "ui/VelaImageRoutines.h"
#include "ui/VelaUIControl.h"

namespace ui {

struct TIconImageArgs {
    std::string icon{}; // icon resource of the program
    TDesignRect rect{}; // the icon is drawn at this size
    uint8_t anchors = kAnchorTopLeft;
    COLORREF backColour = RGB(255, 255, 255);
};

class TIconImage : public TControl {
public:
    TIconImage(TContainer& parent, const TIconImageArgs& args);
    void SetIcon(const std::string& name);
    bool HandleDrawItem(DRAWITEMSTRUCT& item) override;
    void DpiChanged() override;
    // The icon now loaded; null when the resource is missing.
    HICON Icon() const { return icon_.get(); }

private:
    void Load();
    std::string name_;
    TIconHandle icon_;
};

} // namespace ui
