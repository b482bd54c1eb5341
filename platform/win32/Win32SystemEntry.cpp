#include "platform/win32/Win32SystemEntry.h"

namespace platform {

namespace {
using SetThreadErrorModeFn = BOOL(WINAPI*)(DWORD, LPDWORD);
constexpr UINT kQuiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

SetThreadErrorModeFn ThreadErrorMode()
{
    static const auto entry = SystemEntry<SetThreadErrorModeFn>(L"kernel32.dll", "SetThreadErrorMode");
    return entry;
}
} // namespace

TNoDiskPrompts::TNoDiskPrompts()
{
    if (const auto setThreadErrorMode = ThreadErrorMode())
        perThread_ = setThreadErrorMode(kQuiet, &previous_) != 0;
    if (!perThread_)
        previous_ = SetErrorMode(kQuiet);
}

TNoDiskPrompts::~TNoDiskPrompts()
{
    if (perThread_)
        ThreadErrorMode()(previous_, nullptr);
    else
        SetErrorMode(static_cast<UINT>(previous_));
}

} // namespace platform
