#pragma once
// Paths at the Windows boundary: absolute ones go to the system in their extended-length form,
// so that a deep tree is not cut at MAX_PATH; callers and the user keep the normal form.
#include <string>

namespace platform {

// The extended-length form ("\\?\C:\...", "\\?\UNC\server\share\...") of an absolute drive or
// UNC path, normalised as Windows would have normalised the plain one. Relative, drive-relative
// and device paths, and paths already in a device form, are only widened.
std::wstring ExtendedPath(const std::string& path);

// A path the system gave back, in the normal form when it is a drive or UNC path in the
// extended-length form; anything else as it is.
std::wstring NormalPath(const std::wstring& systemPath);

bool IsExtendedPath(const std::wstring& path);

} // namespace platform
