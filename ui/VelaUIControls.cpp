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
    : TControl(parent, {WC_BUTTONW, static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE | (args.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)), 0,
                        args.text, args.rect, args.anchors})
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

bool TButton::HandleCommand(WORD code)
{
    if (code != BN_CLICKED || !onClick)
        return false;
    onClick();
    return true;
}

// Flat button --------------------------------------------------------------------------------

TFlatButton::TFlatButton(TContainer& parent, const TFlatButtonArgs& args)
    : TControl(parent, {WC_BUTTONW, static_cast<DWORD>(WS_VISIBLE | BS_OWNERDRAW | (args.tabStop ? WS_TABSTOP : 0)), 0,
                        args.text, args.rect, args.anchors}),
      hotColour_(args.hotColour), glyphButton_(!args.glyph.empty() && !args.captionBeside),
      captionBeside_(args.captionBeside)
{
    glyph_.Load(args.glyph, Dpi());
    SetColours(args.textColour, args.backColour);
    SetWindowSubclass(handle_, &TFlatButton::HoverProc, 1, reinterpret_cast<DWORD_PTR>(this));
    if (glyphButton_)
        SetHint(args.text);
    ExposeAccessible();
}

// Its window text is its caption, or for a glyph its hint.
long TFlatButton::AccessibleRole(long) { return ROLE_SYSTEM_PUSHBUTTON; }
std::string TFlatButton::AccessibleDefaultAction(long) { return kPress; }
void TFlatButton::AccessibleDoDefaultAction(long) { Click(handle_); }

TFlatButton::~TFlatButton()
{
    RemoveWindowSubclass(handle_, &TFlatButton::HoverProc, 1);
}

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
    HBRUSH ground = CreateSolidBrush(hot_ || pressed ? hotColour_ : BackColour());
    FillRect(item.hDC, &item.rcItem, ground);
    DeleteObject(ground);
    if (captionBeside_) {
        RECT area = item.rcItem;
        area.left += Scale(4);
        if (glyph_) {
            const SIZE size = glyph_.DesignSize();
            RECT place = CentredRect(area, Scale(size.cx), Scale(size.cy));
            OffsetRect(&place, area.left - place.left, 0);
            DrawBitmap(item.hDC, glyph_.Get(), place);
            if (disabled)
                FadeRect(item.hDC, place, hot_ || pressed ? hotColour_ : BackColour());
            area.left = place.right + Scale(4);
        }
        DrawCaption(item.hDC, area, DT_LEFT, disabled);
    } else if (glyph_) {
        const SIZE size = glyph_.DesignSize();
        DrawBitmap(item.hDC, glyph_.Get(), CentredRect(item.rcItem, Scale(size.cx), Scale(size.cy)));
    } else if (!glyphButton_) {
        DrawCaption(item.hDC, item.rcItem, DT_CENTER, disabled);
    }
    if ((item.itemState & ODS_FOCUS) && !(SendMessageW(handle_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(item.hDC, &focus);
    }
    return true;
}

void TFlatButton::DrawCaption(HDC dc, RECT area, UINT format, bool disabled)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? RGB(0x80, 0x80, 0x80) : TextColour());
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
    const std::wstring text = platform::Widen(Text());
    const LRESULT uiState = SendMessageW(handle_, WM_QUERYUISTATE, 0, 0);
    const UINT prefix = (uiState & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_VCENTER | DT_SINGLELINE | prefix);
    SelectObject(dc, previous);
}

LRESULT CALLBACK TFlatButton::HoverProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data)
{
    auto* self = reinterpret_cast<TFlatButton*>(data);
    if (message == WM_MOUSEMOVE && !self->hot_) {
        self->hot_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle, 0};
        TrackMouseEvent(&track);
        InvalidateRect(handle, nullptr, FALSE);
    } else if (message == WM_MOUSELEAVE) {
        self->hot_ = false;
        InvalidateRect(handle, nullptr, FALSE);
    } else if (message == WM_NCHITTEST && InResizeBand(handle, lParam)) {
        return HTTRANSPARENT;
    }
    return DefSubclassProc(handle, message, wParam, lParam);
}

// Check box and radio button -----------------------------------------------------------------

