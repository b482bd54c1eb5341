#pragma once
// A borderless top-level window of the program: draws no system frame, lays out its controls
// in design pixels for its DPI, routes control messages to the controls and gives its owner
// the window-level events. Modal windows run their own loop; every loop gives the window the
// keys first (key preview) and then the dialog keyboard handling (Tab, mnemonics).
#include "ui/VelaUIControl.h"

namespace ui {

struct TWindowArgs {
    std::string title{};
    int clientWidth = 0;  // design pixels
    int clientHeight = 0;
    int minimumWidth = 0;  // design pixels; 0 = none
    int minimumHeight = 0;
    COLORREF background = RGB(255, 255, 255);
    TFontSpec font{};
    bool dropShadow = false;
    bool appWindow = true;   // has a taskbar button
    HWND owner = nullptr;
    const wchar_t* className = L"QuillsweepWindow";
};

class TWindow : public TContainer {
public:
    explicit TWindow(const TWindowArgs& args);
    ~TWindow() override;
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const { return handle_; }
    HWND ContainerHandle() const override { return handle_; }
    TWindow& OwningWindow() override { return *this; }

    int Dpi() const { return dpi_; }
    int Scale(int designPixels) const { return ScaleToDpi(designPixels, dpi_); }
    HFONT Font(const TFontSpec& wanted);
    HFONT DefaultFont() { return Font(fontSpec_); }
    const TFontSpec& DefaultFontSpec() const { return fontSpec_; }
    HWND ToolTip();

    void SetTitle(const std::string& title);
    // The hourglass over the whole window while it works.
    void SetBusyCursor(bool busy);
    // Layered alpha blending; 255 with enabled false removes the layer.
    void SetTransparency(bool enabled, uint8_t alpha);
    void Close();
    // Shows the window; the first time also raises onFirstShow.
    void Show(int command);
    // The button that Enter presses when the focus is elsewhere.
    void SetDefaultButton(TControl* button) { defaultButton_ = button; }
    HBRUSH BackgroundBrush();
    // Every window of the program that is open now, oldest first.
    static const std::vector<TWindow*>& All();
    // True when a screen point lies on a visible size grip of this window.
    bool OnSizeGrip(POINT screen) const;

    // Modal: disables the owner, runs until the window closes, returns ModalResult().
    int32_t ShowModal();
    void SetModalResult(int32_t result) { modalResult_ = result; }
    int32_t ModalResult() const { return modalResult_; }
    // The program's main loop; ends when this window is destroyed.
    void RunMessageLoop();
    // Key preview and dialog keys for a message of any loop; true when it was consumed.
    static bool PreTranslate(MSG& message);

    // Window-level events.
    std::function<bool()> onCloseQuery;
    std::function<void()> onClose;
    std::function<void()> onFirstShow;
    std::function<bool(UINT key)> onKeyDown;
    // Where a point of the window is, from its top-left corner, in a window of that size.
    std::function<int(int x, int y, int width, int height, int systemResult)> onHitTest;
    std::function<void()> onResize;
    // Messages at or above WM_APP and the program's private ones; true when handled.
    std::function<bool(UINT message, WPARAM, LPARAM)> onMessage;

    // Default window procedure body; forms may pre-empt messages through onMessage.
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyDpi(int dpi, const RECT* suggested);
    // Lays the window out again when the text scale changed; it grows or shrinks from its top-left corner.
    void FollowTextScale();
    // The DPI to lay out for: the system's times the text scale.
    int LayoutDpi() const;

    HWND handle_ = nullptr;
    HWND toolTip_ = nullptr;
    int dpi_ = 96;       // the one the window is laid out for: the system's times the text scale
    int systemDpi_ = 96;
    TFontSpec fontSpec_;
    COLORREF background_;
    HBRUSH backgroundBrush_ = nullptr;
    int minimumWidth_ = 0;
    int minimumHeight_ = 0;
    bool shown_ = false;
    bool closing_ = false;
    bool modal_ = false;
    bool quitOnDestroy_ = false;
    bool busy_ = false;
    TControl* defaultButton_ = nullptr;
    HWND lastFocus_ = nullptr; // the child that had the focus when the window was deactivated
    int32_t modalResult_ = 0;
    struct TFontEntry {
        int points;
        bool bold;
        std::wstring face;
        bool fixedPitch;
        int dpi;
        HFONT font;
    };
    std::vector<TFontEntry> fonts_;
};

// Control messages reach the window that holds the control even through panels.
LRESULT RouteControlMessage(TContainer& container, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

// True when a screen point lies in the resize band of the top-level window holding the child;
// children at the window's edges then let the window handle the hit test.
bool InResizeBand(HWND anyChild, LPARAM screenPoint);

// The DPI the system uses for a window (per monitor where the system knows it).
int WindowDpi(HWND window);

// How much bigger than normal the user wants text, in percent (100 to 225): the larger of
// Windows' text size setting (Accessibility, TextScaleFactor) and the system's message font
// against its normal 9 points. Windows lay out for their DPI times this, so captions grow with
// the room around them, and follow a change while open (WM_SETTINGCHANGE).
int TextScale();
// Reads it again; true when it changed.
bool ReadTextScale();
// The text scale as if the system said percent, for the tests; 0 asks the system again. The
// thread's windows hear of it as of a change of the system's fonts.
void ForceTextScale(int percent);
// The text scale a message font of that height (a LOGFONT's lfHeight, at dpi) and the text size
// setting (0 when there is none) ask for.
int TextScaleOf(int messageFontHeight, int dpi, int settingPercent);

} // namespace ui
