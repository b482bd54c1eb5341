#include "app/uFileViewerRendering.h"

#include <array>

namespace {

// Code page 437's pictures of the control characters (NUL is blank).
constexpr char16_t kOemLow[32] = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};

// Code page 437 from 0x7F: the house, then accented letters, box drawing, Greek and mathematics.
constexpr char16_t kOemHigh[129] = {
    0x2302,
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

std::string Utf8(char16_t code)
{
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

const std::array<std::string, 256>& OemTable()
{
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> built;
        for (int byte = 0; byte < 256; ++byte)
            built[byte] = Utf8(byte < 0x20   ? kOemLow[byte]
                               : byte < 0x7F ? static_cast<char16_t>(byte)
                                             : kOemHigh[byte - 0x7F]);
        return built;
    }();
    return table;
}

// A byte of the character columns: control characters masked.
void AppendShown(std::string& out, uint8_t byte, const std::array<std::string, 256>& oem)
{
    if (byte < 0x20)
        out += '.';
    else if (byte < 0x7F)
        out += static_cast<char>(byte);
    else
        out += oem[byte];
}

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr size_t kLineBreakLength = 2;
// Room for the longest OEM characters (3 bytes in UTF-8 for 1 shown character).
constexpr size_t kWidestCharacter = 3;

} // namespace

const std::string& TFileViewRendering::OemCharacter(uint8_t byte) { return OemTable()[byte]; }

int TFileViewRendering::OffsetDigits(size_t fileSize)
{
    const size_t lastOffset = fileSize == 0 ? 0 : (fileSize - 1) / kHexBytesPerLine * kHexBytesPerLine;
    int digits = 1;
    for (size_t rest = lastOffset >> 4; rest != 0; rest >>= 4)
        ++digits;
    return digits < kMinimumOffsetDigits ? kMinimumOffsetDigits : digits;
}

std::string TFileViewRendering::HexDump(const std::string& bytes)
{
    const auto& oem = OemTable();
    const size_t size = bytes.size();
    const int digits = OffsetDigits(size);
    const size_t lines = (size + kHexBytesPerLine - 1) / kHexBytesPerLine;
    std::string out;
    out.reserve(lines * (static_cast<size_t>(digits) + 52 + kHexBytesPerLine * kWidestCharacter + kLineBreakLength));
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    for (size_t offset = 0; offset < size; offset += kHexBytesPerLine) {
        if (offset != 0)
            out += "\r\n";
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            out += kHexDigits[(offset >> shift) & 0xF];
        out += ": ";
        const size_t count = size - offset < kHexBytesPerLine ? size - offset : kHexBytesPerLine;
        for (size_t k = 0; k < kHexBytesPerLine; ++k) {
            if (k < count) {
                out += kHexDigits[data[offset + k] >> 4];
                out += kHexDigits[data[offset + k] & 0xF];
                out += ' ';
            } else {
                out.append(3, ' ');
            }
        }
        out.append(2, ' ');
        for (size_t k = 0; k < count; ++k)
            AppendShown(out, data[offset + k], oem);
        out.append(kHexBytesPerLine - count, ' ');
    }
    return out;
}

std::string TFileViewRendering::Binary(const std::string& bytes)
{
    const auto& oem = OemTable();
    const size_t size = bytes.size();
    const size_t lines = (size + kBinaryBytesPerLine - 1) / kBinaryBytesPerLine;
    std::string out;
    out.reserve(lines * kLineBreakLength + size + size / 2);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    for (size_t offset = 0; offset < size; offset += kBinaryBytesPerLine) {
        if (offset != 0)
            out += "\r\n";
        const size_t count = size - offset < kBinaryBytesPerLine ? size - offset : kBinaryBytesPerLine;
        for (size_t k = 0; k < count; ++k)
            AppendShown(out, data[offset + k], oem);
        out.append(kBinaryBytesPerLine - count, ' ');
    }
    return out;
}

std::string TFileViewRendering::Text(const std::string& bytes)
{
    const auto& oem = OemTable();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    const size_t size = bytes.size();
    for (size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<uint8_t>(bytes[i]);
        if (byte == '\r') {
            if (i + 1 < size && bytes[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else if (byte == '\n') {
            out += "\r\n";
        } else if (byte == '\t' || (byte >= 0x20 && byte < 0x7F)) {
            out += static_cast<char>(byte);
        } else {
            out += oem[byte];
        }
    }
    return out;
}

std::string TFileViewRendering::Render(const std::string& bytes, int32_t mode)
{
    switch (mode) {
    case vmHexadecimal: return HexDump(bytes);
    case vmBinary: return Binary(bytes);
    case vmText: return Text(bytes);
    default: return {};
    }
}
