#include "ui/VelaSVTMsgBox.h"

#include "ui/models/uMsgBoxLayout.h"
#include "platform/win32/Win32Text.h"
#include "ui/VelaSVRuntime.h"
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIControls.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

namespace {
using namespace msgbox_layout;

constexpr uint8_t kAlpha = 240;
constexpr UINT kSysCommandDrag = SC_MOVE | HTCAPTION; // moves the window with the mouse held down
// Wide enough for "Apply to all items" yet clear of the refuse button.
constexpr int kCheckWidth = 190;
constexpr int kCheckHeight = 17;
// Long paths have no spaces: break them inside words (as an edit control does) instead of
// letting them run past the right edge; '&' in file names is plain text.
constexpr UINT kMessageFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
constexpr DWORD kMessageStyles = SS_NOPREFIX | SS_EDITCONTROL;

void DragWindowOf(HWND child)
{
    ReleaseCapture();
    SendMessageW(GetAncestor(child, GA_ROOT), WM_SYSCOMMAND, kSysCommandDrag, 0);
}

// A press on the title bar's ground moves the window, as on its title.
void DragFrom(TControl& ground)
{
    ground.onMessage = [handle = ground.Handle()](UINT message, WPARAM, LPARAM) {
        if (message != WM_LBUTTONDOWN)
            return false;
        DragWindowOf(handle);
        return true;
    };
}

// Device pixels to design pixels, rounded up so that nothing measured gets clipped.
int ToDesignCeil(int devicePixels, int dpi) { return (devicePixels * 96 + dpi - 1) / dpi; }

class TMsgBoxForm {
public:
    TMsgBoxForm(TMsgBoxKind kind, const std::string& text, TMsgBoxFocus focus, uint32_t buttons, HWND owner);
    TMsgBoxResult Run(int32_t monitor);

private:
    void Decide(TMsgBoxClose how);
    void FitHeight(const std::wstring& text);
    void Centre(int32_t monitor);
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    TWindow window_;
    TWindowChrome chrome_;
    TLabel* message_ = nullptr;
    TCheckBox* applyToAll_ = nullptr;
    TButton* refuse_ = nullptr;
    TButton* accept_ = nullptr;
    TControl* firstFocus_ = nullptr;
    HWND lastFocus_ = nullptr;
    TMsgBoxClose how_ = TMsgBoxClose::mcOther;
    bool decided_ = false;
};

TWindowArgs BoxWindowArgs(TMsgBoxKind kind, HWND owner)
{
    TWindowArgs args;
    args.title = MsgBoxTitle(kind);
    args.clientWidth = kClientWidth;
    args.clientHeight = kClientHeight;
    args.appWindow = false;
    args.owner = owner;
    return args;
}

TMsgBoxForm::TMsgBoxForm(TMsgBoxKind kind, const std::string& text, TMsgBoxFocus focus, uint32_t buttons, HWND owner)
    : window_(BoxWindowArgs(kind, owner)), chrome_(window_, TChromeArgs{})
{
    // A message box is neither minimised nor maximised (Win+Up, the system menu).
    HWND handle = window_.Handle();
    SetWindowLongW(handle, GWL_STYLE, GetWindowLongW(handle, GWL_STYLE) & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    window_.SetTransparency(true, kAlpha);

    chrome_.Title().SetText(MsgBoxTitle(kind));
    chrome_.Title().onMouseDown = [this] { DragWindowOf(window_.Handle()); };
    DragFrom(chrome_.TitleBar());
    for (const auto& child : chrome_.TitleBar().Children())
        if (dynamic_cast<TPanel*>(child.get()))
            DragFrom(*child);
    // The resize band at the edges passes the mouse through to the window: drag from there too.
    window_.onHitTest = [this](int, int y, int, int, int system) {
        return y < window_.Scale(kTitleBarHeight) ? HTCAPTION : system;
    };
    TFlatButton& close = chrome_.CloseButton();
    close.SetText(msgbox_captions::kClose);
    close.SetHint(msgbox_captions::kClose);
    close.onClick = [this] { Decide(TMsgBoxClose::mcTitleClose); };

    window_.Add<TImage>(
        TImageArgs{.bitmap = MsgBoxBitmapName(kind), .rect = {kBitmapLeft, kBitmapTop, kBitmapSize, kBitmapSize}});
    message_ = &window_.Add<TLabel>(
        TLabelArgs{.rect = {kMessageLeft, kMessageTop, kMessageWidth, kMessageHeight}, .wordWrap = true});
    SetWindowLongW(message_->Handle(), GWL_STYLE, GetWindowLongW(message_->Handle(), GWL_STYLE) | kMessageStyles);
    message_->SetText(text);

    // Created in tab order: the check box, then the buttons left to right.
    const TMsgBoxButtonSet set = MsgBoxButtons(buttons);
    applyToAll_ = &window_.Add<TCheckBox>(TCheckBoxArgs{.text = msgbox_captions::kApplyToAll,
                                                        .rect = {kCheckLeft, kCheckTop, kCheckWidth, kCheckHeight},
                                                        .anchors = akLeft | akBottom});
    refuse_ = &window_.Add<TButton>(TButtonArgs{.text = set.refuseCaption,
                                                .rect = {kRefuseLeft, kButtonTop, kButtonWidth, kButtonHeight},
                                                .anchors = akRight | akBottom});
    accept_ = &window_.Add<TButton>(TButtonArgs{.text = set.acceptCaption,
                                                .rect = {kAcceptLeft, kButtonTop, kButtonWidth, kButtonHeight},
                                                .anchors = akRight | akBottom});
    applyToAll_->SetVisible(set.showApplyToAll);
    refuse_->SetVisible(set.showRefuse);
    accept_->SetVisible(set.showAccept);
    refuse_->onClick = [this] { Decide(TMsgBoxClose::mcRefuseButton); };
    accept_->onClick = [this] { Decide(TMsgBoxClose::mcAcceptButton); };

    // The requested button, else the one that is there; Enter presses it when the focus is elsewhere.
    TButton* preferred = focus == TMsgBoxFocus::mfRefuse ? refuse_ : accept_;
    TButton* other = preferred == refuse_ ? accept_ : refuse_;
    TButton* focused = preferred->Visible() ? preferred : other->Visible() ? other : nullptr;
    if (focused) {
        SendMessageW(focused->Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
        window_.SetDefaultButton(focused);
        // The dialog keys take the default look from a push button the focus leaves; while the
        // check box has the focus, the button that Enter presses shows it again.
        applyToAll_->onMessage = [button = focused->Handle()](UINT message, WPARAM, LPARAM) {
            if (message == WM_SETFOCUS && IsWindowVisible(button))
                PostMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE); // after the dialog keys are done
            return false;
        };
        firstFocus_ = focused;
    } else if (applyToAll_->Visible()) {
        firstFocus_ = applyToAll_;
    }

    window_.onKeyDown = [this](UINT key) {
        if (key != VK_ESCAPE)
            return false;
        Decide(TMsgBoxClose::mcEscape);
        return true;
    };
    window_.onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleMessage(message, wParam, lParam);
    };
    window_.onFirstShow = [this] {
        if (firstFocus_)
            firstFocus_->SetFocus();
    };
    FitHeight(platform::Widen(text));
}

bool TMsgBoxForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        // As a dialog does: the focus leaves with the activation and comes back to the same control.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_.Handle(), focus))
                lastFocus_ = focus;
        } else if (!HIWORD(wParam)) {
            HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_
                          : firstFocus_                      ? firstFocus_->Handle()
                                                             : window_.Handle();
            SetFocus(target);
        }
        return true;
    case WM_SYSCOMMAND:
        // Alt+F4 and the system menu's Close are the keyboard's title close button: a refusal,
        // never a silent acceptance of what the box asks.
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            Decide(TMsgBoxClose::mcTitleClose);
            return true;
        }
        return false;
    case WM_COMMAND:
        // The dialog keys send Cancel for Escape when the key preview did not see it.
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
            Decide(TMsgBoxClose::mcEscape);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TMsgBoxForm::Decide(TMsgBoxClose how)
{
    if (!decided_) {
        decided_ = true;
        how_ = how;
    }
    window_.Close();
}

