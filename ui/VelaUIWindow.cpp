#include "ui/VelaUIWindow.h"

#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"
#include "ui/VelaSVRuntime.h"
#include "ui/VelaUIControls.h"

#include <algorithm>
#include <atomic>
#include <commctrl.h>
#include <windowsx.h>

namespace ui {

namespace {
const wchar_t kWindowProperty[] = L"QuillsweepWindow";
constexpr int kResizeBand = 5;
// Private to the toolkit's windows, below the program's own private messages.
constexpr UINT kFirstShowMessage = WM_APP + 0x2F0;

std::vector<TWindow*>& OpenWindows()
{
    static std::vector<TWindow*> windows;
    return windows;
}

void RegisterClassOnce(const wchar_t* name, bool dropShadow, WNDPROC procedure)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | (dropShadow ? CS_DROPSHADOW : 0);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0));
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

TWindow* WindowOf(HWND handle)
{
    HWND root = GetAncestor(handle, GA_ROOT);
    return root ? static_cast<TWindow*>(GetPropW(root, kWindowProperty)) : nullptr;
}
} // namespace

int WindowDpi(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = platform::SystemEntry<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

namespace {
constexpr int kLargestTextScale = 225; // Windows' own limit for the text size setting

std::atomic<int> cachedTextScale{0}; // 0: not asked yet
std::atomic<int> forcedTextScale{0};

int SettingPercent()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return 0;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    const bool read = RegQueryValueExW(key, L"TextScaleFactor", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                       &size) == ERROR_SUCCESS &&
                      type == REG_DWORD;
    RegCloseKey(key);
    return read ? static_cast<int>(std::min<DWORD>(value, kLargestTextScale)) : 0;
}

int AskTextScale()
{
    if (const int forced = forcedTextScale.load())
        return forced;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics; // the size Windows XP knows: WINVER leaves out the later field
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int height = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                           ? static_cast<int>(metrics.lfMessageFont.lfHeight)
                           : 0;
    return TextScaleOf(height, dpi > 0 ? dpi : 96, SettingPercent());
}

BOOL CALLBACK TellFontsChanged(HWND window, LPARAM)
{
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    return TRUE;
}
} // namespace

int TextScaleOf(int messageFontHeight, int dpi, int settingPercent)
{
    // A negative height is the characters' own, as the point size gives it; a positive one
    // counts the space above them too, about a fifth more.
    const int characters = messageFontHeight < 0 ? -messageFontHeight : messageFontHeight * 5 / 6;
    const int normal = MulDiv(9, dpi, 72);
    const int byFont = normal > 0 ? MulDiv(characters, 100, normal) : 100;
    return std::clamp(std::max(byFont, settingPercent), 100, kLargestTextScale);
}

int TextScale()
{
    int scale = cachedTextScale.load();
    if (scale == 0) {
        scale = AskTextScale();
        cachedTextScale.store(scale);
    }
    return scale;
}

bool ReadTextScale()
{
    const int now = AskTextScale();
    return cachedTextScale.exchange(now) != now;
}

void ForceTextScale(int percent)
{
    forcedTextScale.store(percent > 0 ? std::clamp(percent, 100, kLargestTextScale) : 0);
    ReadTextScale();
    EnumThreadWindows(GetCurrentThreadId(), &TellFontsChanged, 0);
}

bool InResizeBand(HWND anyChild, LPARAM screenPoint)
{
    HWND root = GetAncestor(anyChild, GA_ROOT);
    if (!root || IsZoomed(root))
        return false;
    RECT bounds{};
    GetWindowRect(root, &bounds);
    const int x = GET_X_LPARAM(screenPoint) - bounds.left;
    const int y = GET_Y_LPARAM(screenPoint) - bounds.top;
    return x < kResizeBand || y < kResizeBand || x >= bounds.right - bounds.left - kResizeBand ||
           y >= bounds.bottom - bounds.top - kResizeBand;
}

