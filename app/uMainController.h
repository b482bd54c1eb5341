#pragma once
// The main window's controller. For now the window itself: placement, start-up notices, the
// tray icon, closing and the menu bar; the scan and clean workflow grows in beside it.
#include "app/uCommandLine.h"
#include "app/uControllerInterfaces.h"
#include "app/uMainView.h"
#include "app/uWindowController.h"
#include "prefs/VelaPreferences.h"
#include "prefs/uPreferences.h"

#include <functional>
#include <string>
#include <vector>

namespace main_texts {
extern const char* const kTitle;
extern const char* const kUnsupportedSystem; // %s = system name
extern const char* const kSystemName;        // %s = version text
extern const char* const kWelcome;
extern const char* const kBusyClose;
extern const char* const kConfirmClose;
} // namespace main_texts

// What the controller asks of the system; tests replace the answers.
struct TSystemQueries {
    std::function<int()> windowsVersion; // TDetect's numbering, 0 when unknown
    std::function<std::string()> windowsVersionText;
    TCommandLine::TDirectoryExists directoryExists;

    static TSystemQueries Current();
};

class TMainController : public TWindowController, public IMainController {
public:
    static constexpr uint8_t kTransparencyAlpha = 245;

    // arguments: the command line without the program name.
    TMainController(IMainView& view, IMessageBoxService& messageBoxes, IWindowServices& windowServices,
                    TPreferenceValues& preferences = Preferences(), std::vector<std::string> arguments = {},
                    TSystemQueries system = TSystemQueries::Current());
    TMainController(const TMainController&) = delete;
    TMainController& operator=(const TMainController&) = delete;

    // The window's size on a screen; false when the screen fits none of the sizes and the
    // designed size stays.
    static bool DefaultSize(int32_t screenWidth, int32_t screenHeight, int32_t& width, int32_t& height);

    bool Maximized() const { return maximized_; }
    bool SaveTargets() const { return saveTargets_; }
    // False while a scan or a clean runs.
    bool Idle() const { return idle_; }
    void SetIdle(bool idle) { idle_ = idle; }

    void LoadStrings() override;
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;

    void TrayIconNotify(uint32_t mouseMessage) override;
    void AfterFirstShow(uintptr_t firstParameter) override;
    void WorkerFinished(uint32_t message) override;
    void UpdateTrayTip() override;
    void SetFileSystemIcons(bool enabled) override;
    void PreviewQuotaMode(bool largestCapacity) override;
    void ApplyFeatureVisibility() override;
    void PreviewMinimizeToTray(bool enabled) override;
    void ApplyCustomMasks() override;
    void RepaintOptions() override;

protected:
    void WireEvents() override;
    void LoadImages() override;

private:
    // Start-up
    void RestorePlacement();
    void FirstShow();
    void ShowStartupNotices();
    void ApplyCommandLine();

    // Closing
    bool CloseQuery();
    void Close();

    bool KeyDown(uint32_t key);
    void PrivateMessage(uint32_t message, uintptr_t firstParameter, intptr_t secondParameter);

    // Chrome and tray
    void ToggleMaximized();
    void MinimizeClicked();
    void ToggleShown();
    void HideToTray();
    void EnsureTrayIcon();

    // Menu bar
    void ShowStatistics();
    void ShowHelp();
    void CheckForUpdates();

    TMsgBoxResult Notify(TMsgBoxKind kind, const std::string& text, uint32_t buttons);

    IMainView& view_;
    IMessageBoxService& messageBoxes_;
    IWindowServices& windowServices_;
    TPreferenceValues& prefs_;
    TSystemQueries system_;
    TCommandLine commandLine_;

    bool maximized_ = false;
    bool saveTargets_ = true;
    bool idle_ = true;
    bool firstShown_ = false;
    // The close was asked for with Escape, which always asks back.
    bool escapeClose_ = false;
};
