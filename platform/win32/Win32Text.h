#pragma once
// UTF-8 inside, UTF-16 at the Windows boundary.
#include <cstddef>
#include <string>

namespace platform {

std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text, int length = -1);
inline std::string Narrow(const std::wstring& text) { return Narrow(text.c_str(), static_cast<int>(text.size())); }

// Equal but for letter case, the way the file system compares names: by the system's upper-case
// table, whatever the user's language.
bool EqualIgnoringCase(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength);
inline bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return EqualIgnoringCase(a.c_str(), a.size(), b.c_str(), b.size());
}

} // namespace platform
