#pragma once
// A read-only text as a viewer window lays it out: where each line starts, how many columns it
// takes with tabs expanded, and the pieces the window paints or copies. Portable, so a text of
// any size is laid out in one pass and the window only ever touches the lines it shows.
#include <cstddef>
#include <string>
#include <vector>

// index: characters from the line's start.
struct TTextPosition {
    size_t line = 0;
    size_t index = 0;
    bool operator==(const TTextPosition& other) const { return line == other.line && index == other.index; }
    bool operator!=(const TTextPosition& other) const { return !(*this == other); }
    bool operator<(const TTextPosition& other) const
    {
        return line < other.line || (line == other.line && index < other.index);
    }
};

class TTextViewLines {
public:
    static constexpr size_t kTabColumns = 8;

    // UTF-8 text whose lines are separated by "\r\n".
    void Assign(std::string text);
    const std::string& Text() const { return text_; }
    size_t LineCount() const { return starts_.size(); }
    // Columns of the widest line.
    size_t WidestColumns() const { return widest_; }
    size_t LineLength(size_t line) const;
    TTextPosition End() const;

    // What the line shows from column first, at most count columns, tabs as spaces (UTF-16).
    std::u16string Display(size_t line, size_t first, size_t count) const;
    // The character at a column (a tab's whole width is the tab); the line's length past its end.
    size_t IndexAt(size_t line, size_t column) const;
    size_t ColumnOf(size_t line, size_t index) const;
    // The text between two positions, in either order.
    std::string Slice(TTextPosition from, TTextPosition to) const;

private:
    // Bytes of the line without its line break.
    size_t LineBegin(size_t line) const { return starts_[line]; }
    size_t LineEnd(size_t line) const;
    size_t ByteOffset(TTextPosition position) const;

    std::string text_;
    std::vector<size_t> starts_{0};
    size_t widest_ = 0;
};
