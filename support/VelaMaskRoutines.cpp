#include "support/VelaRoutines.h"

namespace {

// Masks with more "*"-led parts than this are refused rather than matched slowly.
constexpr int kMaxStarParts = 30;

// Decodes one UTF-8 code point at text[at]; a stray byte counts as one character of its own.
uint32_t NextCodePoint(const std::string& text, size_t& at)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra != 0 && at + extra >= text.size())
        extra = 0;
    uint32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
    for (size_t i = 1; i <= extra; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            extra = 0;
            value = lead;
            break;
        }
        value = (value << 6) | (next & 0x3F);
    }
    at += extra + 1;
    return value;
}

uint32_t Fold(uint32_t ch)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch + 32;
    if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)  // Latin-1 capitals
        return ch + 32;
    if (ch >= 0x410 && ch <= 0x42F)  // basic Cyrillic capitals
        return ch + 32;
    if (ch >= 0x391 && ch <= 0x3A9 && ch != 0x3A2)  // Greek capitals
        return ch + 32;
    return ch;
}

// Checks the set that starts after "[" at mask[at]; on success at is just past its "]".
void ScanSet(const std::string& mask, size_t& at)
{
    if (at < mask.size() && mask[at] == '!')
        ++at;
    bool any = false;
    while (at < mask.size() && mask[at] != ']') {
        if (mask[at] == '-')
            throw EMaskError("Invalid mask: range without start in '" + mask + "'");
        NextCodePoint(mask, at);
        if (at < mask.size() && mask[at] == '-') {
            ++at;
            if (at >= mask.size() || mask[at] == ']')
                throw EMaskError("Invalid mask: range without end in '" + mask + "'");
            NextCodePoint(mask, at);
        }
        any = true;
    }
    if (at >= mask.size())
        throw EMaskError("Invalid mask: unclosed set in '" + mask + "'");
    if (!any)
        throw EMaskError("Invalid mask: empty set in '" + mask + "'");
    ++at;
}

// Matches one code point ch against the (already validated) set after "[" at mask[at].
bool SetContains(const std::string& mask, size_t& at, uint32_t ch)
{
    bool negated = false;
    if (mask[at] == '!') {
        negated = true;
        ++at;
    }
    bool found = false;
    while (mask[at] != ']') {
        const uint32_t first = Fold(NextCodePoint(mask, at));
        uint32_t last = first;
        if (mask[at] == '-') {
            ++at;
            last = Fold(NextCodePoint(mask, at));
        }
        if (ch >= first && ch <= last)
            found = true;
    }
    ++at;
    return found != negated;
}

} // namespace

void TStringRoutines::ValidateMask(const std::string& mask)
{
    int starParts = 0;
    size_t at = 0;
    while (at < mask.size()) {
        const char ch = mask[at];
        if (ch == '*') {
            ++starParts;
            while (at < mask.size() && mask[at] == '*')
                ++at;
            if (starParts > kMaxStarParts)
                throw EMaskError("Invalid mask: too many '*' parts in '" + mask + "'");
        } else if (ch == '[') {
            ++at;
            ScanSet(mask, at);
        } else {
            NextCodePoint(mask, at);
        }
    }
}

bool TStringRoutines::IsValidMask(const std::string& mask)
{
    try {
        ValidateMask(mask);
        return true;
    } catch (const EMaskError&) {
        return false;
    }
}

bool TStringRoutines::MatchesMask(const std::string& name, const std::string& mask)
{
    ValidateMask(mask);
    // Every token but "*" takes exactly one character, so returning to the last "*" and letting it
    // take one more character finds a match whenever one exists.
    size_t n = 0, m = 0;
    size_t starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            while (m < mask.size() && mask[m] == '*')
                ++m;
            if (m == mask.size())
                return true;
            starMask = m;
            starName = n;
            continue;
        }
        if (m < mask.size()) {
            size_t nextName = n;
            const uint32_t ch = Fold(NextCodePoint(name, nextName));
            size_t nextMask = m;
            bool ok;
            if (mask[m] == '?') {
                ok = true;
                ++nextMask;
            } else if (mask[m] == '[') {
                ++nextMask;
                ok = SetContains(mask, nextMask, ch);
            } else {
                ok = Fold(NextCodePoint(mask, nextMask)) == ch;
            }
            if (ok) {
                n = nextName;
                m = nextMask;
                continue;
            }
        }
        if (starMask == std::string::npos)
            return false;
        NextCodePoint(name, starName);
        n = starName;
        m = starMask;
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}