TCheckBox::TCheckBox(TContainer& parent, const TCheckBoxArgs& args)
    : TControl(parent, {WC_BUTTONW, WS_TABSTOP | WS_VISIBLE | BS_AUTOCHECKBOX, 0, args.text, args.rect, args.anchors})
{
    SetChecked(args.checked);
    SetWindowSubclass(handle_, &TCheckBox::MouseProc, 1, reinterpret_cast<DWORD_PTR>(this));
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

LRESULT CALLBACK TCheckBox::MouseProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(handle, &TCheckBox::MouseProc, 1);
        return DefSubclassProc(handle, message, wParam, lParam);
    }
    if (message != WM_LBUTTONUP && message != WM_RBUTTONUP && message != WM_MBUTTONUP)
        return DefSubclassProc(handle, message, wParam, lParam);
    // The button's own handling first: the box shows its new state when the event runs.
    const LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
    auto* self = reinterpret_cast<TCheckBox*>(data);
    if (self->onMouseUp)
        self->onMouseUp();
    return result;
}

TRadioButton::TRadioButton(TContainer& parent, const TRadioButtonArgs& args)
    : TControl(parent, {WC_BUTTONW, static_cast<DWORD>(WS_VISIBLE | BS_AUTORADIOBUTTON | (args.firstOfGroup ? WS_GROUP | WS_TABSTOP : 0)),
                        0, args.text, args.rect, args.anchors})
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
    : TControl(parent, {WC_STATICW,
                        static_cast<DWORD>(WS_VISIBLE | SS_NOTIFY | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                                           (args.endEllipsis ? SS_ENDELLIPSIS : 0)),
                        0, args.text, args.rect, args.anchors})
{
    SetColours(args.textColour, args.backColour);
    SetTransparent(args.transparent);
    if (args.bold) {
        TFontSpec font = Window().DefaultFontSpec();
        font.bold = true;
        SetFont(font);
    }
    SetWindowSubclass(handle_, &TLabel::MouseProc, 1, reinterpret_cast<DWORD_PTR>(this));
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
    SetText(pendingText_);
}

