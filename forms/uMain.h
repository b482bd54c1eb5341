#pragma once
// The main window: its controls and their placement only; TMainController decides everything.
#include "app/uMainView.h"
#include "ui/VelaImageRoutines.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaSVWindowChrome.h"

#include <map>
#include <memory>

class TMainController;

class TfrmMain : public IMainView {
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
    void PostPrivateMessage(uint32_t message, uintptr_t firstParameter) override;
    void ApplyTransparencyToAll(bool enabled, uint8_t alpha) override;

    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    bool HasTrayIcon() override;
    void SetTrayTip(const std::string& text) override;
    void OpenTrayMenu() override;

    void ClearCleanupList() override;
    void AddCleanupTarget(const std::string& path, bool checked) override;
    void SelectDirectory(const std::string& path) override;

private:
    void CreateControls();
    ui::TControl* ControlOf(TMainControl control);

    std::unique_ptr<ui::TWindow> window_;
    std::unique_ptr<ui::TWindowChrome> chrome_;
    std::map<TMainControl, ui::TFlatButton*> menuButtons_;
    std::unique_ptr<ui::TPane> directoriesPane_;
    std::unique_ptr<ui::TPane> cleanupPane_;
    ui::TPageControl* pages_ = nullptr;
    ui::TTreeView* directoryTree_ = nullptr;
    ui::TListView* cleanupList_ = nullptr;
    TMainViewEvents events_;
    std::map<TMainControl, std::string> trayTexts_;
    std::map<TMainControl, std::function<void()>> trayCommands_;
    TTrayIconRecord tray_;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<TMainController> controller_;
};
