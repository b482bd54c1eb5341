#include "forms/uDialogWindow.h"

#include "app/uProgramHelp.h"
#include "app/uWindowController.h"

namespace forms {

using namespace ui;

TDialogWindow::TDialogWindow(const TDialogWindowArgs& args) : resizable_(args.minimumWidth > 0)
{
    HWND owner = args.owner ? args.owner : GetActiveWindow();
    TWindowArgs windowArgs;
    windowArgs.title = args.title;
    windowArgs.clientWidth = args.clientWidth;
    windowArgs.clientHeight = args.clientHeight;
    windowArgs.minimumWidth = args.minimumWidth;
    windowArgs.minimumHeight = args.minimumHeight;
    windowArgs.owner = owner;
    windowArgs.appWindow = false;
    window_ = std::make_unique<TWindow>(windowArgs);

    TChromeArgs chromeArgs;
    chromeArgs.maximizeButton = args.maximizeButton;
    chrome_ = std::make_unique<TWindowChrome>(*window_, chromeArgs);
    SetTitle(args.title);
    chrome_->CloseButton().SetText("Close");
    chrome_->CloseButton().SetHint("Close");
    chrome_->CloseButton().onClick = [this] { CloseWith(kResultCancel); };
    if (TFlatButton* maximize = chrome_->MaximizeButton()) {
        maximize->SetText("Maximize");
        maximize->SetHint("Maximize");
        maximize->onClick = [this] { ToggleMaximized(); };
    }
    chrome_->Title().onMouseDown = [this] {
        ReleaseCapture();
        SendMessageW(window_->Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    };
    chrome_->Title().onDoubleClick = [this] {
        if (chrome_->MaximizeButton())
            ToggleMaximized();
    };
    window_->onHitTest = [this](int x, int y, int width, int height, int system) {
        return resizable_ ? TWindowController::ResizeBand(x, y, width, height, system) : system;
    };
    window_->onKeyDown = [this](UINT key) {
        if (onKeyDown && onKeyDown(key))
            return true;
        if (key == VK_ESCAPE) {
            CloseWith(kResultCancel);
            return true;
        }
        if (key == VK_F1) {
            if (onHelp)
                onHelp();
            else
                ShowHelpContents();
            return true;
        }
        return false;
    };
    CentreOnOwner(owner);
}

TDialogWindow::~TDialogWindow() = default;

void TDialogWindow::SetTitle(const std::string& text)
{
    chrome_->Title().SetText(text);
    window_->SetTitle(text);
}

namespace {
constexpr int kToolButtonHeight = 26;
constexpr COLORREF kToolbarGround = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kToolbarHot = RGB(0xD8, 0xE4, 0xF2);
} // namespace

TPanel& TDialogWindow::AddToolbar(int designWidth)
{
    return window_->Add<TPanel>(TPanelArgs{
        .rect = {chrome::kFrameWidth, chrome::kTitleHeight, designWidth - 2 * chrome::kFrameWidth, kToolbarHeight},
        .anchors = akLeft | akTop | akRight,
        .backColour = kToolbarGround,
        .name = "Toolbar"});
}

TFlatButton& TDialogWindow::AddToolButton(TPanel& toolbar, int left, int width)
{
    TFlatButtonArgs args;
    args.rect = {left, (kToolbarHeight - kToolButtonHeight) / 2, width, kToolButtonHeight};
    args.textColour = RGB(0, 0, 0);
    args.backColour = kToolbarGround;
    args.hotColour = kToolbarHot;
    args.tabStop = true;
    args.captionBeside = true;
    return toolbar.Add<TFlatButton>(args);
}

void TDialogWindow::ToggleMaximized()
{
    ShowWindow(window_->Handle(), IsZoomed(window_->Handle()) ? SW_RESTORE : SW_MAXIMIZE);
}

void TDialogWindow::CloseWith(int32_t result)
{
    window_->SetModalResult(result);
    window_->Close();
}

void TDialogWindow::SetTransparency(bool enabled, uint8_t alpha) { window_->SetTransparency(enabled, alpha); }

int32_t TDialogWindow::ShowModal() { return window_->ShowModal(); }

void TDialogWindow::CentreOnOwner(HWND owner)
{
    RECT area{};
    if (!owner || !GetWindowRect(owner, &area))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT own{};
    GetWindowRect(window_->Handle(), &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    SetWindowPos(window_->Handle(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace forms
