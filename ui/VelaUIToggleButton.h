#pragma once
// A toolbar button that stays pressed while its page or mode is chosen: a glyph over its caption.
// It answers BM_GETCHECK with its pressed state, so assistive tools read it like a check box.
#include "ui/VelaUIControls.h"

namespace ui {

struct TToggleButtonArgs {
    std::string text{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    std::string glyph{}; // bitmap resource; magenta is transparent
    COLORREF backColour = RGB(0xF0, 0xF0, 0xF0);
    COLORREF downColour = RGB(0xD6, 0xE4, 0xF4);
    COLORREF frameColour = RGB(0x6F, 0x93, 0xBE);
};

class TToggleButton : public TControl {
public:
    TToggleButton(TContainer& parent, const TToggleButtonArgs& args);
    bool Down() const { return down_; }
    void SetDown(bool down);
    void SetGlyph(const std::string& bitmapName);
    std::function<void()> onClick;
    bool HandleCommand(WORD code) override;
    bool HandleDrawItem(DRAWITEMSTRUCT& item) override;
    void DpiChanged() override;
    long AccessibleRole(long child) override;
    long AccessibleState(long child) override;
    std::string AccessibleDefaultAction(long child) override;
    void AccessibleDoDefaultAction(long child) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    TDpiBitmap glyph_;
    COLORREF downColour_;
    COLORREF frameColour_;
    bool down_ = false;
    bool hot_ = false;
};

} // namespace ui
