#pragma once
// The main window: its controls and their placement only; TMainController decides everything.
#include "app/uMainPanes.h"
#include "app/uMainView.h"
#include "ui/VelaImageRoutines.h"
#include "ui/VelaSVSynchronizer.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaSVWindowChrome.h"

#include <map>
#include <memory>

class TMainController;
class TMainTargetsView;
class TMainOptionsView;
class TMainObjectsView;
struct TPageButtonPlace;

class TfrmMain : public IMainView, public IMainPanesFactory {
public:
    TfrmMain();
    ~TfrmMain() override;

    ui::TWindow& Window() { return *window_; }
    // Runs the program's message loop until the main window is gone.
    void Run();

    TMainViewEvents& Events() override { return events_; }
    void OnCommand(TMainControl control, std::function<void()> handler) override;
    void SetText(TMainControl control, const std::string& text) override;
    void SetHint(TMainControl control, const std::string& text) override;
    void SetEnabled(TMainControl control, bool enabled) override;
    void SetVisible(TMainControl control, bool visible) override;

    TWindowBounds GetBounds() override;
    void SetBounds(const TWindowBounds& bounds) override;
    void SetSize(int32_t width, int32_t height) override;
    void SetDesignSize(int32_t width, int32_t height) override;
    void CentreOnScreen() override;
    void ScreenSize(int32_t& width, int32_t& height) override;
    void SetMaximized(bool maximized) override;
    int32_t MonitorNumber() override;

    bool IsShown() override;
    void SetShown(bool shown) override;
    void MinimizeApplication() override;
    void RequestClose() override;
    void BeginTitleDrag() override;
    void ApplyTransparencyToAll(bool enabled, uint8_t alpha) override;

    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    bool HasTrayIcon() override;
    void SetTrayTip(const std::string& text) override;
    void OpenTrayMenu() override;

    void ShowPage(TMainPage page) override;
    void SetBusyCursor(bool busy) override;
    void SetProgressMaximum(int32_t maximum) override;
    void SetProgressPosition(int32_t position) override;
    void SetTitleColor(uint32_t color) override;
    std::shared_ptr<IComputingWindow> CreateComputingWindow(bool showProgress, bool centreOnScreen,
                                                            bool disableWindow) override;
    void OpenAddress(const std::string& address) override;
    bool IsKeyDown(uint32_t key) override;
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer_; }
    TWindowHandle WindowHandle() override;
    void PostAfterFirstShow() override;

    std::shared_ptr<ITargetsPane> CreateTargetsPane() override;
    std::shared_ptr<IOptionsPane> CreateOptionsPane(std::shared_ptr<ICleanupOptionsList> options) override;
    std::shared_ptr<IObjectsPane> CreateObjectsPane(std::shared_ptr<ICleanupList> objects,
                                                    std::shared_ptr<IBroadcastParameters> broadcast,
                                                    TObjectsPaneEvents events) override;

private:
    void CreateControls();
    void CreatePageButtons(ui::TPanel& page, const TPageButtonPlace* places, size_t count);
    ui::TControl* ControlOf(TMainControl control);
    void RunCommand(TMainControl control);
    // The window's private messages and the workers' finished notices, as the view's events.
    bool PrivateMessage(UINT message, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<ui::TWindow> window_;
    std::unique_ptr<ui::TWindowChrome> chrome_;
    std::map<TMainControl, ui::TFlatButton*> menuButtons_;
    std::map<TMainControl, ui::TButton*> pageButtons_;
    ui::TPageControl* pages_ = nullptr;
    std::unique_ptr<TMainTargetsView> targetsView_;
    std::unique_ptr<TMainOptionsView> optionsView_;
    std::unique_ptr<TMainObjectsView> objectsView_;
    TMainViewEvents events_;
    // Items without a control of their own here (tray menu, presets the options pane shows).
    std::map<TMainControl, std::string> texts_;
    std::map<TMainControl, std::function<void()>> commands_;
    std::shared_ptr<TSVSynchronizer> synchronizer_;
    TTrayIconRecord tray_;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<TMainController> controller_;
};
