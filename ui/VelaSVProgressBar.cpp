#include "ui/VelaSVProgressBar.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaUIWindow.h"

#include <oleacc.h>
#include <windowsx.h>

namespace ui {

namespace {
const wchar_t kBarClass[] = L"QuillsweepProgressBar";

void Fill(HDC dc, const TBarRect& rect, COLORREF colour)
{
    if (rect.Empty())
        return;
    RECT area{rect.left, rect.top, rect.right, rect.bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}
} // namespace

TSVProgressBar::TSVProgressBar(TContainer& parent, const TProgressBarArgs& args)
    : TControl(
          parent,
          {.className = RegisteredClass(kBarClass), .style = WS_VISIBLE, .rect = args.rect, .anchors = args.anchors})
{
    designWidth_ = args.rect.width;
    designHeight_ = args.rect.height;
    model_.SetForegroundColor(args.foreground);
    model_.SetBackgroundColor(args.background);
    model_.SetBorderStyle(args.border ? TBarBorderStyle::bsSingle : TBarBorderStyle::bsNone);
    model_.SetDisplayText(args.displayText);
    ExposeAccessible();
}

void TSVProgressBar::Repaint(bool needed)
{
    if (!needed)
        return;
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    if (model_.Percent() != announcedPercent_) {
        announcedPercent_ = model_.Percent();
        NotifyAccessible(handle_, EVENT_OBJECT_VALUECHANGE);
    }
}

long TSVProgressBar::AccessibleRole(long) { return ROLE_SYSTEM_PROGRESSBAR; }

std::string TSVProgressBar::AccessibleName(long)
{
    for (const auto& child : Children())
        if (child->Visible() && !child->Text().empty())
            return AccessibleCaption(child->Text());
    return AccessibleCaption(Text());
}

std::string TSVProgressBar::AccessibleValue(long) { return std::to_string(model_.Percent()) + " %"; }

long TSVProgressBar::AccessibleState(long) { return STATE_SYSTEM_READONLY; }

void TSVProgressBar::Paint(HDC target)
{
    RECT client{};
    GetClientRect(handle_, &client);
    const int width = client.right;
    const int height = client.bottom;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP picture = CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1);
    HGDIOBJ previousPicture = SelectObject(dc, picture);
    Fill(dc, model_.PaintArea(width, height), Shown(model_.BackgroundColor(), TColourRole::Ground));
    Fill(dc, model_.FilledRect(width, height), Shown(model_.ForegroundColor(), TColourRole::Highlight));
    // Drawn last, over a bar without a border too: in high contrast the track's ground is the
    // window's, so only a frame shows its length.
    if (model_.BorderStyle() == TBarBorderStyle::bsSingle || HighContrast()) {
        HBRUSH frame = CreateSolidBrush(Shown(RGB(0x80, 0x80, 0x80), TColourRole::Frame));
        FrameRect(dc, &client, frame);
        DeleteObject(frame);
    }
    if (model_.DisplayText()) {
        // White combined by exclusive or stays readable over the bar and over the ground.
        const std::wstring text = platform::Widen(model_.Text());
        HDC textDc = CreateCompatibleDC(target);
        HBITMAP textPicture = CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1);
        HGDIOBJ previousText = SelectObject(textDc, textPicture);
        PatBlt(textDc, 0, 0, width, height, BLACKNESS);
        SetBkMode(textDc, TRANSPARENT);
        SetTextColor(textDc, RGB(255, 255, 255));
        HGDIOBJ previousFont = SelectObject(textDc, reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
        DrawTextW(textDc, text.c_str(), static_cast<int>(text.size()), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(textDc, previousFont);
        BitBlt(dc, 0, 0, width, height, textDc, 0, 0, SRCINVERT);
        SelectObject(textDc, previousText);
        DeleteObject(textPicture);
        DeleteDC(textDc);
    }
    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, previousPicture);
    DeleteObject(picture);
    DeleteDC(dc);
}

LRESULT TSVProgressBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    const LRESULT routed = RouteControlMessage(*this, message, wParam, lParam, handled);
    if (handled)
        return routed;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(handle_, &paint);
        Paint(dc);
        EndPaint(handle_, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        LayoutChildren();
        InvalidateRect(handle_, nullptr, FALSE);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    default:
        return TControl::HandleMessage(message, wParam, lParam);
    }
}

} // namespace ui
