#include "platform/PlatformDirectory.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"

namespace {

bool IsSeparator(char ch) { return ch == '/' || (platform::PathSeparator() == '\\' && ch == '\\'); }

} // namespace

int64_t TFileRoutines::GetFileSizeBytes(const std::string& path)
{
    platform::DirectoryEntry entry;
    if (!platform::QueryEntry(path, entry))
        return -1;
    return entry.size;
}

TDateTime TFileRoutines::FileTimeToLocalDateTime(int64_t fileTime)
{
    platform::LocalTime local{};
    if (!platform::FileTimeToLocalParts(fileTime, local))
        platform::RaiseLastOSError("File time conversion");
    return TTimeRoutines::EncodeLocalTime(local);
}

bool TFileRoutines::IsSymbolicLink(const std::string& path)
{
    // Links and junctions carry the reparse-point bit; 0x40 marks devices, never a link.
    const uint32_t attributes = platform::GetAttributesAt(path);
    return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrReparsePoint) != 0;
}

void TFileRoutines::ClearAttributes(const std::string& path) { platform::SetAttributesAt(path, 0); }

bool TFileRoutines::ForceDeleteFile(const std::string& path)
{
    ClearAttributes(path);
    return platform::DeleteFileAt(path);
}

std::string TFileRoutines::IncludeTrailingSeparator(const std::string& path)
{
    if (path.empty() || IsSeparator(path.back()))
        return path;
    return path + platform::PathSeparator();
}

std::string TFileRoutines::ExcludeTrailingSeparator(const std::string& path)
{
    std::string result = path;
    while (result.size() > 1 && IsSeparator(result.back()))
        result.pop_back();
    return result;
}

std::string TFileRoutines::ExtractFileName(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TFileRoutines::ExtractFileDir(const std::string& path)
{
    size_t at = path.size();
    while (at > 0 && !IsSeparator(path[at - 1]) && !(platform::PathSeparator() == '\\' && path[at - 1] == ':'))
        --at;
    if (at == 0)
        return std::string();
    std::string dir = path.substr(0, at);
    // A root keeps its separator: "C:\" and "/" stay as they are.
    const bool driveRoot = dir.size() == 3 && dir[1] == ':';
    if (dir.size() > 1 && IsSeparator(dir.back()) && !driveRoot)
        dir.pop_back();
    return dir;
}
