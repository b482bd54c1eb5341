#pragma once
// The main window as its controller sees it, in three parts that change for different reasons.
// The Win32 form implements it; tests use a fake.
#include "app/uControllerInterfaces.h"
#include "app/uControllerTypes.h"
#include "engine/uEngineInterfaces.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Controls of the main window that the controller names: captions, hints, enabling, commands.
enum class TMainControl : uint16_t {
    mcTitle, mcMinimize, mcMaximize, mcClose,
    mcOptions, mcStatistics, mcLegend, mcHelp, mcAbout, mcUpdates,
    mcStatus,
    mcTrayRestore, mcTrayOptions, mcTrayHelp, mcTrayAbout, mcTrayClose,
    // First page: the buttons under the targets and the options.
    mcUninstall, mcDriveInfo, mcSetSafe, mcSetDefault, mcSetAll, mcSetNone, mcContinue,
    // Second page: the buttons under the found objects.
    mcBack, mcStop, mcReport, mcCheckSafe, mcCheckAll, mcCheckNone, mcClean,
    // Beside them after a clean that moved objects to the bin, until the page goes.
    mcUndoClean,
    // The menu bar's buttons as a whole (SetEnabled only).
    mcMenuBar,
};

// The main window's two pages.
enum class TMainPage : uint8_t { mpSelection = 1, mpObjects = 2 };

struct TWindowBounds {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Virtual-key codes the controllers react to (the system's values).
namespace keys {
constexpr uint32_t kEnter = 0x0D;
constexpr uint32_t kAlt = 0x12;
constexpr uint32_t kEscape = 0x1B;
constexpr uint32_t kF1 = 0x70;
constexpr uint32_t kF2 = 0x71;
constexpr uint32_t kF3 = 0x72;
constexpr uint32_t kF6 = 0x75;
constexpr uint32_t kF8 = 0x77;
} // namespace keys

// The notification-area icon's clicks the controller tells apart.
enum class TTrayClick : uint8_t { tcLeft, tcRight };

// Window-level events; the controller connects them in WireEvents.
struct TMainViewEvents {
    std::function<void()> onFirstShow;       // the window's first showing, once
    std::function<bool()> onCloseQuery;      // may the window close now?
    std::function<void()> onClose;           // it closes: store what lasts
    std::function<bool(uint32_t key)> onKeyDown; // key preview; true when handled
    std::function<void()> onTitleMouseDown;
    std::function<void()> onTitleDoubleClick;
    std::function<void(TTrayClick click)> onTrayClick; // a mouse button went down on the tray icon
    // After PostAfterFirstShow, once the messages queued before it are handled.
    std::function<void()> onAfterFirstShow;
    // The engine's worker that ran has finished; it reaches the window's thread as a message.
    std::function<void()> onScanFinished;
    std::function<void()> onCleanFinished;
};

// Where the window is and whether it shows: placement in screen pixels, showing and hiding,
// the notification-area icon and its menu.
class IMainPlacementView {
public:
    virtual ~IMainPlacementView() = default;

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
    // Lets the system move the window with the mouse (title drag).
    virtual void BeginTitleDrag() = 0;
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
};

// What the scan-and-clean workflow shows and needs of the window.
class IMainWorkflowView {
public:
    virtual ~IMainWorkflowView() = default;

    // Page 1: clean targets and clean-up options; page 2: the found objects.
    virtual void ShowPage(TMainPage page) = 0;
    // The hourglass over the window, its pages and the objects list; false gives back the arrow.
    virtual void SetBusyCursor(bool busy) = 0;
    // The status bar's progress bar (its minimum is 0).
    virtual void SetProgressMaximum(int32_t maximum) = 0;
    virtual void SetProgressPosition(int32_t position) = 0;
    // The title text's colour, as 0x00BBGGRR.
    virtual void SetTitleColor(uint32_t color) = 0;
    // A "Computing..." popup owned by the main window, not shown yet. centreOnScreen false
    // centres it on the window; disableWindow keeps the main window disabled while it shows.
    virtual std::shared_ptr<IComputingWindow> CreateComputingWindow(bool showProgress, bool centreOnScreen,
                                                                    bool disableWindow) = 0;
    // Opens address with the shell's "open" verb in a maximised window.
    virtual void OpenAddress(const std::string& address) = 0;
    // Whether key (a virtual-key code) is held down now.
    virtual bool IsKeyDown(uint32_t key) = 0;
    // How the workers reach the window's thread (on Windows ui::TSVSynchronizer); the same one
    // for the window's lifetime. Their finished notices arrive as onScanFinished and
    // onCleanFinished.
    virtual std::shared_ptr<ISynchronizer> GetSynchronizer() = 0;
    // The window that receives the workers' finished notices.
    virtual TWindowHandle WindowHandle() = 0;
    // Queues onAfterFirstShow behind what the window has still to handle.
    virtual void PostAfterFirstShow() = 0;
};

// The window's controls and events: captions, hints, enabling, commands.
class IMainControlsView {
public:
    virtual ~IMainControlsView() = default;

    virtual TMainViewEvents& Events() = 0;
    // Connects a control's click (menu-bar and chrome buttons, tray menu items).
    virtual void OnCommand(TMainControl control, std::function<void()> handler) = 0;
    virtual void SetText(TMainControl control, const std::string& text) = 0;
    virtual void SetHint(TMainControl control, const std::string& text) = 0;
    virtual void SetEnabled(TMainControl control, bool enabled) = 0;
    virtual void SetVisible(TMainControl control, bool visible) = 0;
    // Closes the window as its close button does (onCloseQuery decides).
    virtual void RequestClose() = 0;
};

// The whole window, as the form implements it; the controller holds each part apart.
class IMainView : public IMainPlacementView, public IMainWorkflowView, public IMainControlsView {};
