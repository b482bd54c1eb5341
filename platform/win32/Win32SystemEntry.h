#pragma once
// The program starts on Windows XP: what later systems added is looked up by name where it is
// used, and the caller takes the older way when the lookup gives null.
#include <windows.h>

namespace platform {

template <typename Fn> Fn EntryOf(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// An entry of a module the program already has loaded (kernel32, ntdll, user32, ...).
template <typename Fn> Fn SystemEntry(const wchar_t* module, const char* name)
{
    return EntryOf<Fn>(GetModuleHandleW(module), name);
}

// A module loaded for a few entries, freed with the object: for the shell, which the
// command-line tool does not link.
class TSystemLibrary {
public:
    explicit TSystemLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
    ~TSystemLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    TSystemLibrary(const TSystemLibrary&) = delete;
    TSystemLibrary& operator=(const TSystemLibrary&) = delete;
    template <typename Fn> Fn Entry(const char* name) const { return EntryOf<Fn>(module_, name); }

private:
    HMODULE module_;
};

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
