#pragma once
// The options window as its controller sees it. Controls are reached by name ("cbConfirmations",
// "edtExcludeFiles", "pnlFileSizeValidator", the toolbar's "b1".."b5"), so the controller can find a
// button's label and field from the button's own name. The Win32 form implements it; tests use a fake.
#include "support/VelaTimeRoutines.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Window-level events; the controller connects them in WireEvents.
struct TOptionsWindowEvents {
    // Before the window first shows: the controls take the stored values.
    std::function<void()> onShow;
    // The window closes: accepted by OK, or any other way (Cancel, close button, Escape, system).
    std::function<void(bool accepted)> onClosed;
    // A character typed into the passes field; the view drops it, the controller sets the text.
    std::function<void(uint32_t character)> onPassesKey;
    // A mouse button was released over the Secure Delete Files check box.
    std::function<void()> onSecureDeleteMouseUp;
};

class IOptionsWindowView {
public:
    virtual ~IOptionsWindowView() = default;

    virtual TOptionsWindowEvents& Events() = 0;
    virtual bool HasControl(const std::string& name) = 0;
    // A button's, check box's or radio button's click (by the user, not by SetChecked).
    virtual void OnClick(const std::string& name, std::function<void()> handler) = 0;

    virtual std::string Text(const std::string& name) = 0;
    virtual void SetText(const std::string& name, const std::string& text) = 0;
    virtual void SetHint(const std::string& name, const std::string& text) = 0;
    virtual void SetGlyph(const std::string& name, const std::string& bitmap) = 0;
    // Check boxes, radio buttons and the toolbar's toggle buttons (pressed).
    virtual bool Checked(const std::string& name) = 0;
    virtual void SetChecked(const std::string& name, bool checked) = 0;
    virtual void SetEnabled(const std::string& name, bool enabled) = 0;
    virtual void SetVisible(const std::string& name, bool visible) = 0;
    virtual void SetFocus(const std::string& name) = 0;

    // The notebook's pages, 0 to 4.
    virtual void ShowPage(size_t index) = 0;
    virtual size_t ActivePage() = 0;

    // The date picker "dtpDate".
    virtual void SetDateFormat(const std::string& format) = 0;
    virtual TDateTime Date() = 0;
    virtual void SetDate(TDateTime value) = 0;

    virtual int32_t MonitorNumber() = 0;
    // Transparency of every open window of the program.
    virtual void ApplyTransparencyToAll(bool enabled, uint8_t alpha) = 0;
    // Ends the window; onClosed follows.
    virtual void Close(bool accepted) = 0;
};
