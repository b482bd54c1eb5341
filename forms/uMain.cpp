#include "forms/uMain.h"

#include "app/uControllerServices.h"
#include "app/uMainController.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32Text.h"
#include "support/VelaDetect.h"
#include "ui/VelaSVRuntime.h"

#include <windowsx.h>

using namespace ui;

namespace {
constexpr int kDesignWidth = 842;
constexpr int kDesignHeight = 550;
constexpr int kMenuBarTop = chrome::kTitleHeight;
constexpr int kMenuBarHeight = 18;
constexpr int kContentTop = kMenuBarTop + kMenuBarHeight;

struct TMenuButtonPlace {
    TMainControl control;
    int left;
    int width;
};
constexpr TMenuButtonPlace kMenuButtons[] = {
    {TMainControl::mcOptions, 8, 57}, {TMainControl::mcStatistics, 66, 62}, {TMainControl::mcLegend, 129, 55},
    {TMainControl::mcHelp, 185, 48},  {TMainControl::mcAbout, 234, 48},     {TMainControl::mcUpdates, 283, 62},
};

// Tray menu items in their order; 0 marks a separator.
constexpr TMainControl kTrayItems[] = {TMainControl::mcTrayRestore, TMainControl(0xFFFF), TMainControl::mcTrayOptions,
                                       TMainControl::mcTrayHelp,    TMainControl::mcTrayAbout,  TMainControl(0xFFFF),
                                       TMainControl::mcTrayClose};

} // namespace

TfrmMain::TfrmMain()
{
    TWindowArgs args;
    args.title = "Quillsweep";
    args.clientWidth = kDesignWidth;
    args.clientHeight = kDesignHeight;
    args.minimumWidth = 796;
    args.minimumHeight = 577;
    args.dropShadow = TDetect::GetWindowsVersion() > 7;
    args.className = args.dropShadow ? L"TfrmMainShadow" : L"TfrmMain";
    window_ = std::make_unique<TWindow>(args);
    CreateControls();

    window_->onFirstShow = [this] { if (events_.onFirstShow) events_.onFirstShow(); };
    window_->onCloseQuery = [this] { return !events_.onCloseQuery || events_.onCloseQuery(); };
    window_->onClose = [this] {
        if (events_.onClose)
            events_.onClose();
    };
    window_->onKeyDown = [this](UINT key) { return events_.onKeyDown && events_.onKeyDown(key); };
    window_->onHitTest = [this](int x, int y, int system) {
        RECT bounds{};
        GetWindowRect(window_->Handle(), &bounds);
        return controller_ ? controller_->ResizeHitTest(x, y, bounds.right - bounds.left, bounds.bottom - bounds.top, system)
                           : system;
    };
    window_->onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
        if (message < WM_TRAYNOTIFY || message > WM_CLEANFINISHED)
            return false;
        if (message == WM_TRAYNOTIFY)
            DefWindowProcW(window_->Handle(), message, wParam, lParam);
        if (events_.onPrivateMessage)
            events_.onPrivateMessage(message, wParam, lParam);
        return true;
    };
    chrome_->Title().onMouseDown = [this] { if (events_.onTitleMouseDown) events_.onTitleMouseDown(); };
    chrome_->Title().onDoubleClick = [this] { if (events_.onTitleDoubleClick) events_.onTitleDoubleClick(); };

    controller_ = TControllerServices::CreateMainController(*this, messageBoxes_, platform::CommandLineArguments(0, nullptr));
}

TfrmMain::~TfrmMain()
{
    if (tray_.Valid())
        TIconRoutines::RemoveTrayIcon(tray_);
    controller_.reset();
}

