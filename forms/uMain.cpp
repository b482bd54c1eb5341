#include "forms/uMain.h"

#include "app/uObjectsPane.h"
#include "app/uOptionsPane.h"
#include "app/uTargetsPane.h"
#include "app/uWindowServices.h"
#include "forms/uMainObjectsView.h"
#include "forms/uMainOptionsView.h"
#include "forms/uMainTargetsView.h"
#include "prefs/uPreferences.h"
#include "ui/VelaSVComputingWnd.h"

#include "app/uControllerServices.h"
#include "app/uMainController.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32Text.h"
#include "support/VelaDetect.h"
#include "ui/VelaSVRuntime.h"

#include <shellapi.h>
#include <windowsx.h>

using namespace ui;

// Where a page's buttons sit along its bottom edge.
struct TPageButtonPlace {
    TMainControl control;
    int left; // from the page's left edge, or from its right edge when fromRight
    int width;
    bool fromRight;
};
constexpr int kButtonHeight = 25;
constexpr TPageButtonPlace kSelectionButtons[] = {
    {TMainControl::mcUninstall, 8, 140, false}, {TMainControl::mcDriveInfo, 156, 110, false},
    {TMainControl::mcContinue, 88, 80, true},
};
constexpr TPageButtonPlace kObjectsButtons[] = {
    {TMainControl::mcBack, 8, 80, false},        {TMainControl::mcStop, 96, 80, false},
    {TMainControl::mcReport, 184, 80, false},    {TMainControl::mcUndoClean, 272, 90, false},
    {TMainControl::mcCheckSafe, 352, 80, true},
    {TMainControl::mcCheckAll, 264, 80, true},   {TMainControl::mcCheckNone, 176, 80, true},
    {TMainControl::mcClean, 88, 80, true},
};

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

// The window's private messages; the workers' two (WM_SCANFINISHED, WM_CLEANFINISHED) are the
// engine's and follow these.
constexpr UINT WM_TRAYNOTIFY = 0x89B6;
constexpr UINT WM_AFTERSHOW = 0x89B7;
static_assert(WM_SCANFINISHED > WM_AFTERSHOW && WM_CLEANFINISHED > WM_SCANFINISHED);

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
    window_->onHitTest = [this](int x, int y, int width, int height, int system) {
        return controller_ ? controller_->ResizeHitTest(x, y, width, height, system) : system;
    };
    window_->onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return PrivateMessage(message, wParam, lParam);
    };
    chrome_->Title().onMouseDown = [this] { if (events_.onTitleMouseDown) events_.onTitleMouseDown(); };
    chrome_->Title().onDoubleClick = [this] { if (events_.onTitleDoubleClick) events_.onTitleDoubleClick(); };

    synchronizer_ = std::make_shared<TSVSynchronizer>();
    controller_ = TControllerServices::CreateMainController(*this, *this, messageBoxes_,
                                                            platform::CommandLineArguments(0, nullptr));
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

    TPanel& menuBar = window_->Add<TPanel>(TPanelArgs{.rect = {0, kMenuBarTop, kDesignWidth, kMenuBarHeight},
                                                      .anchors = akLeft | akTop | akRight,
                                                      .backColour = chrome::kMenuBar});
    for (const auto& place : kMenuButtons)
        menuButtons_[place.control] =
            &menuBar.Add<TFlatButton>(TFlatButtonArgs{.rect = {place.left, 0, place.width, kMenuBarHeight},
                                                      .backColour = chrome::kMenuBar,
                                                      .hotColour = RGB(0x6B, 0x6B, 0x6B),
                                                      .tabStop = true});

    const int pageWidth = kDesignWidth - 2 * chrome::kFrameWidth;
    const int pageHeight = kDesignHeight - kContentTop - chrome::kStatusHeight;
    pages_ = &window_->Add<TPageControl>(
        TPageControlArgs{.rect = {chrome::kFrameWidth, kContentTop, pageWidth, pageHeight}});
    TPanel& selection = pages_->AddPage("Selection");
    TPanel& objects = pages_->AddPage("Objects");

    // Both pages: the working area above a row of buttons 8 pixels from the bottom.
    const int areaHeight = pageHeight - 8 - kButtonHeight - 16;
    const int targetsWidth = 330;
    targetsView_ = std::make_unique<TMainTargetsView>(selection, TDesignRect{8, 8, targetsWidth, areaHeight},
                                                      static_cast<uint8_t>(akLeft | akTop | akBottom),
                                                      [this](const std::string& text) { chrome_->Status()->SetTextThrottled(text); });
    optionsView_ = std::make_unique<TMainOptionsView>(
        selection, TDesignRect{16 + targetsWidth, 8, pageWidth - 24 - targetsWidth, areaHeight}, kAnchorAll);
    objectsView_ = std::make_unique<TMainObjectsView>(objects, TDesignRect{8, 8, pageWidth - 16, areaHeight}, kAnchorAll);
    CreatePageButtons(selection, kSelectionButtons, std::size(kSelectionButtons));
    CreatePageButtons(objects, kObjectsButtons, std::size(kObjectsButtons));
    // Created at their scaled places; one layout puts the edges kept to the right and bottom
    // where every later layout will.
    window_->LayoutChildren();
}

void TfrmMain::CreatePageButtons(TPanel& page, const TPageButtonPlace* places, size_t count)
{
    const int top = page.DesignHeight() - 8 - kButtonHeight;
    for (size_t i = 0; i < count; ++i) {
        const TPageButtonPlace& place = places[i];
        const int left = place.fromRight ? page.DesignWidth() - place.left : place.left;
        TButton& button = page.Add<TButton>(
            TButtonArgs{.rect = {left, top, place.width, kButtonHeight},
                        .anchors = static_cast<uint8_t>(akBottom | (place.fromRight ? akRight : akLeft))});
        pageButtons_[place.control] = &button;
    }
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
        if (const auto button = pageButtons_.find(control); button != pageButtons_.end())
            return button->second;
        const auto found = menuButtons_.find(control);
        return found == menuButtons_.end() ? nullptr : found->second;
    }
    }
}

