#include "ui/VelaUIControls.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaImageRoutines.h"
#include "ui/VelaUIWindow.h"

#include <oleacc.h>
#include <windowsx.h>

namespace ui {

namespace {


void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& target) { TBitmapRoutines::DrawTransparent(dc, bitmap, target); }

// Washes a drawn glyph out towards the ground, so a disabled command looks it.
void FadeRect(HDC dc, const RECT& place, COLORREF ground)
{
    HDC source = CreateCompatibleDC(dc);
    HBITMAP pixel = CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ previous = SelectObject(source, pixel);
    SetPixel(source, 0, 0, ground);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 170, 0};
    AlphaBlend(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, source, 0, 0, 1, 1, blend);
    SelectObject(source, previous);
    DeleteObject(pixel);
    DeleteDC(source);
}

RECT CentredRect(const RECT& area, int width, int height)
{
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    return {left, top, left + width, top + height};
}

} // namespace

// Bitmap for a DPI -------------------------------------------------------------------------

void TDpiBitmap::Load(const std::string& name, int dpi)
{
    if (name == name_ && dpi == dpi_)
        return;
    name_ = name;
    dpi_ = dpi;
    int percent = 100;
    bitmap_ = TBitmapRoutines::LoadBitmapForDpi(name, dpi, &percent);
    const SIZE size = TBitmapRoutines::BitmapSize(bitmap_.get());
    designSize_ = {MulDiv(size.cx, 100, percent), MulDiv(size.cy, 100, percent)};
}

void TDpiBitmap::Reload(int dpi)
{
    Load(std::string(name_), dpi);
}

// Push button --------------------------------------------------------------------------------

