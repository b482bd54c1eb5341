#include "ui/models/uTextViewLines.h"

#include <algorithm>
#include <cstdint>

namespace {

size_t SequenceLength(unsigned char lead)
{
    if (lead < 0xC0)
        return 1; // ASCII, or a stray continuation byte counted on its own
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return 4;
}

// Decodes the character at text[at] (within end) into UTF-16; returns the bytes it took.
size_t Decode(const std::string& text, size_t at, size_t end, std::u16string& out)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = std::min(SequenceLength(lead), end - at);
    if (length == 1) {
        out += static_cast<char16_t>(lead < 0x80 ? lead : 0xFFFD);
        return 1;
    }
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i)
        code = code << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    if (code >= 0x10000) {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 | (code >> 10));
        out += static_cast<char16_t>(0xDC00 | (code & 0x3FF));
    } else {
        out += static_cast<char16_t>(code);
    }
    return length;
}

size_t NextTabStop(size_t column) { return (column / TTextViewLines::kTabColumns + 1) * TTextViewLines::kTabColumns; }

} // namespace

void TTextViewLines::Assign(std::string text)
{
    text_ = std::move(text);
    starts_.assign(1, 0);
    widest_ = 0;
    size_t column = 0;
    const size_t size = text_.size();
    for (size_t at = 0; at < size;) {
        const char byte = text_[at];
        if (byte == '\r' && at + 1 < size && text_[at + 1] == '\n') {
            widest_ = std::max(widest_, column);
            column = 0;
            at += 2;
            starts_.push_back(at);
            continue;
        }
        column = byte == '\t' ? NextTabStop(column) : column + 1;
        at += SequenceLength(static_cast<unsigned char>(byte));
    }
    widest_ = std::max(widest_, column);
}

size_t TTextViewLines::LineEnd(size_t line) const
{
    return line + 1 < starts_.size() ? starts_[line + 1] - 2 : text_.size();
}

size_t TTextViewLines::LineLength(size_t line) const
{
    size_t count = 0;
    for (size_t at = LineBegin(line), end = LineEnd(line); at < end; at += SequenceLength(static_cast<unsigned char>(text_[at])))
        ++count;
    return count;
}

TTextPosition TTextViewLines::End() const { return {LineCount() - 1, LineLength(LineCount() - 1)}; }

std::u16string TTextViewLines::Display(size_t line, size_t first, size_t count) const
{
    std::u16string shown;
    const size_t last = first + count;
    size_t column = 0;
    for (size_t at = LineBegin(line), end = LineEnd(line); at < end && column < last;) {
        if (text_[at] == '\t') {
            for (const size_t stop = NextTabStop(column); column < stop; ++column)
                if (column >= first && column < last)
                    shown += u' ';
            ++at;
            continue;
        }
        if (column >= first) {
            at += Decode(text_, at, end, shown);
        } else {
            at += SequenceLength(static_cast<unsigned char>(text_[at]));
        }
        ++column;
    }
    return shown;
}

size_t TTextViewLines::IndexAt(size_t line, size_t column) const
{
    size_t index = 0;
    size_t at = 0;
    for (size_t byte = LineBegin(line), end = LineEnd(line); byte < end; ++index) {
        const size_t next = text_[byte] == '\t' ? NextTabStop(at) : at + 1;
        if (column < next)
            return index;
        at = next;
        byte += SequenceLength(static_cast<unsigned char>(text_[byte]));
    }
    return index;
}

size_t TTextViewLines::ColumnOf(size_t line, size_t index) const
{
    size_t column = 0;
    size_t byte = LineBegin(line);
    for (const size_t end = LineEnd(line); byte < end && index > 0; --index) {
        column = text_[byte] == '\t' ? NextTabStop(column) : column + 1;
        byte += SequenceLength(static_cast<unsigned char>(text_[byte]));
    }
    return column;
}

size_t TTextViewLines::ByteOffset(TTextPosition position) const
{
    size_t byte = LineBegin(position.line);
    for (const size_t end = LineEnd(position.line); byte < end && position.index > 0; --position.index)
        byte += SequenceLength(static_cast<unsigned char>(text_[byte]));
    return byte;
}

std::string TTextViewLines::Slice(TTextPosition from, TTextPosition to) const
{
    if (to < from)
        std::swap(from, to);
    const size_t begin = ByteOffset(from);
    return text_.substr(begin, ByteOffset(to) - begin);
}
