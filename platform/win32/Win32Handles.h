#pragma once
// Opening children relative to a held folder and telling where an opened object really is: the
// pieces the listings and the held folders share, written once.
#include "platform/PlatformFileIdentity.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// Wine emulates the NT calls over Unix paths, and some answers differ there.
bool UnderWine();

// One name of a held folder: no path, no stream, nothing that climbs out.
bool IsPlainName(const std::string& name);

// The named child of parent, opened with NtCreateFile relative to it; INVALID_HANDLE_VALUE when
// it cannot be opened.
HANDLE OpenRelative(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options);
// The same with a disposition of the caller's (FILE_OPEN_IF to make it), and the status that says
// why it failed.
HANDLE CreateRelative(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                      ULONG options, NTSTATUS& status);

// A DOS final path without its "\\?\" (or "\\?\UNC\") prefix; the NT form when asked or when the
// volume has no DOS name, which then starts with a single backslash.
bool FinalPathOf(HANDLE handle, bool ntForm, std::wstring& path);
// The same from the object's own name, for systems before Vista: the path it was opened by.
bool PathFromObjectName(HANDLE handle, bool ntForm, std::wstring& path);
// ntPath ("\Device\HarddiskVolume1\a") in DOS form ("C:\a") by the devices behind the drive
// letters, given as pairs of drive ("C:") and device; unchanged when no drive names its volume.
struct DosDevice {
    std::wstring drive;
    std::wstring device;
};
std::wstring DosFormOf(const std::wstring& ntPath, const std::vector<DosDevice>& devices);
bool IsNtForm(const std::wstring& path);
std::wstring ChildPath(const std::wstring& folder, const std::wstring& name);
// Windows compares names without letter case. Wine's final paths are the exact Unix names, and
// there "a" may be a Unix link to its sibling "A", so only the exact path counts.
bool SamePath(const std::wstring& a, const std::wstring& b);

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info);
// The attributes and file index of an opened object, its volume left unasked: Wine answers for a
// volume through its mount manager, a round trip to another process that costs more than listing
// a folder.
bool AttributesAndIndexOf(HANDLE handle, DWORD& attributes, uint64_t& index);
// The last write in FILETIME ticks, as HeldEntry keeps it.
int64_t ModifiedOf(const BY_HANDLE_FILE_INFORMATION& info);

// What follows goes through the NT calls, there since Windows 2000 (XP for the listing's ids),
// where their Win32 forms came with Vista.

enum class ListingEnd { Stopped, Ended, Failed };
// The entries of a folder opened for listing (synchronous I/O) whose names match mask (all when
// empty), each given to visit until it returns true.
ListingEnd ReadListing(HANDLE listing, const std::wstring& mask,
                       const std::function<bool(const FILE_ID_BOTH_DIR_INFORMATION&)>& visit);

bool ReparseTagOf(HANDLE handle, DWORD& tag);
bool AllocationSizeOf(HANDLE handle, int64_t& size);
bool MarkForDeletion(HANDLE handle);
// Windows 10's form, which can remove a name still open elsewhere; older systems refuse it.
bool MarkForDeletionEx(HANDLE handle, DWORD flags);
// Zero attributes stand for FILE_ATTRIBUTE_NORMAL; the times are left as they are.
bool SetAttributesOf(HANDLE handle, DWORD attributes);

} // namespace platform
