#pragma once
// UTF-8 inside, UTF-16 at the Windows boundary.
#include <string>

namespace platform {

std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text, int length = -1);
inline std::string Narrow(const std::wstring& text) { return Narrow(text.c_str(), static_cast<int>(text.size())); }

} // namespace platform