void TfrmMain::OnCommand(TMainControl control, std::function<void()> handler)
{
    if (auto* button = dynamic_cast<TFlatButton*>(ControlOf(control)))
        button->onClick = handler;
    else if (auto* pushButton = dynamic_cast<TButton*>(ControlOf(control)))
        pushButton->onClick = handler;
    commands_[control] = std::move(handler);
}

void TfrmMain::RunCommand(TMainControl control)
{
    const auto command = commands_.find(control);
    if (command != commands_.end() && command->second)
        command->second();
}

void TfrmMain::SetText(TMainControl control, const std::string& text)
{
    if (control == TMainControl::mcTitle) {
        window_->SetTitle(text);
        chrome_->Title().SetText(text);
    } else if (control == TMainControl::mcStatus) {
        chrome_->Status()->SetTextThrottled(text);
    } else if (TControl* target = ControlOf(control)) {
        target->SetText(text);
    } else {
        texts_[control] = text;
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
    if (control == TMainControl::mcMenuBar) {
        for (const auto& button : menuButtons_)
            button.second->SetEnabled(enabled);
    } else if (TControl* target = ControlOf(control)) {
        target->SetEnabled(enabled);
    }
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

void TfrmMain::PostAfterFirstShow() { PostMessageW(window_->Handle(), WM_AFTERSHOW, 0, 0); }

bool TfrmMain::PrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < WM_TRAYNOTIFY || message > WM_CLEANFINISHED)
        return false;
    const auto fire = [](const std::function<void()>& event) {
        if (event)
            event();
    };
    switch (message) {
    case WM_TRAYNOTIFY:
        DefWindowProcW(window_->Handle(), message, wParam, lParam);
        // The icon reports the mouse message in the second parameter.
        if ((lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN) && events_.onTrayClick)
            events_.onTrayClick(lParam == WM_LBUTTONDOWN ? TTrayClick::tcLeft : TTrayClick::tcRight);
        break;
    case WM_AFTERSHOW:
        // Only the notice PostAfterFirstShow queues, whatever else arrives with the number.
        if (wParam == 0)
            fire(events_.onAfterFirstShow);
        break;
    case WM_SCANFINISHED:
        fire(events_.onScanFinished);
        break;
    case WM_CLEANFINISHED:
        fire(events_.onCleanFinished);
        break;
    default:
        break;
    }
    return true;
}

void TfrmMain::ApplyTransparencyToAll(bool enabled, uint8_t alpha) { TTransparencySupport::Apply(enabled, alpha); }

void TfrmMain::AddTrayIcon()
{
    if (!tray_.Valid())
        TIconRoutines::AddTrayIcon(tray_, window_->Handle(), WM_TRAYNOTIFY);
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
            AppendMenuW(menu, MF_STRING, static_cast<UINT>(item) + 1, platform::Widen(texts_[item]).c_str());
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
    RunCommand(static_cast<TMainControl>(chosen - 1));
}

void TfrmMain::ShowPage(TMainPage page) { pages_->SetActivePage(page == TMainPage::mpSelection ? 0 : 1); }
void TfrmMain::SetBusyCursor(bool busy) { window_->SetBusyCursor(busy); }
void TfrmMain::SetProgressMaximum(int32_t maximum) { chrome_->Progress()->SetMaximum(maximum); }
void TfrmMain::SetProgressPosition(int32_t position) { chrome_->Progress()->SetProgress(position); }

void TfrmMain::SetTitleColor(uint32_t color)
{
    chrome_->Title().SetColours(color, chrome_->Title().BackColour());
}

std::shared_ptr<IComputingWindow> TfrmMain::CreateComputingWindow(bool showProgress, bool centreOnScreen,
                                                                  bool disableWindow)
{
    return TComputingWindowSupport::Create(window_->Handle(), showProgress, centreOnScreen, disableWindow);
}

void TfrmMain::OpenAddress(const std::string& address)
{
    ShellExecuteW(window_->Handle(), L"open", platform::Widen(address).c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

bool TfrmMain::IsKeyDown(uint32_t key) { return (GetKeyState(static_cast<int>(key)) & 0x8000) != 0; }
TWindowHandle TfrmMain::WindowHandle() { return reinterpret_cast<TWindowHandle>(window_->Handle()); }

std::shared_ptr<ITargetsPane> TfrmMain::CreateTargetsPane()
{
    auto pane = std::make_shared<TTargetsPane>(*targetsView_, messageBoxes_, Preferences());
    pane->SetDriveInformationHandler([this] { RunCommand(TMainControl::mcDriveInfo); });
    return pane;
}

std::shared_ptr<IOptionsPane> TfrmMain::CreateOptionsPane(std::shared_ptr<ICleanupOptionsList> options)
{
    return std::make_shared<TOptionsPane>(*optionsView_, messageBoxes_, Preferences(), std::move(options));
}

std::shared_ptr<IObjectsPane> TfrmMain::CreateObjectsPane(std::shared_ptr<ICleanupList> objects,
                                                          std::shared_ptr<IBroadcastParameters> broadcast,
                                                          TObjectsPaneEvents events)
{
    return std::make_shared<TObjectsPane>(*objectsView_, messageBoxes_, WindowServices(), Preferences(),
                                          std::move(objects), std::move(broadcast), std::move(events));
}
