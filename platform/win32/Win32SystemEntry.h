#pragma once
// The program starts on Windows XP: what later systems added is looked up by name where it is
// used, and the caller takes the older way when the lookup gives null.
#include <windows.h>

namespace platform {

template <typename Fn> Fn SystemEntry(const wchar_t* module, const char* name)
{
    HMODULE loaded = GetModuleHandleW(module);
    return loaded ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

// While it lives, an empty card reader or DVD drive fails quietly instead of asking for a disk:
// for this thread where the system can (Windows 7), else for the whole process.
class TNoDiskPrompts {
public:
    TNoDiskPrompts();
    ~TNoDiskPrompts();
    TNoDiskPrompts(const TNoDiskPrompts&) = delete;
    TNoDiskPrompts& operator=(const TNoDiskPrompts&) = delete;

private:
    DWORD previous_ = 0;
    bool perThread_ = false;
};

} // namespace platform