void TfrmMain::CreateControls()
{
    TChromeArgs chromeArgs;
    chromeArgs.minimizeButton = true;
    chromeArgs.maximizeButton = true;
    chromeArgs.statusBar = true;
    chromeArgs.contentTop = kContentTop;
    chrome_ = std::make_unique<TWindowChrome>(*window_, chromeArgs);

    TPanel& menuBar = window_->Add<TPanel>(
        TPanelArgs{{0, kMenuBarTop, kDesignWidth, kMenuBarHeight}, akLeft | akTop | akRight, chrome::kMenuBar, kNoColour, ""});
    for (const auto& place : kMenuButtons)
        menuButtons_[place.control] = &menuBar.Add<TFlatButton>(TFlatButtonArgs{
            "", {place.left, 0, place.width, kMenuBarHeight}, kAnchorTopLeft, RGB(255, 255, 255), chrome::kMenuBar,
            RGB(0x6B, 0x6B, 0x6B), "", true});

    const int pageHeight = kDesignHeight - kContentTop - chrome::kStatusHeight;
    pages_ = &window_->Add<TPageControl>(
        TPageControlArgs{{chrome::kFrameWidth, kContentTop, kDesignWidth - 2 * chrome::kFrameWidth, pageHeight}});
    TPanel& selection = pages_->AddPage("Selection");
    pages_->AddPage("Objects");

    const int paneWidth = (kDesignWidth - 2 * chrome::kFrameWidth - 24) / 2;
    directoriesPane_ = std::make_unique<TPane>(
        selection, TPaneArgs{" Select Directory or Entire Drive", {8, 8, paneWidth, pageHeight - 16}, akLeft | akTop | akBottom});
    directoryTree_ = &directoriesPane_->Frame().Add<TTreeView>(
        TTreeViewArgs{{1, TPane::kHeaderHeight, paneWidth - 2, pageHeight - 16 - TPane::kHeaderHeight - 1}, kAnchorAll});
    cleanupPane_ = std::make_unique<TPane>(
        selection, TPaneArgs{" Clean-up List", {16 + paneWidth, 8, paneWidth, pageHeight - 16}, kAnchorAll});
    cleanupList_ = &cleanupPane_->Frame().Add<TListView>(TListViewArgs{
        {1, TPane::kHeaderHeight, paneWidth - 2, pageHeight - 16 - TPane::kHeaderHeight - 1}, kAnchorAll, true, true, false});
    cleanupList_->AddColumn("", paneWidth - 24);
}

void TfrmMain::Run()
{
    window_->Show(SW_SHOW);
    window_->RunMessageLoop();
}

TControl* TfrmMain::ControlOf(TMainControl control)
{
    switch (control) {
    case TMainControl::mcMinimize:
        return chrome_->MinimizeButton();
    case TMainControl::mcMaximize:
        return chrome_->MaximizeButton();
    case TMainControl::mcClose:
        return &chrome_->CloseButton();
    case TMainControl::mcStatus:
        return chrome_->Status();
    default: {
        const auto found = menuButtons_.find(control);
        return found == menuButtons_.end() ? nullptr : found->second;
    }
    }
}

void TfrmMain::OnCommand(TMainControl control, std::function<void()> handler)
{
    if (auto* button = dynamic_cast<TFlatButton*>(ControlOf(control)))
        button->onClick = handler;
    else
        trayCommands_[control] = std::move(handler);
}

void TfrmMain::SetText(TMainControl control, const std::string& text)
{
    if (control == TMainControl::mcTitle) {
        window_->SetTitle(text);
        chrome_->Title().SetText(text);
    } else if (TControl* target = ControlOf(control)) {
        target->SetText(text);
    } else {
        trayTexts_[control] = text;
    }
}

void TfrmMain::SetHint(TMainControl control, const std::string& text)
{
    if (TControl* target = ControlOf(control)) {
        target->SetHint(text);
        // A glyph button says what it does through its window text.
        if (dynamic_cast<TFlatButton*>(target))
            target->SetText(text);
    }
}

void TfrmMain::SetEnabled(TMainControl control, bool enabled)
{
    if (TControl* target = ControlOf(control))
        target->SetEnabled(enabled);
}

void TfrmMain::SetVisible(TMainControl control, bool visible)
{
    if (TControl* target = ControlOf(control))
        target->SetVisible(visible);
}

