#include "support/VelaRoutines.h"

#include <algorithm>

#include <cerrno>
#include <cstdlib>

int TStringRoutines::CompareIgnoringCase(const std::string& a, const std::string& b)
{
    const auto folded = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : static_cast<int>(byte);
    };
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (const int difference = folded(a[i]) - folded(b[i]))
            return difference < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string TStringRoutines::ExtractDigits(const std::string& text)
{
    if (text.empty())
        return "0";
    std::string result;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9')
            result += ch;
        else if (ch == '-' && result.empty())
            result += ch;
    }
    return result;
}

static bool ReadInteger(const std::string& digits, int64_t& value)
{
    if (digits.empty() || digits == "-")
        return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(digits.c_str(), &end, 10);
    if (errno != 0 || *end != '\0')
        return false;
    value = parsed;
    return true;
}

int64_t TStringRoutines::DigitsToInt(const std::string& text)
{
    const std::string digits = ExtractDigits(text);
    int64_t value = 0;
    if (!ReadInteger(digits, value))
        throw EConvertError("'" + digits + "' is not a valid integer value");
    return value;
}

int64_t TStringRoutines::DigitsToIntDef(const std::string& text)
{
    int64_t value = 0;
    return ReadInteger(ExtractDigits(text), value) ? value : 0;
}

std::string TStringRoutines::AppendDelimited(const std::string& text, const std::string& item, char delimiter)
{
    if (item.empty())
        return text;
    if (text.empty())
        return item;
    return text + delimiter + item;
}

TStringList TStringRoutines::SplitString(const std::string& text, char delimiter)
{
    // Empty fields are dropped: user-typed lists like "a;;b;" mean a and b.
    TStringList result;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(delimiter, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::string TStringRoutines::JoinStrings(const TStringList& list, char delimiter)
{
    std::string result;
    for (const std::string& item : list)
        result = AppendDelimited(result, item, delimiter);
    return result;
}

int TStringRoutines::PosChar(char ch, const std::string& text)
{
    const size_t at = text.find(ch);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

static int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

bool TStringRoutines::IsHexText(const std::string& text, bool allowBlanks)
{
    if (text.empty())
        return false;
    for (char ch : text)
        if (HexValue(ch) < 0 && !(allowBlanks && ch == ' '))
            return false;
    return true;
}

std::string TStringRoutines::DecodeSwappedHex(const std::string& text)
{
    if (text.size() % 2 != 0)
        return std::string();
    std::string decoded;
    decoded.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        // Devices hand back garbage at times; a half-decoded serial would be a wrong one.
        if (high < 0 || low < 0)
            return std::string();
        decoded += static_cast<char>(high * 16 + low);
    }
    for (size_t i = 0; i + 1 < decoded.size(); i += 2)
        std::swap(decoded[i], decoded[i + 1]);
    return decoded;
}

std::string TStringRoutines::Trim(const std::string& text)
{
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

std::string TStringRoutines::PrintableText(const std::string& text)
{
    std::string result = text;
    for (char& ch : result)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = '?';
    return result;
}