TButton::TButton(TContainer& parent, const TButtonArgs& args)
    : TControl(parent, {.className = WC_BUTTONW,
                        .style = static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE |
                                                    (args.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                        .text = args.text,
                        .rect = args.rect,
                        .anchors = args.anchors})
{
    if (args.isDefault)
        Window().SetDefaultButton(this);
    ExposeAccessible();
}

namespace {
// A button pressed as by the mouse: BN_CLICKED reaches the window, a check box toggles first.
void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
const char kPress[] = "Press";
} // namespace

long TButton::AccessibleRole(long) { return ROLE_SYSTEM_PUSHBUTTON; }
std::string TButton::AccessibleDefaultAction(long) { return kPress; }
void TButton::AccessibleDoDefaultAction(long) { Click(handle_); }

bool TButton::HandleNotify(NMHDR& header, LRESULT& result)
{
    // High contrast: the system embosses a disabled caption in the scheme's 3-D colours, which
    // there are as bright as the text of an enabled one; it takes the grey text colour instead.
    auto& draw = reinterpret_cast<NMCUSTOMDRAW&>(header);
    if (header.code != NM_CUSTOMDRAW || draw.dwDrawStage != CDDS_PREPAINT || Enabled() || !HighContrast())
        return false;
    HDC dc = draw.hdc;
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = platform::Widen(Text());
    const UINT prefix = (SendMessageW(handle_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    RECT area = draw.rc;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
    SelectObject(dc, previous);
    result = CDRF_SKIPDEFAULT; // the frame is drawn already; the caption is done
    return true;
}

bool TButton::HandleCommand(WORD code)
{
    if (code != BN_CLICKED || !onClick)
        return false;
    onClick();
    return true;
}

// Flat button --------------------------------------------------------------------------------

TFlatButton::TFlatButton(TContainer& parent, const TFlatButtonArgs& args)
    : TControl(parent, {.className = WC_BUTTONW,
                        .style = static_cast<DWORD>(WS_VISIBLE | BS_OWNERDRAW | (args.tabStop ? WS_TABSTOP : 0)),
                        .text = args.text,
                        .rect = args.rect,
                        .anchors = args.anchors}),
      hotColour_(args.hotColour), glyphButton_(!args.glyph.empty() && !args.captionBeside),
      captionBeside_(args.captionBeside)
{
    glyph_.Load(args.glyph, Dpi());
    SetColours(args.textColour, args.backColour);
    if (glyphButton_)
        SetHint(args.text);
    ExposeAccessible();
}

// Its window text is its caption, or for a glyph its hint.
long TFlatButton::AccessibleRole(long) { return ROLE_SYSTEM_PUSHBUTTON; }
std::string TFlatButton::AccessibleDefaultAction(long) { return kPress; }
void TFlatButton::AccessibleDoDefaultAction(long) { Click(handle_); }

void TFlatButton::SetGlyph(const std::string& bitmapName)
{
    glyph_.Load(bitmapName, Dpi());
    glyphButton_ = !bitmapName.empty() && !captionBeside_;
    Invalidate();
}

void TFlatButton::DpiChanged()
{
    glyph_.Reload(Dpi());
    Invalidate();
}

bool TFlatButton::HandleCommand(WORD code)
{
    if ((code != BN_CLICKED && code != BN_DOUBLECLICKED) || !onClick)
        return false;
    onClick();
    return true;
}

bool TFlatButton::HandleDrawItem(DRAWITEMSTRUCT& item)
{
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const COLORREF groundColour = hot_ || pressed ? Shown(hotColour_, TColourRole::Hot) : BackColour();
    HBRUSH ground = CreateSolidBrush(groundColour);
    FillRect(item.hDC, &item.rcItem, ground);
    DeleteObject(ground);
    if (captionBeside_) {
        RECT area = item.rcItem;
        area.left += Scale(4);
        if (glyph_) {
            const SIZE size = glyph_.DesignSize();
            RECT place = CentredRect(area, Scale(size.cx), Scale(size.cy));
            OffsetRect(&place, area.left - place.left, 0);
            DrawGlyph(item.hDC, place, disabled, groundColour);
            area.left = place.right + Scale(4);
        }
        DrawCaption(item.hDC, area, DT_LEFT, disabled, hot_ || pressed);
    } else if (glyph_) {
        const SIZE size = glyph_.DesignSize();
        DrawGlyph(item.hDC, CentredRect(item.rcItem, Scale(size.cx), Scale(size.cy)), disabled, groundColour);
    } else if (!glyphButton_) {
        DrawCaption(item.hDC, item.rcItem, DT_CENTER, disabled, hot_ || pressed);
    }
    if ((item.itemState & ODS_FOCUS) && !(SendMessageW(handle_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(item.hDC, &focus);
    }
    return true;
}

void TFlatButton::DrawGlyph(HDC dc, const RECT& place, bool disabled, COLORREF ground)
{
    // High contrast: washed out towards a dark ground a picture all but disappears; the system
    // draws a disabled one as a shape in its grey text colour instead.
    if (disabled && HighContrast()) {
        TBitmapRoutines::DrawSilhouette(dc, glyph_.Get(), place, GetSysColor(COLOR_GRAYTEXT));
        return;
    }
    DrawBitmap(dc, glyph_.Get(), place);
    if (disabled && captionBeside_)
        FadeRect(dc, place, ground);
}

void TFlatButton::DrawCaption(HDC dc, RECT area, UINT format, bool disabled, bool hot)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? Shown(RGB(0x80, 0x80, 0x80), TColourRole::GreyText)
                     : hot    ? Shown(TextColour(), TColourRole::HotText)
                              : TextColour());
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
    const std::wstring text = platform::Widen(Text());
    const LRESULT uiState = SendMessageW(handle_, WM_QUERYUISTATE, 0, 0);
    const UINT prefix = (uiState & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_VCENTER | DT_SINGLELINE | prefix);
    SelectObject(dc, previous);
}

LRESULT TFlatButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE && !hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
        InvalidateRect(handle_, nullptr, FALSE);
    } else if (message == WM_MOUSELEAVE) {
        hot_ = false;
        InvalidateRect(handle_, nullptr, FALSE);
    } else if (message == WM_NCHITTEST && InResizeBand(handle_, lParam)) {
        return HTTRANSPARENT;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

// Check box and radio button -----------------------------------------------------------------

TCheckBox::TCheckBox(TContainer& parent, const TCheckBoxArgs& args)
    : TControl(parent, {.className = WC_BUTTONW,
                        .style = WS_TABSTOP | WS_VISIBLE | BS_AUTOCHECKBOX,
                        .text = args.text,
                        .rect = args.rect,
                        .anchors = args.anchors})
{
    SetChecked(args.checked);
    ExposeAccessible();
}

long TCheckBox::AccessibleRole(long) { return ROLE_SYSTEM_CHECKBUTTON; }
long TCheckBox::AccessibleState(long) { return Checked() ? STATE_SYSTEM_CHECKED : 0; }
std::string TCheckBox::AccessibleDefaultAction(long) { return Checked() ? "Uncheck" : "Check"; }
void TCheckBox::AccessibleDoDefaultAction(long) { Click(handle_); }

bool TCheckBox::HandleCommand(WORD code)
{
    if (code != BN_CLICKED || !onClick)
        return false;
    onClick();
    return true;
}

LRESULT TCheckBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The button's own handling first: the box shows its new state when the event runs.
    const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
    if ((message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) && onMouseUp)
        onMouseUp();
    return result;
}

TRadioButton::TRadioButton(TContainer& parent, const TRadioButtonArgs& args)
    : TControl(parent, {.className = WC_BUTTONW,
                        .style = static_cast<DWORD>(WS_VISIBLE | BS_AUTORADIOBUTTON |
                                                    (args.firstOfGroup ? WS_GROUP | WS_TABSTOP : 0)),
                        .text = args.text,
                        .rect = args.rect,
                        .anchors = args.anchors})
{
    ExposeAccessible();
}

long TRadioButton::AccessibleRole(long) { return ROLE_SYSTEM_RADIOBUTTON; }
long TRadioButton::AccessibleState(long) { return Checked() ? STATE_SYSTEM_CHECKED : 0; }
std::string TRadioButton::AccessibleDefaultAction(long) { return "Check"; }
void TRadioButton::AccessibleDoDefaultAction(long) { Click(handle_); }

bool TRadioButton::HandleCommand(WORD code)
{
    if (code != BN_CLICKED || !onClick)
        return false;
    onClick();
    return true;
}

// Label --------------------------------------------------------------------------------------

TLabel::TLabel(TContainer& parent, const TLabelArgs& args)
    : TControl(parent,
               {.className = WC_STATICW,
                .style = static_cast<DWORD>(WS_VISIBLE | SS_NOTIFY | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                                            (args.endEllipsis ? SS_ENDELLIPSIS : 0)),
                .text = args.text,
                .rect = args.rect,
                .anchors = args.anchors})
{
    SetColours(args.textColour, args.backColour);
    SetTransparent(args.transparent);
    if (args.bold) {
        TFontSpec font = Window().DefaultFontSpec();
        font.bold = true;
        SetFont(font);
    }
}

namespace {
constexpr UINT_PTR kThrottleTimer = 1;
constexpr UINT kThrottleInterval = 40; // ms
} // namespace

void TLabel::SetTextThrottled(const std::string& text)
{
    pendingText_ = text;
    // Checked on every call as well: while calls stream in, the queue may never be idle long
    // enough for a timer message.
    if (GetTickCount() - lastShown_ >= kThrottleInterval)
        ShowPendingText();
    else if (!timerRunning_)
        timerRunning_ = SetTimer(handle_, kThrottleTimer, kThrottleInterval, nullptr) != 0;
}

void TLabel::ShowPendingText()
{
    if (timerRunning_)
        KillTimer(handle_, kThrottleTimer);
    timerRunning_ = false;
    lastShown_ = GetTickCount();
    const bool changed = Text() != pendingText_;
    SetText(pendingText_);
    // A status line speaks through what holds it (the progress bar reads it as its name), so
    // screen readers hear "Scan complete." when a scan ends.
    if (changed)
        NotifyAccessible(GetParent(handle_), EVENT_OBJECT_NAMECHANGE);
}

LRESULT TLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kThrottleTimer) {
            ShowPendingText();
            return 0;
        }
        break;
    case WM_NCHITTEST:
        // Only labels that act on the mouse take it; others leave it to what lies below.
        if (InResizeBand(handle_, lParam) || (!onMouseDown && !onDoubleClick))
            return HTTRANSPARENT;
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        if (onMouseDown) {
            onMouseDown();
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (onDoubleClick) {
            onDoubleClick();
            return 0;
        }
        break;
    default:
        break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

// Edit ---------------------------------------------------------------------------------------

TEdit::TEdit(TContainer& parent, const TEditArgs& args)
    : TControl(parent, {.className = WC_EDITW,
                        .style = static_cast<DWORD>(
                            WS_TABSTOP | WS_VISIBLE | (args.border ? WS_BORDER : 0) |
                            (args.multiLine ? ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL : ES_AUTOHSCROLL) |
                            (args.multiLine && args.horizontalScroll ? WS_HSCROLL | ES_AUTOHSCROLL : 0) |
                            (args.readOnly ? ES_READONLY : 0) | (args.digitsOnly ? ES_NUMBER : 0)),
                        .text = args.text,
                        .rect = args.rect,
                        .anchors = args.anchors}),
      contextMenu_(args.contextMenu)
{
    if (args.maxLength > 0)
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(args.maxLength), 0);
}

bool TEdit::HandleCommand(WORD code)
{
    if (code != EN_CHANGE || !onChange)
        return false;
    onChange();
    return true;
}

LRESULT TEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        if (wParam != VK_TAB && wParam != VK_RETURN && wParam != VK_ESCAPE && onKeyPress &&
            onKeyPress(static_cast<wchar_t>(wParam)))
            return 0;
        break;
    case WM_CONTEXTMENU:
    case WM_PASTE:
        if (!contextMenu_)
            return 0;
        break;
    default:
        break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

// Image and size grip ------------------------------------------------------------------------

namespace {
const wchar_t kImageClass[] = L"QuillsweepImage";
const wchar_t kPanelClass[] = L"QuillsweepPanel";

} // namespace

TImage::TImage(TContainer& parent, const TImageArgs& args)
    : TControl(parent, {.className = RegisteredClass(kImageClass),
                        .style = WS_VISIBLE,
                        .text = args.bitmap,
                        .rect = args.rect,
                        .anchors = args.anchors}),
      sizeGrip_(args.sizeGrip)
{
    bitmap_.Load(args.bitmap, Dpi());
    SetColours(kNoColour, args.backColour);
}

void TImage::SetBitmap(const std::string& name)
{
    bitmap_.Load(name, Dpi());
    groundlessOf_ = nullptr;
    Invalidate();
}

void TImage::DpiChanged()
{
    bitmap_.Reload(Dpi());
    groundlessOf_ = nullptr;
    Invalidate();
}

void TImage::Paint(HDC dc)
{
    RECT client{};
    GetClientRect(handle_, &client);
    if (HBRUSH ground = BackBrush())
        FillRect(dc, &client, ground);
    // High contrast: a picture drawn on a white ground of its own would stand as a white square
    // on the user's ground; it lies on that ground instead.
    HBITMAP shown = bitmap_.Get();
    if (shown && HighContrast()) {
        const COLORREF ground = BackColour();
        if (groundlessOf_ != shown || groundlessGround_ != ground) {
            groundless_ = TBitmapRoutines::WithoutGround(shown, ground);
            groundlessOf_ = shown;
            groundlessGround_ = ground;
        }
        shown = groundless_.get();
    }
    const SIZE size = bitmap_.DesignSize();
    DrawBitmap(dc, shown, {0, 0, Scale(size.cx), Scale(size.cy)});
}

LRESULT TImage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(handle_, &paint);
        RECT client{};
        GetClientRect(handle_, &client);
        Paint(dc);
        EndPaint(handle_, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        return HTTRANSPARENT; // pictures never take the mouse; a size grip is answered by the window
    default:
        return TControl::HandleMessage(message, wParam, lParam);
    }
}