TWindowBounds TfrmMain::GetBounds()
{
    RECT bounds{};
    GetWindowRect(window_->Handle(), &bounds);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    // Minimised, the window's own rectangle is off screen: the place it returns to counts.
    if (IsIconic(window_->Handle()) && GetWindowPlacement(window_->Handle(), &placement))
        bounds = placement.rcNormalPosition;
    return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void TfrmMain::SetBounds(const TWindowBounds& bounds)
{
    // A place saved on a monitor that is gone would leave the window out of reach.
    RECT wanted{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
    if (!MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL)) {
        SetSize(bounds.width, bounds.height);
        CentreOnScreen();
        return;
    }
    SetWindowPos(window_->Handle(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMain::SetSize(int32_t width, int32_t height)
{
    SetWindowPos(window_->Handle(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TfrmMain::SetDesignSize(int32_t width, int32_t height) { SetSize(window_->Scale(width), window_->Scale(height)); }

void TfrmMain::CentreOnScreen()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_->Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const TWindowBounds bounds = GetBounds();
    const RECT& area = monitor.rcWork;
    SetWindowPos(window_->Handle(), nullptr, area.left + (area.right - area.left - bounds.width) / 2,
                 area.top + (area.bottom - area.top - bounds.height) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmMain::ScreenSize(int32_t& width, int32_t& height)
{
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
}

void TfrmMain::SetMaximized(bool maximized)
{
    // Restoring a window that is not maximised would put it back where it was created.
    if ((IsZoomed(window_->Handle()) != FALSE) != maximized)
        ShowWindow(window_->Handle(), maximized ? SW_MAXIMIZE : SW_RESTORE);
}

int32_t TfrmMain::MonitorNumber() { return TSVRuntime::MonitorOf(window_->Handle()); }

bool TfrmMain::IsShown() { return IsWindowVisible(window_->Handle()) != FALSE; }

void TfrmMain::SetShown(bool shown)
{
    ShowWindow(window_->Handle(), shown ? SW_SHOW : SW_HIDE);
    if (shown)
        SetForegroundWindow(window_->Handle());
}

void TfrmMain::MinimizeApplication() { ShowWindow(window_->Handle(), SW_MINIMIZE); }
void TfrmMain::RequestClose() { window_->Close(); }

void TfrmMain::BeginTitleDrag()
{
    ReleaseCapture();
    SendMessageW(window_->Handle(), WM_SYSCOMMAND, 0xF012, 0);
}

void TfrmMain::PostPrivateMessage(uint32_t message, uintptr_t firstParameter)
{
    PostMessageW(window_->Handle(), message, firstParameter, 0);
}

void TfrmMain::ApplyTransparencyToAll(bool enabled, uint8_t alpha) { TTransparencySupport::Apply(enabled, alpha); }

void TfrmMain::AddTrayIcon()
{
    if (!tray_.Valid())
        TIconRoutines::AddTrayIcon(tray_, window_->Handle());
}

void TfrmMain::RemoveTrayIcon()
{
    if (tray_.Valid())
        TIconRoutines::RemoveTrayIcon(tray_);
}

bool TfrmMain::HasTrayIcon() { return tray_.Valid(); }
void TfrmMain::SetTrayTip(const std::string& text) { TIconRoutines::SetTrayTip(tray_, text); }

void TfrmMain::OpenTrayMenu()
{
    HMENU menu = CreatePopupMenu();
    for (TMainControl item : kTrayItems) {
        if (item == TMainControl(0xFFFF))
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, static_cast<UINT>(item) + 1, platform::Widen(trayTexts_[item]).c_str());
    }
    SetMenuDefaultItem(menu, static_cast<UINT>(TMainControl::mcTrayRestore) + 1, FALSE);
    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(window_->Handle());
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, cursor.x, cursor.y, 0,
                                       window_->Handle(), nullptr);
    // Lets the menu close when the user clicks elsewhere.
    PostMessageW(window_->Handle(), WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == 0)
        return;
    const auto command = trayCommands_.find(static_cast<TMainControl>(chosen - 1));
    if (command != trayCommands_.end() && command->second)
        command->second();
}

void TfrmMain::ClearCleanupList() { cleanupList_->Clear(); }

void TfrmMain::AddCleanupTarget(const std::string& path, bool checked)
{
    const int item = cleanupList_->AddItem(path);
    cleanupList_->SetChecked(item, checked);
}

void TfrmMain::SelectDirectory(const std::string& path)
{
    HTREEITEM item = directoryTree_->AddItem(nullptr, path, false);
    TreeView_SelectItem(directoryTree_->Handle(), item);
}
