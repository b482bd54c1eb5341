#include "ui/VelaUIToggleButton.h"

#include "platform/win32/Win32Text.h"

#include <oleacc.h>

namespace ui {

namespace {
constexpr int kGlyphTop = 4;  // design pixels
constexpr int kTextGap = 2;
} // namespace

TToggleButton::TToggleButton(TContainer& parent, const TToggleButtonArgs& args)
    : TControl(parent, {.className = WC_BUTTONW,
                        .style = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                        .text = args.text,
                        .rect = args.rect,
                        .anchors = args.anchors}),
      downColour_(args.downColour), frameColour_(args.frameColour)
{
    SetColours(kNoColour, args.backColour);
    glyph_.Load(args.glyph, Dpi());
    ExposeAccessible();
}

long TToggleButton::AccessibleRole(long) { return ROLE_SYSTEM_CHECKBUTTON; }
long TToggleButton::AccessibleState(long) { return down_ ? STATE_SYSTEM_CHECKED : 0; }
std::string TToggleButton::AccessibleDefaultAction(long) { return "Press"; }
void TToggleButton::AccessibleDoDefaultAction(long) { SendMessageW(handle_, BM_CLICK, 0, 0); }

void TToggleButton::SetDown(bool down)
{
    if (down == down_)
        return;
    down_ = down;
    Invalidate();
    NotifyAccessible(handle_, EVENT_OBJECT_STATECHANGE);
}

void TToggleButton::SetGlyph(const std::string& bitmapName)
{
    glyph_.Load(bitmapName, Dpi());
    Invalidate();
}

void TToggleButton::DpiChanged()
{
    glyph_.Reload(Dpi());
    Invalidate();
}

bool TToggleButton::HandleCommand(WORD code)
{
    if ((code != BN_CLICKED && code != BN_DOUBLECLICKED) || !onClick)
        return false;
    onClick();
    return true;
}

bool TToggleButton::HandleDrawItem(DRAWITEMSTRUCT& item)
{
    const bool pressed = down_ || (item.itemState & ODS_SELECTED) != 0;
    HBRUSH ground = CreateSolidBrush(pressed || hot_ ? Shown(downColour_, TColourRole::Hot) : BackColour());
    FillRect(item.hDC, &item.rcItem, ground);
    DeleteObject(ground);
    if (pressed) {
        HBRUSH frame = CreateSolidBrush(Shown(frameColour_, TColourRole::Frame));
        FrameRect(item.hDC, &item.rcItem, frame);
        DeleteObject(frame);
    }
    int textTop = item.rcItem.top + Scale(kGlyphTop);
    if (glyph_) {
        const SIZE size = glyph_.DesignSize();
        const int width = Scale(size.cx);
        const int left = item.rcItem.left + (item.rcItem.right - item.rcItem.left - width) / 2;
        const RECT target{left, textTop, left + width, textTop + Scale(size.cy)};
        TBitmapRoutines::DrawTransparent(item.hDC, glyph_.Get(), target);
        textTop = target.bottom + Scale(kTextGap);
    }
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                           : pressed || hot_               ? Shown(RGB(0, 0, 0), TColourRole::HotText)
                                                           : Shown(RGB(0, 0, 0), TColourRole::Text));
    HGDIOBJ previous = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
    const std::wstring text = platform::Widen(Text());
    RECT area{item.rcItem.left, textTop, item.rcItem.right, item.rcItem.bottom};
    const LRESULT uiState = SendMessageW(handle_, WM_QUERYUISTATE, 0, 0);
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CENTER | DT_TOP | DT_SINGLELINE | ((uiState & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0));
    SelectObject(item.hDC, previous);
    if ((item.itemState & ODS_FOCUS) && !(uiState & UISF_HIDEFOCUS)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -Scale(2), -Scale(2));
        DrawFocusRect(item.hDC, &focus);
    }
    return true;
}

LRESULT TToggleButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BM_GETCHECK:
        return down_ ? BST_CHECKED : BST_UNCHECKED;
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
            TrackMouseEvent(&track);
            InvalidateRect(handle_, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        hot_ = false;
        InvalidateRect(handle_, nullptr, FALSE);
        break;
    default:
        break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

} // namespace ui
