#include "ui/VelaUITextView.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaUIWindow.h"

#include <algorithm>
#include <oleacc.h>
#include <vector>
#include <windowsx.h>

namespace ui {

namespace {
const wchar_t kTextViewClass[] = L"QuillsweepTextView";
constexpr UINT kCommandCopy = 1;
constexpr UINT kCommandSelectAll = 2;

bool KeyHeld(int key) { return GetKeyState(key) < 0; }

size_t Clamp(long long value, size_t most)
{
    return value < 0 ? 0 : std::min(static_cast<size_t>(value), most);
}
} // namespace

TTextView::TTextView(TContainer& parent, const TTextViewArgs& args)
    : TControl(parent, {.className = RegisteredClass(kTextViewClass),
                        .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
                        .rect = args.rect,
                        .anchors = args.anchors})
{
    Measure();
    UpdateScrollBars();
    ExposeAccessible();
}

long TTextView::AccessibleRole(long) { return ROLE_SYSTEM_TEXT; }

std::string TTextView::AccessibleName(long)
{
    HWND root = GetAncestor(handle_, GA_ROOT);
    wchar_t title[256] = L"";
    const int length = root ? GetWindowTextW(root, title, 256) : 0;
    return platform::Narrow(title, length);
}

long TTextView::AccessibleState(long) { return STATE_SYSTEM_READONLY; }

void TTextView::SetContent(std::string text)
{
    lines_.Assign(std::move(text));
    wideLength_ = static_cast<size_t>(-1);
    anchor_ = caret_ = {};
    top_ = left_ = 0;
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(handle_, nullptr, FALSE);
}

void TTextView::SelectAll()
{
    anchor_ = {};
    caret_ = lines_.End();
    PlaceCaret();
    InvalidateRect(handle_, nullptr, FALSE);
}

void TTextView::CopySelection()
{
    if (anchor_ == caret_ || !OpenClipboard(handle_))
        return;
    const std::wstring text = platform::Widen(lines_.Slice(anchor_, caret_));
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

void TTextView::DpiChanged()
{
    Measure();
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(handle_, nullptr, FALSE);
}

void TTextView::Measure()
{
    HDC dc = GetDC(handle_);
    HGDIOBJ previous = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(handle_, dc);
    cellWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    cellHeight_ = std::max(1, static_cast<int>(metrics.tmHeight));
    margin_ = Scale(2);
}

size_t TTextView::VisibleLines() const
{
    RECT client{};
    GetClientRect(handle_, &client);
    return std::max<size_t>(1, static_cast<size_t>(client.bottom / cellHeight_));
}

size_t TTextView::VisibleColumns() const
{
    RECT client{};
    GetClientRect(handle_, &client);
    return std::max<size_t>(1, static_cast<size_t>(std::max(0L, client.right - margin_) / cellWidth_));
}

void TTextView::UpdateScrollBars()
{
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    vertical.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    vertical.nMax = static_cast<int>(lines_.LineCount() - 1);
    vertical.nPage = static_cast<UINT>(VisibleLines());
    vertical.nPos = static_cast<int>(top_);
    SetScrollInfo(handle_, SB_VERT, &vertical, TRUE);
    SCROLLINFO horizontal = vertical;
    horizontal.nMax = static_cast<int>(lines_.WidestColumns()); // and the caret after the widest line
    horizontal.nPage = static_cast<UINT>(VisibleColumns());
    horizontal.nPos = static_cast<int>(left_);
    SetScrollInfo(handle_, SB_HORZ, &horizontal, TRUE);
}

void TTextView::ScrollTo(size_t top, size_t left)
{
    const size_t lastTop = lines_.LineCount() - std::min(lines_.LineCount(), VisibleLines());
    const size_t lastLeft = lines_.WidestColumns() + 1 - std::min(lines_.WidestColumns() + 1, VisibleColumns());
    top = std::min(top, lastTop);
    left = std::min(left, lastLeft);
    if (top == top_ && left == left_)
        return;
    top_ = top;
    left_ = left;
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(handle_, nullptr, FALSE);
}

void TTextView::Scroll(int bar, WORD request)
{
    const bool vertical = bar == SB_VERT;
    const size_t position = vertical ? top_ : left_;
    const size_t page = vertical ? VisibleLines() : VisibleColumns();
    const size_t last = vertical ? lines_.LineCount() : lines_.WidestColumns() + 1;
    size_t to = position;
    switch (request) {
    case SB_LINEUP: to = position > 0 ? position - 1 : 0; break;
    case SB_LINEDOWN: to = position + 1; break;
    case SB_PAGEUP: to = position > page ? position - page : 0; break;
    case SB_PAGEDOWN: to = position + page; break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = last; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle_, bar, &info);
        to = static_cast<size_t>(std::max(0, info.nTrackPos));
        break;
    }
    default: return;
    }
    ScrollTo(vertical ? to : top_, vertical ? left_ : to);
}

