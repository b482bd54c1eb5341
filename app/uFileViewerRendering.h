#pragma once
// The file viewer's three renderings of a file's bytes, as UTF-8 text whose lines are separated
// by "\r\n" (what a multi-line edit control takes). Bytes show as the PC's OEM character set
// (code page 437) draws them, the same on every machine.
#include <cstddef>
#include <cstdint>
#include <string>

enum TFileViewMode : int32_t { vmHexadecimal = 0, vmBinary = 1, vmText = 2 };

class TFileViewRendering {
public:
    static constexpr size_t kHexBytesPerLine = 16;
    static constexpr size_t kBinaryBytesPerLine = 80;
    static constexpr int kMinimumOffsetDigits = 4;

    // One line per 16 bytes: offset, ":", the bytes in hexadecimal, then as characters (below
    // 0x20 as "."). The offset takes 4 digits, or as many as the last line's offset needs, so
    // every line of a file is as long as the others: 72 characters with 4 digits.
    static std::string HexDump(const std::string& bytes);
    // One line of 80 characters per 80 bytes, bytes below 0x20 as "."; the last line padded.
    static std::string Binary(const std::string& bytes);
    // The bytes as lines of text, each line break (CR LF, LF or CR) made CR LF; tabs stay tabs and
    // the other control characters show as their OEM pictures (NUL, which would end the text in
    // the control that shows it, as a space).
    static std::string Text(const std::string& bytes);
    // Any mode; an unknown one renders nothing.
    static std::string Render(const std::string& bytes, int32_t mode);

    // The byte as the OEM character set draws it, in UTF-8 (0x20 to 0x7E as themselves).
    static const std::string& OemCharacter(uint8_t byte);
    // Hexadecimal digits of the offset field for a file of this many bytes.
    static int OffsetDigits(size_t fileSize);
};
