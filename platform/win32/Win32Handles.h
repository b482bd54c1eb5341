#pragma once
// Opening children relative to a held folder and telling where an opened object really is: the
// pieces the listings and the held folders share, written once.
#include "platform/PlatformFileIdentity.h"

#include <windows.h>

#include <string>

namespace platform {

// Wine emulates the NT calls over Unix paths, and some answers differ there.
bool UnderWine();

// One name of a held folder: no path, no stream, nothing that climbs out.
bool IsPlainName(const std::string& name);

// The named child of parent, opened with NtCreateFile relative to it; INVALID_HANDLE_VALUE when
// it cannot be opened.
HANDLE OpenRelative(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options);

// A DOS final path without its "\\?\" (or "\\?\UNC\") prefix; the NT form when asked or when the
// volume has no DOS name, which then starts with a single backslash.
bool FinalPathOf(HANDLE handle, bool ntForm, std::wstring& path);
bool IsNtForm(const std::wstring& path);
std::wstring ChildPath(const std::wstring& folder, const std::wstring& name);
// Windows compares names without letter case. Wine's final paths are the exact Unix names, and
// there "a" may be a Unix link to its sibling "A", so only the exact path counts.
bool SamePath(const std::wstring& a, const std::wstring& b);

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info);

} // namespace platform