LRESULT CALLBACK TLabel::MouseProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<TLabel*>(data);
    switch (message) {
    case WM_TIMER:
        if (wParam == kThrottleTimer) {
            self->ShowPendingText();
            return 0;
        }
        break;
    case WM_NCHITTEST:
        // Only labels that act on the mouse take it; others leave it to what lies below.
        if (InResizeBand(handle, lParam) || (!self->onMouseDown && !self->onDoubleClick))
            return HTTRANSPARENT;
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        if (self->onMouseDown) {
            self->onMouseDown();
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (self->onDoubleClick) {
            self->onDoubleClick();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(handle, &TLabel::MouseProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(handle, message, wParam, lParam);
}

// Edit ---------------------------------------------------------------------------------------

TEdit::TEdit(TContainer& parent, const TEditArgs& args)
    : TControl(parent, {WC_EDITW,
                        static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE | (args.border ? WS_BORDER : 0) |
                                           (args.multiLine ? ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL : ES_AUTOHSCROLL) |
                                           (args.multiLine && args.horizontalScroll ? WS_HSCROLL | ES_AUTOHSCROLL : 0) |
                                           (args.readOnly ? ES_READONLY : 0) | (args.digitsOnly ? ES_NUMBER : 0)),
                        0, args.text, args.rect, args.anchors}),
      contextMenu_(args.contextMenu)
{
    if (args.maxLength > 0)
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(args.maxLength), 0);
    SetWindowSubclass(handle_, &TEdit::KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

bool TEdit::HandleCommand(WORD code)
{
    if (code != EN_CHANGE || !onChange)
        return false;
    onChange();
    return true;
}

LRESULT CALLBACK TEdit::KeyProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<TEdit*>(data);
    switch (message) {
    case WM_CHAR:
        if (wParam != VK_TAB && wParam != VK_RETURN && wParam != VK_ESCAPE && self->onKeyPress &&
            self->onKeyPress(static_cast<wchar_t>(wParam)))
            return 0;
        break;
    case WM_CONTEXTMENU:
    case WM_PASTE:
        if (!self->contextMenu_)
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(handle, &TEdit::KeyProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(handle, message, wParam, lParam);
}

// Image and size grip ------------------------------------------------------------------------

namespace {
const wchar_t kImageClass[] = L"QuillsweepImage";
const wchar_t kPanelClass[] = L"QuillsweepPanel";

} // namespace

TImage::TImage(TContainer& parent, const TImageArgs& args)
    : TControl(parent, {RegisteredClass(kImageClass, &TImage::ImageProc), WS_VISIBLE, 0, args.bitmap, args.rect,
                        args.anchors}),
      sizeGrip_(args.sizeGrip)
{
    bitmap_.Load(args.bitmap, Dpi());
    SetColours(kNoColour, args.backColour);
}

void TImage::SetBitmap(const std::string& name)
{
    bitmap_.Load(name, Dpi());
    Invalidate();
}

void TImage::DpiChanged()
{
    bitmap_.Reload(Dpi());
    Invalidate();
}

LRESULT CALLBACK TImage::ImageProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = dynamic_cast<TImage*>(FromHandle(handle));
    if (!self)
        return DefWindowProcW(handle, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(handle, &paint);
        RECT client{};
        GetClientRect(handle, &client);
        if (HBRUSH ground = self->BackBrush())
            FillRect(dc, &client, ground);
        const SIZE size = self->bitmap_.DesignSize();
        DrawBitmap(dc, self->bitmap_.Get(), {0, 0, self->Scale(size.cx), self->Scale(size.cy)});
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        return HTTRANSPARENT; // pictures never take the mouse; a size grip is answered by the window
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

// Panel and page control ---------------------------------------------------------------------

TPanel::TPanel(TContainer& parent, const TPanelArgs& args)
    : TControl(parent, {RegisteredClass(kPanelClass, &TPanel::PanelProc), WS_VISIBLE | WS_CLIPCHILDREN,
                        WS_EX_CONTROLPARENT, args.name, args.rect, args.anchors}),
      frameColour_(args.frameColour)
{
    designWidth_ = args.rect.width;
    designHeight_ = args.rect.height;
    SetColours(kNoColour, args.backColour);
}

LRESULT CALLBACK TPanel::PanelProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = dynamic_cast<TPanel*>(FromHandle(handle));
    if (!self)
        return DefWindowProcW(handle, message, wParam, lParam);
    bool handled = false;
    const LRESULT routed = RouteControlMessage(*self, message, wParam, lParam, handled);
    if (handled)
        return routed;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(handle, &client);
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (HBRUSH ground = self->BackBrush())
            FillRect(dc, &client, ground);
        if (self->frameColour_ != kNoColour) {
            HBRUSH frame = CreateSolidBrush(self->frameColour_);
            FrameRect(dc, &client, frame);
            DeleteObject(frame);
        }
        return 1;
    }
    case WM_SIZE:
        self->LayoutChildren();
        if (self->frameColour_ != kNoColour)
            InvalidateRect(handle, nullptr, TRUE);
        return 0;
    case WM_NCHITTEST:
        if (InResizeBand(handle, lParam) || self->Window().OnSizeGrip({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            return HTTRANSPARENT;
        return HTCLIENT;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

TPageControl::TPageControl(TContainer& parent, const TPageControlArgs& args)
    : TPanel(parent, TPanelArgs{args.rect, args.anchors, args.backColour, kNoColour, ""}), pageColour_(args.backColour)
{
}

TPanel& TPageControl::AddPage(const std::string& name)
{
    const TDesignRect& own = DesignRect();
    TPanel& page = Add<TPanel>(TPanelArgs{{0, 0, own.width, own.height}, kAnchorAll, pageColour_, kNoColour, name});
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

TListView::TListView(TContainer& parent, const TListViewArgs& args)
    : TControl(parent, {WC_LISTVIEWW,
                        static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS |
                                           (args.multiSelect ? 0 : LVS_SINGLESEL) | (args.showHeader ? 0 : LVS_NOCOLUMNHEADER)),
                        0, "", args.rect, args.anchors})
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

bool TListView::HandleNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
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
    : TControl(parent, {WC_TREEVIEWW,
                        static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE | (args.border ? WS_BORDER : 0) | TVS_HASBUTTONS |
                                           TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS),
                        0, "", args.rect, args.anchors})
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
    : TControl(parent, {DATETIMEPICK_CLASSW, WS_TABSTOP | WS_VISIBLE | DTS_SHORTDATEFORMAT, 0, "", args.rect, args.anchors})
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