void TTextView::MoveCaret(TTextPosition to, bool extend)
{
    caret_ = to;
    if (!extend)
        anchor_ = to;
    EnsureCaretVisible();
    PlaceCaret();
    InvalidateRect(handle_, nullptr, FALSE);
}

void TTextView::EnsureCaretVisible()
{
    const size_t lines = VisibleLines();
    const size_t columns = VisibleColumns();
    const size_t column = lines_.ColumnOf(caret_.line, caret_.index);
    size_t top = top_;
    size_t left = left_;
    if (caret_.line < top)
        top = caret_.line;
    else if (caret_.line >= top + lines)
        top = caret_.line - lines + 1;
    if (column < left)
        left = column;
    else if (column >= left + columns)
        left = column - columns + 1;
    ScrollTo(top, left);
}

void TTextView::PlaceCaret()
{
    if (GetFocus() != handle_)
        return;
    const long long column = static_cast<long long>(lines_.ColumnOf(caret_.line, caret_.index)) - static_cast<long long>(left_);
    const long long row = static_cast<long long>(caret_.line) - static_cast<long long>(top_);
    const bool inSight = column >= 0 && row >= 0 && row <= static_cast<long long>(VisibleLines());
    SetCaretPos(inSight ? margin_ + static_cast<int>(column) * cellWidth_ : -cellWidth_ * 4,
                inSight ? static_cast<int>(row) * cellHeight_ : -cellHeight_ * 4);
}

void TTextView::KeyDown(WPARAM key)
{
    const bool control = KeyHeld(VK_CONTROL);
    const bool shift = KeyHeld(VK_SHIFT);
    const size_t lastLine = lines_.LineCount() - 1;
    const size_t column = lines_.ColumnOf(caret_.line, caret_.index);
    const auto onLine = [&](size_t line) { return TTextPosition{line, lines_.IndexAt(line, column)}; };
    TTextPosition to = caret_;
    switch (key) {
    case VK_UP: to = onLine(caret_.line > 0 ? caret_.line - 1 : 0); break;
    case VK_DOWN: to = onLine(std::min(caret_.line + 1, lastLine)); break;
    case VK_PRIOR: to = onLine(caret_.line > VisibleLines() ? caret_.line - VisibleLines() : 0); break;
    case VK_NEXT: to = onLine(std::min(caret_.line + VisibleLines(), lastLine)); break;
    case VK_HOME: to = control ? TTextPosition{} : TTextPosition{caret_.line, 0}; break;
    case VK_END: to = control ? lines_.End() : TTextPosition{caret_.line, lines_.LineLength(caret_.line)}; break;
    case VK_LEFT:
        if (caret_.index > 0)
            to.index = caret_.index - 1;
        else if (caret_.line > 0)
            to = {caret_.line - 1, lines_.LineLength(caret_.line - 1)};
        break;
    case VK_RIGHT:
        if (caret_.index < lines_.LineLength(caret_.line))
            to.index = caret_.index + 1;
        else if (caret_.line < lastLine)
            to = {caret_.line + 1, 0};
        break;
    case 'A':
        if (control)
            SelectAll();
        return;
    case 'C':
    case VK_INSERT:
        if (control)
            CopySelection();
        return;
    default: return;
    }
    MoveCaret(to, shift);
}

TTextPosition TTextView::PositionAt(int x, int y) const
{
    const long long row = y < 0 ? -1 - (-y - 1) / cellHeight_ : y / cellHeight_;
    const size_t line = Clamp(static_cast<long long>(top_) + row, lines_.LineCount() - 1);
    const long long column = static_cast<long long>(left_) + (x - margin_ + cellWidth_ / 2) / cellWidth_;
    return {line, lines_.IndexAt(line, Clamp(column, static_cast<size_t>(-1) / 2))};
}

void TTextView::Paint(HDC target, const RECT& area)
{
    RECT client{};
    GetClientRect(handle_, &client);
    const int width = std::max(1L, client.right);
    const int height = std::max(1L, client.bottom);
    // Drawn off-screen, then copied: scrolling through a long text does not flicker.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP picture = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ previousPicture = SelectObject(dc, picture);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ previousFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    for (int row = area.top / cellHeight_; row * cellHeight_ < area.bottom; ++row) {
        const size_t line = top_ + static_cast<size_t>(row);
        if (line >= lines_.LineCount())
            break;
        PaintLine(dc, line, row * cellHeight_, width);
    }
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left, area.top, SRCCOPY);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousPicture);
    DeleteObject(picture);
    DeleteDC(dc);
}