TWindow::TWindow(const TWindowArgs& args)
    : fontSpec_(args.font), background_(args.background), minimumWidth_(args.minimumWidth),
      minimumHeight_(args.minimumHeight)
{
    designWidth_ = args.clientWidth;
    designHeight_ = args.clientHeight;
    RegisterClassOnce(args.className, args.dropShadow, &TWindow::WindowProc);
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    const DWORD exStyle = (args.appWindow ? WS_EX_APPWINDOW : 0) | WS_EX_CONTROLPARENT;
    handle_ = CreateWindowExW(exStyle, args.className, platform::Widen(args.title).c_str(), style, 0, 0, 0, 0,
                              args.owner, nullptr, GetModuleHandleW(nullptr), this);
    systemDpi_ = WindowDpi(handle_);
    dpi_ = LayoutDpi();
    SetWindowPos(handle_, nullptr, 0, 0, Scale(designWidth_), Scale(designHeight_),
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    OpenWindows().push_back(this);
}

TWindow::~TWindow()
{
    auto& open = OpenWindows();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    if (handle_) {
        HWND handle = handle_;
        handle_ = nullptr;
        RemovePropW(handle, kWindowProperty);
        DestroyWindow(handle);
    }
    if (backgroundBrush_)
        DeleteObject(backgroundBrush_);
    for (const auto& entry : fonts_)
        DeleteObject(entry.font);
}

const std::vector<TWindow*>& TWindow::All() { return OpenWindows(); }

namespace {
bool OnSizeGripOf(const TContainer& container, POINT screen)
{
    for (const auto& child : container.Children()) {
        if (auto* image = dynamic_cast<const TImage*>(child.get()); image && image->IsSizeGrip() && image->Visible()) {
            RECT bounds{};
            GetWindowRect(image->Handle(), &bounds);
            if (PtInRect(&bounds, screen))
                return true;
        }
        if (auto* nested = dynamic_cast<const TContainer*>(child.get()); nested && OnSizeGripOf(*nested, screen))
            return true;
    }
    return false;
}
} // namespace

bool TWindow::OnSizeGrip(POINT screen) const { return !IsZoomed(handle_) && OnSizeGripOf(*this, screen); }

HFONT TWindow::Font(const TFontSpec& wanted)
{
    for (const auto& entry : fonts_)
        if (entry.points == wanted.points && entry.bold == wanted.bold && entry.face == wanted.face &&
            entry.fixedPitch == wanted.fixedPitch && entry.dpi == dpi_)
            return entry.font;
    LOGFONTW font{};
    font.lfHeight = -MulDiv(wanted.points, dpi_, 72);
    font.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    if (wanted.fixedPitch)
        font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(font.lfFaceName, wanted.face, LF_FACESIZE);
    HFONT created = CreateFontIndirectW(&font);
    fonts_.push_back({wanted.points, wanted.bold, wanted.face, wanted.fixedPitch, dpi_, created});
    return created;
}

HWND TWindow::ToolTip()
{
    if (!toolTip_ && handle_) {
        toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
    }
    return toolTip_;
}

void TWindow::SetTitle(const std::string& title) { SetWindowTextW(handle_, platform::Widen(title).c_str()); }

void TWindow::SetBusyCursor(bool busy)
{
    busy_ = busy;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) && GetAncestor(WindowFromPoint(cursor), GA_ROOT) == handle_)
        SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TWindow::SetTransparency(bool enabled, uint8_t alpha)
{
    const LONG exStyle = GetWindowLongW(handle_, GWL_EXSTYLE);
    if (enabled) {
        SetWindowLongW(handle_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        SetLayeredWindowAttributes(handle_, 0, alpha, LWA_ALPHA);
    } else if (exStyle & WS_EX_LAYERED) {
        SetWindowLongW(handle_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TWindow::Close() { PostMessageW(handle_, WM_CLOSE, 0, 0); }

void TWindow::Show(int command)
{
    ShowWindow(handle_, command);
    UpdateWindow(handle_);
    if (!shown_) {
        shown_ = true;
        // Run from the message loop, once the window is on screen: what it shows (a notice, a
        // message box) then paints like any later window.
        PostMessageW(handle_, kFirstShowMessage, 0, 0);
    }
}

int32_t TWindow::ShowModal()
{
    HWND owner = GetWindow(handle_, GW_OWNER);
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    modal_ = true;
    closing_ = false;
    Show(SW_SHOW);
    SetForegroundWindow(handle_);
    MSG message{};
    while (!closing_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (message.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(message.wParam)); // the outer loop must see it too
    // The owner takes the activation back before this window disappears.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    ShowWindow(handle_, SW_HIDE);
    if (owner)
        SetActiveWindow(owner);
    modal_ = false;
    return modalResult_;
}

void TWindow::RunMessageLoop()
{
    quitOnDestroy_ = true;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool TWindow::PreTranslate(MSG& message)
{
    TWindow* window = message.hwnd ? WindowOf(message.hwnd) : nullptr;
    if (!window)
        return false;
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && window->onKeyDown &&
        window->onKeyDown(static_cast<UINT>(message.wParam)))
        return true;
    if (message.message == WM_SYSKEYDOWN && message.wParam == VK_MENU)
        TSVRuntime::ShowAccelerators(window->handle_);
    return IsDialogMessageW(window->handle_, &message) != FALSE;
}

int TWindow::LayoutDpi() const
{
    return MulDiv(systemDpi_, TextScale(), 100);
}

void TWindow::FollowTextScale()
{
    const int wanted = LayoutDpi();
    if (wanted == dpi_)
        return;
    RECT bounds{};
    GetWindowRect(handle_, &bounds);
    const RECT suggested{bounds.left, bounds.top, bounds.left + MulDiv(bounds.right - bounds.left, wanted, dpi_),
                         bounds.top + MulDiv(bounds.bottom - bounds.top, wanted, dpi_)};
    ApplyDpi(wanted, IsZoomed(handle_) ? nullptr : &suggested);
}

void TWindow::ApplyDpi(int dpi, const RECT* suggested)
{
    dpi_ = dpi;
    SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
    if (suggested)
        SetWindowPos(handle_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutChildren();
    RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

namespace {
BOOL CALLBACK TellColoursChanged(HWND child, LPARAM)
{
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}
} // namespace

LRESULT CALLBACK TWindow::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetPropW(handle, kWindowProperty, self);
        self->handle_ = handle;
    }
    auto* self = static_cast<TWindow*>(GetPropW(handle, kWindowProperty));
    if (!self || self->handle_ != handle)
        return DefWindowProcW(handle, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT TWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (onMessage && onMessage(message, wParam, lParam))
        return 0;
    bool handled = false;
    const LRESULT routed = RouteControlMessage(*this, message, wParam, lParam, handled);
    if (handled)
        return routed;
    switch (message) {
    case kFirstShowMessage:
        if (onFirstShow)
            onFirstShow();
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(handle_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
        return 1;
    }
    case WM_SETCURSOR:
        if (busy_ && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_SIZE:
        LayoutChildren();
        if (onResize)
            onResize();
        return 0;
    case WM_ACTIVATE:
        // As dialogs do: the control that had the keyboard gets it back when the window is
        // active again (after a message box, say), instead of the window itself.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = focus && IsChild(handle_, focus) ? focus : nullptr;
        } else if (lastFocus_ && IsChild(handle_, lastFocus_) && IsWindowVisible(lastFocus_) &&
                   IsWindowEnabled(lastFocus_) && !HIWORD(wParam)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_NCHITTEST: {
        const LRESULT system = DefWindowProcW(handle_, message, wParam, lParam);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT bounds{};
        GetWindowRect(handle_, &bounds);
        if (IsZoomed(handle_))
            return system;
        if (OnSizeGrip(point))
            return HTBOTTOMRIGHT;
        if (!onHitTest)
            return system;
        return onHitTest(point.x - bounds.left, point.y - bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, static_cast<int>(system));
    }
    case WM_WINDOWPOSCHANGING: {
        // Never smaller than the minimum its controls need, whoever sizes it (a size kept from
        // smaller text, a default size in pixels), unless the screen itself is smaller.
        auto& position = *reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(position.flags & SWP_NOSIZE) && !IsIconic(handle_) && !IsZoomed(handle_)) {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            if (GetMonitorInfoW(MonitorFromWindow(handle_, MONITOR_DEFAULTTONEAREST), &monitor)) {
                const RECT& work = monitor.rcWork;
                const int workWidth = work.right - work.left;
                const int workHeight = work.bottom - work.top;
                position.cx = std::max(position.cx, std::min(Scale(minimumWidth_), workWidth));
                position.cy = std::max(position.cy, std::min(Scale(minimumHeight_), workHeight));
            }
        }
        break;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = Scale(minimumWidth_);
        info->ptMinTrackSize.y = Scale(minimumHeight_);
        // A borderless window maximised must leave the taskbar visible.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(handle_, MONITOR_DEFAULTTONEAREST), &monitor)) {
            info->ptMaxPosition.x = monitor.rcWork.left - monitor.rcMonitor.left;
            info->ptMaxPosition.y = monitor.rcWork.top - monitor.rcMonitor.top;
            info->ptMaxSize.x = monitor.rcWork.right - monitor.rcWork.left;
            info->ptMaxSize.y = monitor.rcWork.bottom - monitor.rcWork.top;
        }
        return 0;
    }
    case 0x02E0: // WM_DPICHANGED
        systemDpi_ = HIWORD(wParam);
        ApplyDpi(LayoutDpi(), reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        if (onCloseQuery && !onCloseQuery())
            return 0;
        if (onClose)
            onClose();
        if (modal_)
            closing_ = true;
        else
            DestroyWindow(handle_);
        return 0;
    case WM_NEXTDLGCTL: {
        // What dialogs do for the dialog keys: a label's accelerator focuses the label, then
        // moves on to the control after it.
        HWND focus = GetFocus();
        HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                     : GetNextDlgTabItem(handle_, focus == handle_ ? nullptr : focus, wParam != 0);
        if (target) {
            SetFocus(target);
            if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(target, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case WM_COMMAND:
        if (lParam == 0 && LOWORD(wParam) == IDOK) {
            // Enter: the focused button, else the default button.
            HWND focus = GetFocus();
            TControl* control = FindChild(focus);
            if (auto* button = dynamic_cast<TButton*>(control))
                button->HandleCommand(BN_CLICKED);
            else if (auto* flat = dynamic_cast<TFlatButton*>(control))
                flat->HandleCommand(BN_CLICKED);
            else if (defaultButton_ && IsWindowEnabled(defaultButton_->Handle()) &&
                     IsWindowVisible(defaultButton_->Handle()))
                defaultButton_->HandleCommand(BN_CLICKED);
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // The text size setting comes as a change of the system's fonts or of no setting in
        // particular: each window reads it again and follows it.
        if (message == WM_SETTINGCHANGE && wParam != SPI_SETHIGHCONTRAST) {
            ReadTextScale();
            FollowTextScale();
        }
        // High contrast going on or off comes as a setting change, new system colours as both.
        if (message == WM_SYSCOLORCHANGE || wParam == SPI_SETHIGHCONTRAST) {
            ReadHighContrast();
            if (backgroundBrush_) {
                DeleteObject(backgroundBrush_);
                backgroundBrush_ = nullptr;
            }
            ColoursChangedInside();
            // The system's own controls (lists, trees, headers) learn of new colours from their window.
            if (message == WM_SYSCOLORCHANGE)
                EnumChildWindows(handle_, &TellColoursChanged, 0);
            RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
        break;
    case WM_DESTROY:
        if (quitOnDestroy_)
            PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT RouteControlMessage(TContainer& container, UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    TWindow& window = container.OwningWindow();
    switch (message) {
    case WM_COMMAND:
        if (lParam)
            if (TControl* control = window.FindChild(reinterpret_cast<HWND>(lParam)))
                handled = control->HandleCommand(HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (TControl* control = window.FindChild(header.hwndFrom))
            handled = control->HandleNotify(header, result);
        return result;
    }
    case WM_DRAWITEM: {
        auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (TControl* control = window.FindChild(item.hwndItem))
            handled = control->HandleDrawItem(item);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
        TControl* control = window.FindChild(reinterpret_cast<HWND>(lParam));
        if (!control || (control->TextColour() == kNoColour && control->BackColour() == kNoColour &&
                         message != WM_CTLCOLORSTATIC))
            return 0;
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (control->TextColour() != kNoColour)
            SetTextColor(dc, control->TextColour());
        else if (HighContrast()) // the text the system would give, which answering here skips
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        handled = true;
        if (HBRUSH brush = control->BackBrush()) {
            SetBkColor(dc, control->BackColour());
            return reinterpret_cast<LRESULT>(brush);
        }
        // No colour of its own: the ground of what holds it shows through.
        SetBkMode(dc, TRANSPARENT);
        if (control->Transparent())
            return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
        if (auto* panel = dynamic_cast<TControl*>(&container))
            if (HBRUSH ground = panel->BackBrush())
                return reinterpret_cast<LRESULT>(ground);
        return reinterpret_cast<LRESULT>(window.BackgroundBrush());
    }
    default:
        return 0;
    }
}

HBRUSH TWindow::BackgroundBrush()
{
    if (!backgroundBrush_)
        backgroundBrush_ = CreateSolidBrush(Shown(background_, TColourRole::Ground));
    return backgroundBrush_;
}

} // namespace ui
