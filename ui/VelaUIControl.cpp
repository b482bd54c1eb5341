#include "ui/VelaUIControl.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaUIWindow.h"

#include <algorithm>
#include <commctrl.h>

namespace ui {

namespace {
constexpr UINT_PTR kControlSubclass = 1;
}

TControl::TControl(TContainer& parent, const TCreation& creation)
    : window_(&parent.OwningWindow()), design_(creation.rect), anchors_(creation.anchors)
{
    const int dpi = window_->Dpi();
    handle_ = CreateWindowExW(creation.exStyle, creation.className, platform::Widen(creation.text).c_str(),
                              creation.style | WS_CHILD | WS_CLIPSIBLINGS, ScaleToDpi(design_.x, dpi),
                              ScaleToDpi(design_.y, dpi), ScaleToDpi(design_.width, dpi),
                              ScaleToDpi(design_.height, dpi), parent.ContainerHandle(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(handle_, &TControl::ControlProc, kControlSubclass, reinterpret_cast<DWORD_PTR>(this));
    fontSpec_ = window_->DefaultFontSpec();
    font_ = window_->DefaultFont();
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

TControl::~TControl()
{
    if (handle_) {
        // What the window still receives while it goes must not reach the parts already gone.
        RemoveWindowSubclass(handle_, &TControl::ControlProc, kControlSubclass);
        DetachAccessible(handle_);
        DestroyWindow(handle_);
    }
    if (backBrush_)
        DeleteObject(backBrush_);
}

LRESULT CALLBACK TControl::ControlProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data)
{
    auto* self = reinterpret_cast<TControl*>(data);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(handle, &TControl::ControlProc, kControlSubclass);
    if (self->onMessage && self->onMessage(message, wParam, lParam))
        return 0;
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT TControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(handle_, message, wParam, lParam);
}

std::string TControl::AccessibleCaption(const std::string& caption)
{
    std::string read;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i; // "&&" reads as one "&"
        read += caption[i];
    }
    return read;
}

std::string TControl::Text() const
{
    const int length = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(handle_, text.data(), length + 1);
    return platform::Narrow(text.c_str(), copied);
}

void TControl::SetText(const std::string& text)
{
    if (Text() == text)
        return; // an unchanged text must not repaint (status lines change often)
    SetWindowTextW(handle_, platform::Widen(text).c_str());
    if (transparent_) {
        // What lies below must be drawn again, or the old text would stay under the new one.
        HWND parent = GetParent(handle_);
        RECT area{};
        GetWindowRect(handle_, &area);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void TControl::SetEnabled(bool enabled) { EnableWindow(handle_, enabled); }
bool TControl::Enabled() const { return IsWindowEnabled(handle_) != FALSE; }
void TControl::SetVisible(bool visible) { ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE); }
bool TControl::Visible() const { return (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0; }
void TControl::SetFocus() { ::SetFocus(handle_); }
void TControl::Invalidate() { InvalidateRect(handle_, nullptr, TRUE); }
int TControl::Dpi() const { return window_->Dpi(); }
int TControl::Scale(int designPixels) const { return window_->Scale(designPixels); }

std::string TControl::AccessibleName(long)
{
    const std::string caption = AccessibleCaption(Text());
    return caption.empty() ? hint_ : caption;
}

void TControl::SetHint(const std::string& hint)
{
    hint_ = hint;
    HWND tip = window_->ToolTip();
    if (!tip)
        return;
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window_->Handle();
    info.uId = reinterpret_cast<UINT_PTR>(handle_);
    std::wstring text = platform::Widen(hint);
    info.lpszText = text.data();
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!hint.empty())
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void TControl::SetDesignRect(const TDesignRect& rect)
{
    design_ = rect;
    if (auto* container = dynamic_cast<TContainer*>(window_->FindChild(GetParent(handle_))))
        container->LayoutChildren();
    else
        window_->LayoutChildren();
}

void TControl::SetColours(COLORREF text, COLORREF back)
{
    textColour_ = text;
    backColour_ = back;
    Invalidate();
}

void TControl::SetFont(const TFontSpec& font)
{
    fontSpec_ = font;
    SendFont();
}

HBRUSH TControl::BackBrush()
{
    const COLORREF colour = BackColour();
    if (colour == kNoColour)
        return nullptr;
    if (backBrush_ && backBrushColour_ != colour) {
        DeleteObject(backBrush_);
        backBrush_ = nullptr;
    }
    if (!backBrush_) {
        backBrush_ = CreateSolidBrush(colour);
        backBrushColour_ = colour;
    }
    return backBrush_;
}

const wchar_t* RegisteredClass(const wchar_t* name)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    }
    return name;
}

void TContainer::LayoutChildren()
{
    HWND container = ContainerHandle();
    RECT client{};
    GetClientRect(container, &client);
    const int dpi = OwningWindow().Dpi();
    HDWP positions = BeginDeferWindowPos(static_cast<int>(children_.size()));
    for (const auto& child : children_) {
        const TDesignRect& d = child->DesignRect();
        const uint8_t anchors = child->Anchors();
        // Edges kept to the right or bottom are measured from there, so a frame line rounds the
        // same on both sides of the window at any scaling.
        int left = ScaleToDpi(d.x, dpi);
        int right = left + ScaleToDpi(d.width, dpi);
        if (anchors & akRight) {
            right = client.right - ScaleToDpi(designWidth_ - d.x - d.width, dpi);
            if (!(anchors & akLeft))
                left = right - ScaleToDpi(d.width, dpi);
        }
        int top = ScaleToDpi(d.y, dpi);
        int bottom = top + ScaleToDpi(d.height, dpi);
        if (anchors & akBottom) {
            bottom = client.bottom - ScaleToDpi(designHeight_ - d.y - d.height, dpi);
            if (!(anchors & akTop))
                top = bottom - ScaleToDpi(d.height, dpi);
        }
        if (positions)
            positions = DeferWindowPos(positions, child->Handle(), nullptr, left, top, std::max(right - left, 0),
                                       std::max(bottom - top, 0), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions)
        EndDeferWindowPos(positions);
    for (const auto& child : children_) {
        child->SendFont();
        if (auto* nested = dynamic_cast<TContainer*>(child.get()))
            nested->LayoutChildren();
    }
}

void TContainer::ColoursChangedInside()
{
    for (const auto& child : children_) {
        child->ColoursChanged();
        if (auto* nested = dynamic_cast<TContainer*>(child.get()))
            nested->ColoursChangedInside();
    }
}

TControl* TContainer::FindChild(HWND handle) const
{
    for (const auto& child : children_) {
        if (child->Handle() == handle)
            return child.get();
        if (auto* nested = dynamic_cast<TContainer*>(child.get()))
            if (TControl* found = nested->FindChild(handle))
                return found;
    }
    return nullptr;
}

void TControl::SendFont()
{
    HFONT font = window_->Font(fontSpec_);
    if (font != font_) {
        font_ = font;
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        DpiChanged();
    }
}

} // namespace ui
