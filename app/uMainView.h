#pragma once
// The main window as its controller sees it. The Win32 form implements it; tests use a fake.
#include "app/uControllerTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Controls of the main window that the controller names: captions, hints, enabling, commands.
enum class TMainControl : uint16_t {
    mcTitle, mcMinimize, mcMaximize, mcClose,
    mcOptions, mcStatistics, mcLegend, mcHelp, mcAbout, mcUpdates,
    mcStatus,
    mcTrayRestore, mcTrayOptions, mcTrayHelp, mcTrayAbout, mcTrayClose,
};

struct TWindowBounds {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Virtual-key codes the controllers react to (the system's values).
namespace keys {
constexpr uint32_t kAlt = 0x12;
constexpr uint32_t kEscape = 0x1B;
constexpr uint32_t kF1 = 0x70;
constexpr uint32_t kF2 = 0x71;
constexpr uint32_t kF3 = 0x72;
constexpr uint32_t kF6 = 0x75;
constexpr uint32_t kF8 = 0x77;
} // namespace keys

// Window-level events; the controller connects them in WireEvents.
struct TMainViewEvents {
    std::function<void()> onFirstShow;       // the window's first showing, once
    std::function<bool()> onCloseQuery;      // may the window close now?
    std::function<void()> onClose;           // it closes: store what lasts
    std::function<bool(uint32_t key)> onKeyDown; // key preview; true when handled
    std::function<void()> onTitleMouseDown;
    std::function<void()> onTitleDoubleClick;
    // WM_TRAYNOTIFY and others, with the window message's two parameters (the tray reports its
    // mouse message in the second).
    std::function<void(uint32_t message, uintptr_t firstParameter, intptr_t secondParameter)> onPrivateMessage;
};

class IMainView {
public:
    virtual ~IMainView() = default;

    virtual TMainViewEvents& Events() = 0;
    // Connects a control's click (menu-bar and chrome buttons, tray menu items).
    virtual void OnCommand(TMainControl control, std::function<void()> handler) = 0;
    virtual void SetText(TMainControl control, const std::string& text) = 0;
    virtual void SetHint(TMainControl control, const std::string& text) = 0;
    virtual void SetEnabled(TMainControl control, bool enabled) = 0;
    virtual void SetVisible(TMainControl control, bool visible) = 0;

    // Placement, in screen pixels.
    virtual TWindowBounds GetBounds() = 0;
    virtual void SetBounds(const TWindowBounds& bounds) = 0;
    virtual void SetSize(int32_t width, int32_t height) = 0;
    // A size in design pixels (96 DPI), scaled to the window's DPI.
    virtual void SetDesignSize(int32_t width, int32_t height) = 0;
    virtual void CentreOnScreen() = 0;
    virtual void ScreenSize(int32_t& width, int32_t& height) = 0;
    virtual void SetMaximized(bool maximized) = 0;
    virtual int32_t MonitorNumber() = 0;

    virtual bool IsShown() = 0;
    virtual void SetShown(bool shown) = 0;
    virtual void MinimizeApplication() = 0;
    virtual void RequestClose() = 0;
    // Lets the system move the window with the mouse (title drag).
    virtual void BeginTitleDrag() = 0;
    virtual void PostPrivateMessage(uint32_t message, uintptr_t firstParameter) = 0;
    // Transparency of every open window of the program.
    virtual void ApplyTransparencyToAll(bool enabled, uint8_t alpha) = 0;

    // The notification-area icon; SetTrayTip changes the icon only when the text differs.
    virtual void AddTrayIcon() = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual bool HasTrayIcon() = 0;
    virtual void SetTrayTip(const std::string& text) = 0;
    // Opens the tray menu at the cursor (after making the window the foreground window) and
    // runs the chosen item's command.
    virtual void OpenTrayMenu() = 0;

    // Clean targets from the command line.
    virtual void ClearCleanupList() = 0;
    virtual void AddCleanupTarget(const std::string& path, bool checked) = 0;
    virtual void SelectDirectory(const std::string& path) = 0;
};