void TTextView::PaintLine(HDC dc, size_t line, int y, int width)
{
    const size_t columns = VisibleColumns() + 1;
    const std::u16string shown = lines_.Display(line, left_, columns);
    const auto* text = reinterpret_cast<const wchar_t*>(shown.c_str());
    // Every character on its cell, whatever face the system draws it from.
    std::vector<INT> advances(shown.size(), cellWidth_);
    for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i] >= 0xDC00 && shown[i] < 0xE000)
            advances[i] = 0;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    RECT row{0, y, width, y + cellHeight_};
    ExtTextOutW(dc, margin_, y, ETO_OPAQUE | ETO_CLIPPED, &row, text, static_cast<UINT>(shown.size()), advances.data());

    TTextPosition from = std::min(anchor_, caret_);
    TTextPosition to = std::max(anchor_, caret_);
    if (from == to || line < from.line || line > to.line)
        return;
    // Columns of the selection on this line; a selected line break shows as one more cell.
    const size_t first = line == from.line ? lines_.ColumnOf(line, from.index) : 0;
    const size_t last = line == to.line ? lines_.ColumnOf(line, to.index) : lines_.ColumnOf(line, lines_.LineLength(line)) + 1;
    if (last <= left_ || first >= left_ + columns)
        return;
    const size_t begin = std::max(first, left_) - left_;
    const size_t end = std::min(last, left_ + columns) - left_;
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    RECT selected{margin_ + static_cast<int>(begin) * cellWidth_, y, margin_ + static_cast<int>(end) * cellWidth_, y + cellHeight_};
    const size_t count = begin < shown.size() ? std::min(end, shown.size()) - begin : 0;
    ExtTextOutW(dc, selected.left, y, ETO_OPAQUE | ETO_CLIPPED, &selected, count ? text + begin : L"",
                static_cast<UINT>(count), count ? advances.data() + begin : nullptr);
}

void TTextView::ShowContextMenu(LPARAM position)
{
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {
        GetCaretPos(&at);
        at.y += cellHeight_;
        ClientToScreen(handle_, &at);
    }
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    AppendMenuW(menu, MF_STRING | (anchor_ == caret_ ? MF_GRAYED : MF_ENABLED), kCommandCopy, L"&Copy");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCommandSelectAll, L"Select &All");
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, handle_, nullptr));
    DestroyMenu(menu);
    if (chosen == kCommandCopy)
        CopySelection();
    else if (chosen == kCommandSelectAll)
        SelectAll();
}

size_t TTextView::GetText(wchar_t* buffer, size_t capacity) const
{
    if (!buffer || capacity == 0)
        return 0;
    const std::wstring wide = platform::Widen(lines_.Text());
    const size_t copied = std::min(wide.size(), capacity - 1);
    std::copy_n(wide.c_str(), copied, buffer);
    buffer[copied] = L'\0';
    return copied;
}

LRESULT TTextView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(handle_, &paint);
        Paint(dc, paint.rcPaint);
        EndPaint(handle_, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        DpiChanged();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
        SetContent(lParam ? platform::Narrow(reinterpret_cast<const wchar_t*>(lParam)) : std::string());
        return TRUE;
    case WM_GETTEXT: return static_cast<LRESULT>(GetText(reinterpret_cast<wchar_t*>(lParam), wParam));
    case WM_GETTEXTLENGTH:
        if (wideLength_ == static_cast<size_t>(-1))
            wideLength_ = platform::Widen(lines_.Text()).size();
        return static_cast<LRESULT>(wideLength_);
    case WM_SIZE:
        UpdateScrollBars();
        ScrollTo(top_, left_);
        InvalidateRect(handle_, nullptr, FALSE);
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: Scroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
        UINT perNotch = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
        wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = wheelRest_ / WHEEL_DELTA;
        wheelRest_ %= WHEEL_DELTA;
        const long long step = perNotch == WHEEL_PAGESCROLL ? static_cast<long long>(VisibleLines()) : perNotch;
        ScrollTo(Clamp(static_cast<long long>(top_) - notches * step, lines_.LineCount()), left_);
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: KeyDown(wParam); return 0;
    case WM_SETFOCUS:
        CreateCaret(handle_, nullptr, std::max(1, Scale(1)), cellHeight_);
        PlaceCaret();
        ShowCaret(handle_);
        return 0;
    case WM_KILLFOCUS: DestroyCaret(); return 0;
    case WM_LBUTTONDOWN:
        ::SetFocus(handle_);
        MoveCaret(PositionAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), (wParam & MK_SHIFT) != 0);
        SetCapture(handle_);
        dragging_ = true;
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_)
            MoveCaret(PositionAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), true);
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (message == WM_LBUTTONUP)
                ReleaseCapture();
        }
        return 0;
    case WM_CONTEXTMENU: ShowContextMenu(lParam); return 0;
    case WM_COPY: CopySelection(); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
            return TRUE;
        }
        break;
    case WM_NCHITTEST:
        // Along the window's edges the window is resized, not the text selected.
        if (InResizeBand(handle_, lParam))
            return HTTRANSPARENT;
        break;
    default: break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

} // namespace ui
