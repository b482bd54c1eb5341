#include "ui/VelaSVComputingWnd.h"

#include "ui/VelaSVRuntime.h"
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIControls.h"

#include <cstdlib>

namespace ui {

namespace {
constexpr int kWidth = 120;
constexpr int kHeight = 40;
constexpr COLORREF kGround = RGB(255, 255, 255);
constexpr COLORREF kFrame = chrome::kBlack; // the frame of every window of the program
const char kCaption[] = "      Computing..."; // the spaces keep the text clear of the hourglass

// The owner's font, so the popup reads like the window it speaks for; face holds the name.
TFontSpec OwnerFont(HWND owner, std::wstring& face)
{
    TFontSpec result;
    if (!owner)
        return result;
    for (TWindow* window : TWindow::All())
        if (window->Handle() == owner) {
            result = window->DefaultFontSpec();
            face = result.face;
            result.face = face.c_str();
            return result;
        }
    LOGFONTW logFont{};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageW(owner, WM_GETFONT, 0, 0));
    if (!handle || !GetObjectW(handle, sizeof logFont, &logFont))
        return result;
    face = logFont.lfFaceName;
    result.face = face.c_str();
    result.points = MulDiv(std::abs(logFont.lfHeight), 72, WindowDpi(owner));
    result.bold = logFont.lfWeight >= FW_BOLD;
    return result;
}

TWindowArgs PopupArgs(HWND owner, const TFontSpec& font)
{
    TWindowArgs args;
    args.title = "Computing...";
    args.clientWidth = kWidth;
    args.clientHeight = kHeight;
    args.background = kGround;
    args.font = font;
    args.appWindow = false;
    args.owner = owner;
    args.className = L"frmComputing";
    return args;
}

} // namespace

TComputingWindow::TComputingWindow(HWND owner, bool showProgress, bool centreOnScreen, bool disableOwner)
    : owner_(owner), centreOnScreen_(centreOnScreen), disableOwner_(disableOwner)
{
    window_ = std::make_unique<TWindow>(PopupArgs(owner, OwnerFont(owner, fontFace_)));
    HWND handle = window_->Handle();
    // Never in the taskbar or Alt+Tab, even without an owner.
    SetWindowLongW(handle, GWL_EXSTYLE, GetWindowLongW(handle, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    window_->onMessage = [](UINT message, WPARAM, LPARAM) { return message == WM_MOUSEACTIVATE; };

    TPanel& panel = window_->Add<TPanel>(TPanelArgs{.rect = {0, 0, kWidth, kHeight},
                                                    .anchors = kAnchorAll,
                                                    .backColour = kGround,
                                                    .frameColour = kFrame,
                                                    .name = "Computing..."});
    TImage& hourglass =
        panel.Add<TImage>(TImageArgs{.bitmap = "hourglass", .rect = {4, 4, 32, 32}, .backColour = kGround});
    TLabel& caption = panel.Add<TLabel>(TLabelArgs{.text = kCaption, .rect = {1, 13, kWidth - 2, 14}});
    SetWindowLongW(caption.Handle(), GWL_STYLE, (GetWindowLongW(caption.Handle(), GWL_STYLE) & ~SS_TYPEMASK) | SS_CENTER);
    // The centred caption runs under the hourglass: the picture stays on top.
    SetWindowPos(hourglass.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    progress_ = &panel.Add<TSVProgressBar>(TProgressBarArgs{.rect = {36, 27, 75, 5},
                                                            .foreground = chrome::kAccent,
                                                            .background = RGB(0xD8, 0xD8, 0xD8),
                                                            .border = false,
                                                            .displayText = false});
    progress_->SetVisible(showProgress);
}

TComputingWindow::~TComputingWindow() { Close(); }

void TComputingWindow::Centre()
{
    RECT area = TSVRuntime::MonitorRect(-1); // out of range: the primary monitor
    if (!centreOnScreen_ && owner_ && IsWindowVisible(owner_) && !IsIconic(owner_))
        GetWindowRect(owner_, &area);
    RECT own{};
    GetWindowRect(window_->Handle(), &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    SetWindowPos(window_->Handle(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComputingWindow::Show()
{
    if (!window_)
        return;
    if (disableOwner_ && owner_ && !ownerDisabled_ && IsWindowEnabled(owner_)) {
        EnableWindow(owner_, FALSE);
        ownerDisabled_ = true;
    }
    Centre();
    window_->Show(SW_SHOWNOACTIVATE); // also paints it now: the thread is about to be busy
}

void TComputingWindow::Close()
{
    if (ownerDisabled_) {
        EnableWindow(owner_, TRUE);
        ownerDisabled_ = false;
    }
    if (window_) {
        ShowWindow(window_->Handle(), SW_HIDE);
        progress_ = nullptr;
        window_.reset();
    }
}

void TComputingWindow::SetMaximum(int32_t value)
{
    if (progress_)
        progress_->SetMaximum(value);
}

void TComputingWindow::Step()
{
    if (!progress_)
        return;
    progress_->StepBy(1);
    // The thread that steps is the one that would paint: paint now, not when it is idle again.
    UpdateWindow(progress_->Handle());
}

std::shared_ptr<IComputingWindow> TComputingWindowSupport::Create(HWND owner, bool showProgress, bool centreOnScreen,
                                                                  bool disableOwner)
{
    return std::make_shared<TComputingWindow>(owner, showProgress, centreOnScreen, disableOwner);
}

} // namespace ui
