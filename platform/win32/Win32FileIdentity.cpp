#include "platform/PlatformFileIdentity.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Paths.h"

#include <windows.h>

namespace platform {

bool QueryFileIdentity(const std::string& path, FileIdentity& identity)
{
    if (path.empty())
        return false;
    // No access rights are needed for the identity; backup semantics lets a directory be opened.
    HANDLE handle = CreateFileW(ExtendedPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!ok)
        return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.file = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool OwnedByCurrentUser(const std::string&) { return true; }

} // namespace platform