// Panel and page control ---------------------------------------------------------------------

TPanel::TPanel(TContainer& parent, const TPanelArgs& args)
    : TControl(parent, {.className = RegisteredClass(kPanelClass),
                        .style = WS_VISIBLE | WS_CLIPCHILDREN,
                        .exStyle = WS_EX_CONTROLPARENT,
                        .text = args.name,
                        .rect = args.rect,
                        .anchors = args.anchors}),
      frameColour_(args.frameColour)
{
    designWidth_ = args.rect.width;
    designHeight_ = args.rect.height;
    if (args.edge)
        SetGroundRole(TColourRole::Frame);
    SetColours(kNoColour, args.backColour);
}

LRESULT TPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    const LRESULT routed = RouteControlMessage(*this, message, wParam, lParam, handled);
    if (handled)
        return routed;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(handle_, &client);
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (HBRUSH ground = BackBrush())
            FillRect(dc, &client, ground);
        if (frameColour_ != kNoColour) {
            HBRUSH frame = CreateSolidBrush(Shown(frameColour_, TColourRole::Frame));
            FrameRect(dc, &client, frame);
            DeleteObject(frame);
        }
        return 1;
    }
    case WM_SIZE:
        LayoutChildren();
        if (frameColour_ != kNoColour)
            InvalidateRect(handle_, nullptr, TRUE);
        return 0;
    case WM_NCHITTEST:
        if (InResizeBand(handle_, lParam) || Window().OnSizeGrip({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            return HTTRANSPARENT;
        return HTCLIENT;
    default:
        return TControl::HandleMessage(message, wParam, lParam);
    }
}

TPageControl::TPageControl(TContainer& parent, const TPageControlArgs& args)
    : TPanel(parent, TPanelArgs{.rect = args.rect, .anchors = args.anchors, .backColour = args.backColour}),
      pageColour_(args.backColour)
{
}

TPanel& TPageControl::AddPage(const std::string& name)
{
    const TDesignRect& own = DesignRect();
    TPanel& page = Add<TPanel>(TPanelArgs{
        .rect = {0, 0, own.width, own.height}, .anchors = kAnchorAll, .backColour = pageColour_, .name = name});
    page.SetVisible(pages_.empty());
    pages_.push_back(&page);
    return page;
}

void TPageControl::SetActivePage(size_t index)
{
    if (index >= pages_.size())
        return;
    active_ = index;
    for (size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->SetVisible(i == index);
}

// List view ----------------------------------------------------------------------------------

namespace {
// High contrast: a selected row keeps the highlight and its text colour while its list has no
// focus, where the system's own colours for it would be the scheme's button face (as dark as the
// ground) or a grey text. True when the row is drawn so.
bool HighlightWithoutFocus(HWND list, bool selected, NMCUSTOMDRAW& draw, COLORREF& text, COLORREF& ground)
{
    if (!selected || !HighContrast() || GetFocus() == list)
        return false;
    draw.uItemState &= ~CDIS_SELECTED;
    text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    ground = GetSysColor(COLOR_HIGHLIGHT);
    return true;
}
} // namespace

TListView::TListView(TContainer& parent, const TListViewArgs& args)
    : TControl(parent, {.className = WC_LISTVIEWW,
                        .style = static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS |
                                                    (args.multiSelect ? 0 : LVS_SINGLESEL) |
                                                    (args.showHeader ? 0 : LVS_NOCOLUMNHEADER)),
                        .rect = args.rect,
                        .anchors = args.anchors}),
      fillColumn_(args.fillColumn)
{
    DWORD extended = LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
    if (args.checkBoxes)
        extended |= LVS_EX_CHECKBOXES;
    if (args.fullRowSelect)
        extended |= LVS_EX_FULLROWSELECT;
    ListView_SetExtendedListViewStyle(handle_, extended);
}

void TListView::AddColumn(const std::string& title, int designWidth, int format)
{
    std::wstring text = platform::Widen(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = Scale(designWidth);
    column.pszText = text.data();
    ListView_InsertColumn(handle_, static_cast<int>(columnWidths_.size()), &column);
    columnWidths_.push_back(designWidth);
}

int TListView::AddItem(const std::string& text, int image, LPARAM data)
{
    std::wstring wide = platform::Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = ItemCount();
    item.pszText = wide.data();
    item.iImage = image;
    item.lParam = data;
    filling_ = true; // an item's first check state is not the user's doing
    const int index = static_cast<int>(SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    filling_ = false;
    return index;
}

void TListView::SetItemText(int item, int column, const std::string& text)
{
    std::wstring wide = platform::Widen(text);
    LVITEMW entry{};
    entry.iSubItem = column;
    entry.pszText = wide.data();
    SendMessageW(handle_, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
}

std::string TListView::ItemText(int item, int column) const
{
    wchar_t buffer[1024] = {};
    LVITEMW entry{};
    entry.iSubItem = column;
    entry.pszText = buffer;
    entry.cchTextMax = 1024;
    const auto length = SendMessageW(handle_, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
    return platform::Narrow(buffer, static_cast<int>(length));
}

LRESULT TListView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
    if (message == WM_SIZE && fillColumn_) {
        RECT client{};
        GetClientRect(handle_, &client);
        ListView_SetColumnWidth(handle_, 0, client.right);
    }
    return result;
}

bool TListView::HandleNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case NM_CUSTOMDRAW: {
        auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
        const int row = static_cast<int>(draw.nmcd.dwItemSpec);
        switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            result = HighContrast() ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            return true;
        case CDDS_ITEMPREPAINT:
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            // Each cell too: the list sets a cell's colours again from the row's state.
            result = HighlightWithoutFocus(handle_, ListView_GetItemState(handle_, row, LVIS_SELECTED) != 0, draw.nmcd,
                                           draw.clrText, draw.clrTextBk)
                         ? CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW
                         : CDRF_DODEFAULT;
            return true;
        default:
            return false;
        }
    }
    case LVN_ITEMCHANGED: {
        auto& change = reinterpret_cast<NMLISTVIEW&>(header);
        if (!(change.uChanged & LVIF_STATE) || change.iItem < 0)
            return false;
        const UINT oldCheck = change.uOldState & LVIS_STATEIMAGEMASK;
        const UINT newCheck = change.uNewState & LVIS_STATEIMAGEMASK;
        if (oldCheck && newCheck && oldCheck != newCheck && !filling_ && onItemChecked)
            onItemChecked(change.iItem);
        if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) && onSelect)
            onSelect(change.iItem);
        if (!(change.uNewState & LVIS_SELECTED) && (change.uOldState & LVIS_SELECTED) && onDeselect)
            onDeselect(change.iItem);
        return true;
    }
    case NM_DBLCLK:
        if (onDoubleClick)
            onDoubleClick(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        return true;
    case NM_RCLICK:
        if (onRightClick)
            onRightClick(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        return true;
    case LVN_COLUMNCLICK:
        if (onColumnClick)
            onColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return true;
    default:
        return false;
    }
}

// Tree view ----------------------------------------------------------------------------------

TTreeView::TTreeView(TContainer& parent, const TTreeViewArgs& args)
    : TControl(parent,
               {.className = WC_TREEVIEWW,
                .style = static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE | (args.border ? WS_BORDER : 0) | TVS_HASBUTTONS |
                                            TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS),
                .rect = args.rect,
                .anchors = args.anchors})
{
    // Vista's double buffering; XP's tree knows no extended styles and ignores the message.
    constexpr LPARAM kDoubleBuffer = 0x0004;  // TVS_EX_DOUBLEBUFFER
    constexpr UINT kSetExtendedStyle = TV_FIRST + 44;  // TVM_SETEXTENDEDSTYLE
    SendMessageW(handle_, kSetExtendedStyle, kDoubleBuffer, kDoubleBuffer);
}