void TMsgBoxForm::FitHeight(const std::wstring& text)
{
    const int dpi = window_.Dpi();
    HDC dc = GetDC(window_.Handle());
    HGDIOBJ previous = SelectObject(dc, window_.DefaultFont());
    RECT area{0, 0, window_.Scale(kMessageWidth), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, kMessageFormat | DT_CALCRECT);
    SelectObject(dc, previous);
    ReleaseDC(window_.Handle(), dc);

    const int textHeight = ToDesignCeil(area.bottom - area.top, dpi);
    const TMsgBoxArrangement arrangement = MsgBoxArrange(textHeight);
    const TMsgBoxRect& m = arrangement.message;
    message_->SetDesignRect({m.left, m.top, m.width, m.height});
    // The buttons and the check box follow the bottom edge through their anchors.
    SetWindowPos(window_.Handle(), nullptr, 0, 0, window_.Scale(arrangement.clientWidth),
                 window_.Scale(arrangement.clientHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMsgBoxForm::Centre(int32_t monitor)
{
    // 0 is what callers without a form of their own pass: the primary monitor.
    const RECT area = TSVRuntime::MonitorRect(monitor > 0 ? monitor : -1);
    RECT box{};
    GetWindowRect(window_.Handle(), &box);
    const TMsgBoxPosition position = MsgBoxCentre(area.left, area.top, area.right - area.left, area.bottom - area.top,
                                                  box.right - box.left, box.bottom - box.top);
    SetWindowPos(window_.Handle(), nullptr, position.left, position.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TMsgBoxResult TMsgBoxForm::Run(int32_t monitor)
{
    // Placed before it shows, so it never appears anywhere else first.
    Centre(monitor);
    window_.ShowModal();
    return MsgBoxResult(how_, applyToAll_->Visible() && applyToAll_->Checked());
}

} // namespace

TMsgBoxResult TMsgBox::Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus focus,
                               uint32_t buttons)
{
    TMsgBoxForm form(kind, text, focus, buttons, GetActiveWindow());
    return form.Run(monitor);
}

} // namespace ui
