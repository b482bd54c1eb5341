#pragma once
// The base of the window toolkit: a control is a real child window placed in design pixels
// (96 DPI) and anchored to its container's edges; containers lay their children out again
// whenever their size or DPI changes.
//
// One convention from these controls up to the controllers. A control carries its events as
// std::function members named on... (its creation struct too). A view a form implements for a
// controller (app/u<Name>View.h, one file per view) has the same shape: an Events() struct of
// on... members, the queries it asks while painting among them (onCellText, like the check
// list's onRowName), and an enum naming the controls the controller addresses, with OnCommand
// for their clicks (a lone button's click is an event: onSaveClicked). The controller fills them
// when it starts and empties them (Events() = {}) when it goes; the view calls a member only
// when it is set. Only the options window names its controls by strings, because its pages are
// data.
#include "ui/VelaUIAccessible.h"
#include "ui/VelaUIColours.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// Which edges of the container a control keeps its distance to.
enum TAnchor : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
constexpr uint8_t kAnchorTopLeft = akLeft | akTop;
constexpr uint8_t kAnchorAll = akLeft | akTop | akRight | akBottom;

struct TDesignRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Colours are 0x00BBGGRR; kNoColour leaves the system's colour.
constexpr COLORREF kNoColour = 0xFFFFFFFF;

struct TFontSpec {
    int points = 8;
    bool bold = false;
    const wchar_t* face = L"Tahoma";
    // Where the face is missing, the system's choice among fixed-pitch faces stands in.
    bool fixedPitch = false;
};

class TContainer;
class TWindow;

class TControl : public TAccessibleSource {
public:
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return handle_; }
    std::string Text() const;
    void SetText(const std::string& text);
    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetVisible(bool visible);
    bool Visible() const;
    void SetFocus();
    void Invalidate();
    // The tool tip shown over the control.
    void SetHint(const std::string& hint);

    const TDesignRect& DesignRect() const { return design_; }
    void SetDesignRect(const TDesignRect& rect);
    uint8_t Anchors() const { return anchors_; }

    // The colours the control is drawn in: its own, or the system's in high contrast.
    COLORREF TextColour() const { return Shown(textColour_, TColourRole::Text); }
    COLORREF BackColour() const { return Shown(backColour_, groundRole_); }
    // What the ground is in high contrast: a ground, or an edge of the window drawn as a frame.
    void SetGroundRole(TColourRole role) { groundRole_ = role; }
    void SetColours(COLORREF text, COLORREF back);
    void SetFont(const TFontSpec& font);
    // Drawn over whatever lies below (no ground of its own); see SetText.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // The brush of BackColour, or none.
    HBRUSH BackBrush();

    TWindow& Window() const { return *window_; }
    int Dpi() const;
    int Scale(int designPixels) const;

    // A form's own handling of the control's messages, ahead of the control's; true when handled
    // (the message is then answered 0).
    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> onMessage;

    // Message routing from the container; true when handled.
    virtual bool HandleCommand(WORD code) { return false; }
    virtual bool HandleNotify(NMHDR& header, LRESULT& result) { return false; }
    virtual bool HandleDrawItem(DRAWITEMSTRUCT& item) { return false; }
    // Called after DPI changes so controls can rescale what they drew themselves.
    virtual void DpiChanged() {}
    // The system's colours changed, or high contrast went on or off: drawn parts pick theirs again.
    virtual void ColoursChanged() { Invalidate(); }

    // What assistive tools read, for the controls that answer for themselves (ExposeAccessible).
    long AccessibleRole(long child) override { return 0x0A; } // ROLE_SYSTEM_CLIENT
    // The caption, or for a control without one (a glyph) its hint.
    std::string AccessibleName(long child) override;
    // A caption as it is read: without its mnemonic marks.
    static std::string AccessibleCaption(const std::string& caption);

protected:
    struct TCreation {
        const wchar_t* className{};
        DWORD style{};
        DWORD exStyle = 0;
        std::string text{};
        TDesignRect rect{};
        uint8_t anchors = kAnchorTopLeft;
    };
    TControl(TContainer& parent, const TCreation& creation);
    // Every message to the control's window, but for those the accessibility layer answers; an
    // override passes what it leaves to TControl::HandleMessage, the window class's own handling.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The control answers assistive tools itself, through the Accessible* members.
    void ExposeAccessible() { AttachAccessible(handle_, *this); }

    HWND handle_ = nullptr;

private:
    friend class TContainer;
    // The one window procedure of all controls: a subclass that reaches the object.
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    TWindow* window_ = nullptr;
    TDesignRect design_;
    uint8_t anchors_ = kAnchorTopLeft;
    COLORREF textColour_ = kNoColour;
    COLORREF backColour_ = kNoColour;
    HBRUSH backBrush_ = nullptr;
    COLORREF backBrushColour_ = kNoColour;
    TColourRole groundRole_ = TColourRole::Ground;
    bool transparent_ = false;
    std::string hint_;
    HFONT font_ = nullptr;
    TFontSpec fontSpec_;

    friend class TWindow;
    // Hands the control the font so described, at the window's current DPI.
    void SendFont();
};

// Something that holds controls: the top-level window or a panel.
class TContainer {
public:
    virtual ~TContainer() = default;
    virtual HWND ContainerHandle() const = 0;
    virtual TWindow& OwningWindow() = 0;

    // Creates a control of kind T from its creation arguments; the container owns it.
    template <class T, class Args>
    T& Add(const Args& args)
    {
        auto control = std::make_unique<T>(*this, args);
        T& result = *control;
        children_.push_back(std::move(control));
        return result;
    }
    // Places every child for the container's current client size.
    void LayoutChildren();
    // Tells every control inside, nested ones too, that the system's colours or high contrast changed.
    void ColoursChangedInside();
    TControl* FindChild(HWND handle) const;
    // The client size the children were placed for, in design pixels.
    int DesignWidth() const { return designWidth_; }
    int DesignHeight() const { return designHeight_; }
    const std::vector<std::unique_ptr<TControl>>& Children() const { return children_; }

protected:
    // The client size the children were designed for.
    int designWidth_ = 0;
    int designHeight_ = 0;

private:
    std::vector<std::unique_ptr<TControl>> children_;
};

// A window class of the program's own controls, registered on first use; returns its name. Its
// procedure is the system's default: the control's HandleMessage does the rest.
const wchar_t* RegisteredClass(const wchar_t* name);

// Device pixels for design pixels at a DPI.
inline int ScaleToDpi(int designPixels, int dpi) { return MulDiv(designPixels, dpi, 96); }

} // namespace ui