HTREEITEM TTreeView::AddItem(HTREEITEM parentItem, const std::string& text, bool hasChildren, int image, LPARAM data)
{
    std::wstring wide = platform::Widen(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parentItem ? parentItem : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM | (image >= 0 ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0);
    insert.item.pszText = wide.data();
    insert.item.cChildren = hasChildren ? 1 : 0;
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string TTreeView::ItemText(HTREEITEM item) const
{
    wchar_t buffer[MAX_PATH] = {};
    TVITEMW entry{};
    entry.mask = TVIF_TEXT;
    entry.hItem = item;
    entry.pszText = buffer;
    entry.cchTextMax = MAX_PATH;
    SendMessageW(handle_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    return platform::Narrow(buffer);
}

bool TTreeView::HandleNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case NM_CUSTOMDRAW: {
        auto& draw = reinterpret_cast<NMTVCUSTOMDRAW&>(header);
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
            result = HighContrast() ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            return true;
        }
        if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
            return false;
        const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
        const bool selected = (TreeView_GetItemState(handle_, item, TVIS_SELECTED) & TVIS_SELECTED) != 0;
        result = HighlightWithoutFocus(handle_, selected, draw.nmcd, draw.clrText, draw.clrTextBk) ? CDRF_NEWFONT
                                                                                                    : CDRF_DODEFAULT;
        return true;
    }
    case TVN_ITEMEXPANDINGW: {
        auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        if (change.action == TVE_EXPAND && onExpanding)
            onExpanding(change.itemNew.hItem);
        return true;
    }
    case TVN_SELCHANGEDW:
        if (onSelect)
            onSelect(reinterpret_cast<NMTREEVIEWW&>(header).itemNew.hItem);
        return true;
    case NM_RCLICK: {
        DWORD position = GetMessagePos();
        TVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
        ScreenToClient(handle_, &hit.pt);
        HTREEITEM item = TreeView_HitTest(handle_, &hit);
        if (item)
            TreeView_SelectItem(handle_, item); // a right click selects, as users expect
        if (onRightClick)
            onRightClick(item);
        result = 1;
        return true;
    }
    default:
        return false;
    }
}

// Date picker --------------------------------------------------------------------------------

TDatePicker::TDatePicker(TContainer& parent, const TDatePickerArgs& args)
    : TControl(parent, {.className = DATETIMEPICK_CLASSW,
                        .style = WS_TABSTOP | WS_VISIBLE | DTS_SHORTDATEFORMAT,
                        .rect = args.rect,
                        .anchors = args.anchors})
{
}

SYSTEMTIME TDatePicker::Date() const
{
    SYSTEMTIME date{};
    DateTime_GetSystemtime(handle_, &date);
    return date;
}

void TDatePicker::SetDate(const SYSTEMTIME& date) { DateTime_SetSystemtime(handle_, GDT_VALID, &date); }

void TDatePicker::SetFormat(const std::string& format)
{
    const std::wstring wide = platform::Widen(format);
    DateTime_SetFormat(handle_, wide.c_str());
}

bool TDatePicker::HandleNotify(NMHDR& header, LRESULT& result)
{
    if (header.code != DTN_DATETIMECHANGE || !onChange)
        return false;
    onChange();
    return true;
}

} // namespace ui
