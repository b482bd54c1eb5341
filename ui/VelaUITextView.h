#pragma once
// A read-only view of a text of any size: it lays the lines out once (TTextViewLines) and paints
// only those in sight, on a grid of fixed-pitch cells, so a text of millions of lines shows at
// once. It carries its text as a window does (WM_GETTEXT), scrolls by bars, wheel and keys, and
// selects and copies as an edit control would.
#include "ui/models/uTextViewLines.h"
#include "ui/VelaUIControl.h"

namespace ui {

struct TTextViewArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
};

class TTextView : public TControl {
public:
    TTextView(TContainer& parent, const TTextViewArgs& args);

    // UTF-8, lines separated by "\r\n"; scrolls back to the start.
    void SetContent(std::string text);
    const TTextViewLines& Lines() const { return lines_; }
    void SelectAll();
    void CopySelection();
    void DpiChanged() override;

    // Read as a read-only text named by its window's title, its value the whole text; the caret
    // is the system's, which tools follow themselves.
    long AccessibleRole(long child) override;
    std::string AccessibleName(long child) override;
    std::string AccessibleValue(long child) override { return lines_.Text(); }
    long AccessibleState(long child) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Measure();
    size_t VisibleLines() const;
    size_t VisibleColumns() const;
    void UpdateScrollBars();
    void ScrollTo(size_t top, size_t left);
    void Scroll(int bar, WORD request);
    void KeyDown(WPARAM key);
    void MoveCaret(TTextPosition to, bool extend);
    void EnsureCaretVisible();
    void PlaceCaret();
    TTextPosition PositionAt(int x, int y) const;
    void Paint(HDC dc, const RECT& area);
    void PaintLine(HDC dc, size_t line, int y, int width);
    void ShowContextMenu(LPARAM position);
    size_t GetText(wchar_t* buffer, size_t capacity) const;

    TTextViewLines lines_;
    HFONT font_ = nullptr;
    int cellWidth_ = 8;
    int cellHeight_ = 16;
    int margin_ = 2;
    size_t top_ = 0;  // first line in sight
    size_t left_ = 0; // first column in sight
    TTextPosition anchor_; // where the selection started; the caret is its other end
    TTextPosition caret_;
    bool dragging_ = false;
    int wheelRest_ = 0;
    mutable size_t wideLength_ = static_cast<size_t>(-1); // UTF-16 length, once asked
};

} // namespace ui
