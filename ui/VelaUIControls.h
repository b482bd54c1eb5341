#pragma once
// One small type per control kind, each made from a plain creation-arguments struct and
// exposing its events as members a controller connects. The structs hold every default; callers
// name the fields they set (TButtonArgs{.text = "OK", .rect = {...}, .isDefault = true}), which
// g++ takes in this C++17 build without a warning as long as -pedantic is not asked for.
#include "ui/VelaImageRoutines.h"
#include "ui/VelaUIControl.h"

#include <commctrl.h>

namespace ui {

struct TButtonArgs {
    std::string text{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    bool isDefault = false;
};

class TButton : public TControl {
public:
    TButton(TContainer& parent, const TButtonArgs& args);
    std::function<void()> onClick;
    bool HandleCommand(WORD code) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;
    long AccessibleRole(long child) override;
    std::string AccessibleDefaultAction(long child) override;
    void AccessibleDoDefaultAction(long child) override;
};

// A named bitmap in the form drawn for a DPI, and its size in design pixels (its size at 96 DPI,
// which layouts assume).
class TDpiBitmap {
public:
    // Loads the form for the DPI; nothing is done when that name and DPI are loaded already.
    void Load(const std::string& name, int dpi);
    void Reload(int dpi);
    HBITMAP Get() const { return bitmap_.get(); }
    explicit operator bool() const { return bitmap_ != nullptr; }
    SIZE DesignSize() const { return designSize_; }

private:
    std::string name_;
    int dpi_ = 0;
    TBitmapHandle bitmap_;
    SIZE designSize_{};
};

// A flat, owner-drawn button: a text on a coloured ground, or a glyph whose window text is
// its hint (so assistive tools read what it does), or a glyph with its text beside it.
struct TFlatButtonArgs {
    std::string text{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    COLORREF textColour = RGB(255, 255, 255);
    COLORREF backColour = RGB(0, 0, 0);
    COLORREF hotColour = RGB(0x40, 0x40, 0x40);
    std::string glyph{}; // bitmap resource; magenta is transparent
    bool tabStop = false;
    bool captionBeside = false; // the text is drawn right of the glyph, and is no hint
};

class TFlatButton : public TControl {
public:
    TFlatButton(TContainer& parent, const TFlatButtonArgs& args);
    void SetGlyph(const std::string& bitmapName);
    std::function<void()> onClick;
    bool HandleCommand(WORD code) override;
    bool HandleDrawItem(DRAWITEMSTRUCT& item) override;
    void DpiChanged() override;
    long AccessibleRole(long child) override;
    std::string AccessibleDefaultAction(long child) override;
    void AccessibleDoDefaultAction(long child) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    COLORREF hotColour_;
    void DrawCaption(HDC dc, RECT area, UINT format, bool disabled, bool hot);
    void DrawGlyph(HDC dc, const RECT& place, bool disabled, COLORREF ground);
    TDpiBitmap glyph_;
    bool glyphButton_ = false; // its text is a name, never drawn, even while the bitmap is missing
    bool captionBeside_ = false;
    bool hot_ = false;
};

struct TCheckBoxArgs {
    std::string text{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    bool checked = false;
};

class TCheckBox : public TControl {
public:
    TCheckBox(TContainer& parent, const TCheckBoxArgs& args);
    bool Checked() const { return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) { SendMessageW(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
    std::function<void()> onClick;
    // A mouse button was released over the box (after a left click has toggled it).
    std::function<void()> onMouseUp;
    bool HandleCommand(WORD code) override;
    long AccessibleRole(long child) override;
    long AccessibleState(long child) override;
    std::string AccessibleDefaultAction(long child) override;
    void AccessibleDoDefaultAction(long child) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

struct TRadioButtonArgs {
    std::string text{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    bool firstOfGroup = false;
};

class TRadioButton : public TControl {
public:
    TRadioButton(TContainer& parent, const TRadioButtonArgs& args);
    bool Checked() const { return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) { SendMessageW(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
    std::function<void()> onClick;
    bool HandleCommand(WORD code) override;
    long AccessibleRole(long child) override;
    long AccessibleState(long child) override;
    std::string AccessibleDefaultAction(long child) override;
    void AccessibleDoDefaultAction(long child) override;
};

struct TLabelArgs {
    std::string text{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    COLORREF textColour = kNoColour;
    COLORREF backColour = kNoColour; // kNoColour: transparent over what lies below
    bool bold = false;
    bool wordWrap = false;
    bool endEllipsis = false;
    bool transparent = false; // over a drawn ground, such as a progress bar
};

class TLabel : public TControl {
public:
    TLabel(TContainer& parent, const TLabelArgs& args);
    // For texts that change with every found object: shown at most once per interval, so the
    // label does not repaint for each; the last text always shows, one interval later at most.
    // Give every text of such a label this way, or an older one may come after a newer.
    void SetTextThrottled(const std::string& text);
    // Mouse events for labels that act as a title bar.
    std::function<void()> onMouseDown;
    std::function<void()> onDoubleClick;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ShowPendingText();
    std::string pendingText_;
    DWORD lastShown_ = 0; // tick count: its wrap-around cancels out in the difference
    bool timerRunning_ = false;
};

struct TEditArgs {
    std::string text{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    bool multiLine = false;
    bool readOnly = false;
    bool digitsOnly = false;
    int maxLength = 0;
    bool contextMenu = true; // false: the request for one is swallowed, and so is pasting
    bool border = true;
    bool horizontalScroll = false; // multi-line: long lines scroll instead of wrapping
};

class TEdit : public TControl {
public:
    TEdit(TContainer& parent, const TEditArgs& args);
    std::function<void()> onChange;
    // A typed character (Tab, Enter and Escape belong to the window); true when it was taken,
    // and the edit then leaves it alone.
    std::function<bool(wchar_t character)> onKeyPress;
    bool HandleCommand(WORD code) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool contextMenu_;
};

// A still picture from a bitmap resource; magenta is drawn transparent.
struct TImageArgs {
    std::string bitmap{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    COLORREF backColour = RGB(255, 255, 255);
    bool sizeGrip = false; // resizes the window from the bottom-right corner
};

class TImage : public TControl {
public:
    TImage(TContainer& parent, const TImageArgs& args);
    void SetBitmap(const std::string& name);
    bool IsSizeGrip() const { return sizeGrip_; }
    void DpiChanged() override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc);
    TDpiBitmap bitmap_;
    TBitmapHandle groundless_; // the bitmap without its own ground, for high contrast
    HBITMAP groundlessOf_ = nullptr;
    COLORREF groundlessGround_ = kNoColour;
    bool sizeGrip_;
};

// A plain ground that holds controls: pane frames, pages, bars.
struct TPanelArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    COLORREF backColour = RGB(255, 255, 255);
    COLORREF frameColour = kNoColour; // a 1-pixel outline
    std::string name{};               // window text, for assistive tools
    bool edge = false;                // an edge or rule of the window: the frame colour in high contrast
};

class TPanel : public TControl, public TContainer {
public:
    TPanel(TContainer& parent, const TPanelArgs& args);
    HWND ContainerHandle() const override { return handle_; }
    TWindow& OwningWindow() override { return Window(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    COLORREF frameColour_;
};

// Pages on top of each other, one shown at a time; the page tabs are the controller's business.
struct TPageControlArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorAll;
    COLORREF backColour = RGB(255, 255, 255);
};

class TPageControl : public TPanel {
public:
    TPageControl(TContainer& parent, const TPageControlArgs& args);
    TPanel& AddPage(const std::string& name);
    void SetActivePage(size_t index);
    size_t ActivePage() const { return active_; }

private:
    std::vector<TPanel*> pages_;
    COLORREF pageColour_;
    size_t active_ = 0;
};

struct TListViewArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    bool checkBoxes = false;
    bool multiSelect = false;
    bool showHeader = true;
    bool fullRowSelect = true;
    bool fillColumn = false; // the one column fills the width, whether a scroll bar shows or not
};

class TListView : public TControl {
public:
    TListView(TContainer& parent, const TListViewArgs& args);
    void AddColumn(const std::string& title, int designWidth, int format = LVCFMT_LEFT);
    int AddItem(const std::string& text, int image = -1, LPARAM data = 0);
    void SetItemText(int item, int column, const std::string& text);
    std::string ItemText(int item, int column) const;
    int ItemCount() const { return ListView_GetItemCount(handle_); }
    bool Checked(int item) const { return ListView_GetCheckState(handle_, item) != 0; }
    void SetChecked(int item, bool checked) { ListView_SetCheckState(handle_, item, checked); }
    int Selected() const { return ListView_GetNextItem(handle_, -1, LVNI_SELECTED); }
    void Clear() { ListView_DeleteAllItems(handle_); }
    void SetImageList(HIMAGELIST images) { ListView_SetImageList(handle_, images, LVSIL_SMALL); }

    std::function<void(int item)> onItemChecked;
    std::function<void(int item)> onSelect;
    std::function<void(int item)> onDeselect;
    std::function<void(int item)> onDoubleClick;
    std::function<void(int column)> onColumnClick;
    std::function<void(int item)> onRightClick;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::vector<int> columnWidths_;
    bool filling_ = false;
    bool fillColumn_;
};

struct TTreeViewArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
    bool border = false; // inside a pane the pane's outline is the border
};

class TTreeView : public TControl {
public:
    TTreeView(TContainer& parent, const TTreeViewArgs& args);
    HTREEITEM AddItem(HTREEITEM parentItem, const std::string& text, bool hasChildren, int image = -1,
                      LPARAM data = 0);
    std::string ItemText(HTREEITEM item) const;
    std::function<void(HTREEITEM item)> onExpanding;
    std::function<void(HTREEITEM item)> onSelect;
    std::function<void(HTREEITEM item)> onRightClick;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;
};

struct TDatePickerArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
};

class TDatePicker : public TControl {
public:
    TDatePicker(TContainer& parent, const TDatePickerArgs& args);
    SYSTEMTIME Date() const;
    void SetDate(const SYSTEMTIME& date);
    // A display format such as "yyyy-MM-dd".
    void SetFormat(const std::string& format);
    std::function<void()> onChange;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;
};

} // namespace ui
