#include "platform/PlatformDevices.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32DeviceStandIn.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstring>
#include <vector>

namespace platform {

namespace device_testing {
namespace {
TStandIn& CurrentStandIn()
{
    static TStandIn standIn;
    return standIn;
}
} // namespace

void SetStandIn(TStandIn standIn) { CurrentStandIn() = std::move(standIn); }
} // namespace device_testing

namespace {

[[noreturn]] void RaiseCode(DWORD code, const std::string& context)
{
    throw EOSError(static_cast<int>(code), context + ": " + SystemErrorMessage(static_cast<int>(code)));
}

// Whether a stand-in answered the step; error and returned then hold its answer.
bool StoodIn(const std::string& device, DWORD code, void* out, DWORD outSize, DWORD& returned, DWORD& error)
{
    const device_testing::TStandIn& standIn = device_testing::CurrentStandIn();
    returned = error = 0;
    return standIn && standIn(device, code, out, outSize, returned, error);
}

class DeviceHandle {
public:
    DeviceHandle(const std::string& device, DWORD access) : device_(device)
    {
        DWORD returned = 0, error = 0;
        if (StoodIn(device, device_testing::kOpenDevice, nullptr, 0, returned, error)) {
            if (error != 0)
                RaiseCode(error, "Cannot open device \"" + device + "\"");
            return;
        }
        handle_ = CreateFileW(Widen(device).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            RaiseLastOSError("Cannot open device \"" + device + "\"");
    }
    ~DeviceHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    DeviceHandle(const DeviceHandle&) = delete;
    DeviceHandle& operator=(const DeviceHandle&) = delete;

    // The control code's output size, or 0 with the error code in error.
    DWORD Control(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD& error)
    {
        DWORD returned = 0;
        error = 0;
        if (handle_ == INVALID_HANDLE_VALUE) {  // a stand-in's device: it answers or nobody does
            if (!StoodIn(device_, code, out, outSize, returned, error))
                error = ERROR_INVALID_FUNCTION;
            return error ? 0 : returned;
        }
        if (!DeviceIoControl(handle_, code, in, inSize, out, outSize, &returned, nullptr)) {
            error = GetLastError();
            return 0;
        }
        return returned;
    }

private:
    std::string device_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::wstring WithTrailingBackslash(std::wstring text)
{
    if (text.empty() || text.back() != L'\\')
        text += L'\\';
    return text;
}

} // namespace

void SetDeviceRoot(const std::string&) {}
std::string DeviceRoot() { return {}; }

int QueryDriveType(const std::string& root) { return static_cast<int>(GetDriveTypeW(Widen(root).c_str())); }

bool QueryVolumeInformation(const std::string& root, VolumeInformation& info)
{
    info = VolumeInformation {};
    wchar_t label[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    if (!GetVolumeInformationW(Widen(root).c_str(), label, MAX_PATH + 1, &serial, &maxComponent, &flags,
                               fileSystem, MAX_PATH + 1))
        return false;
    info.label = Narrow(label);
    info.serial = serial;
    info.fileSystem = Narrow(fileSystem);
    return true;
}

bool QueryDiskSpace(const std::string& root, int64_t& total, int64_t& free)
{
    total = free = -1;
    const std::wstring wide = Widen(root);
    using ExFn = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    if (auto ex = SystemEntry<ExFn>(L"kernel32.dll", "GetDiskFreeSpaceExW")) {
        ULARGE_INTEGER available, bytes, freeBytes;
        if (!ex(wide.c_str(), &available, &bytes, &freeBytes))
            return false;
        total = static_cast<int64_t>(bytes.QuadPart);
        free = static_cast<int64_t>(available.QuadPart);
        return true;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(wide.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return false;
    const int64_t cluster = static_cast<int64_t>(sectorsPerCluster) * bytesPerSector;
    total = cluster * clusters;
    free = cluster * freeClusters;
    return true;
}

bool QueryVolumePathName(const std::string& path, std::string& mountPoint)
{
    using Fn = BOOL(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
    auto volumePathName = SystemEntry<Fn>(L"kernel32.dll", "GetVolumePathNameW");
    if (!volumePathName)
        return false;
    const std::wstring wide = Widen(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        RaiseLastOSError("Cannot expand \"" + path + "\"");
    // The mount point is never longer than the full path; a root needs its separator too.
    std::vector<wchar_t> buffer(length + 2, L'\0');
    if (!volumePathName(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size())))
        RaiseLastOSError("Cannot find the volume of \"" + path + "\"");
    mountPoint = Narrow(buffer.data());
    return true;
}

bool QueryVolumeName(const std::string& mountPoint, std::string& volumeName)
{
    using Fn = BOOL(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
    auto volumeNameFor = SystemEntry<Fn>(L"kernel32.dll", "GetVolumeNameForVolumeMountPointW");
    if (!volumeNameFor)
        return false;
    wchar_t buffer[50] = {};
    DWORD returned = 0, error = 0;
    if (StoodIn(mountPoint, device_testing::kNameVolume, buffer, sizeof buffer - sizeof buffer[0], returned, error)) {
        if (error != 0)
            RaiseCode(error, "Cannot name the volume at \"" + mountPoint + "\"");
    } else if (!volumeNameFor(WithTrailingBackslash(Widen(mountPoint)).c_str(), buffer, 50)) {
        RaiseLastOSError("Cannot name the volume at \"" + mountPoint + "\"");
    }
    volumeName = Narrow(buffer);
    if (!volumeName.empty() && volumeName.back() == '\\')
        volumeName.pop_back();
    return true;
}

std::vector<uint32_t> QueryVolumeDiskExtents(const std::string& volumeName)
{
    DeviceHandle volume(volumeName, FILE_READ_ATTRIBUTES);
    std::vector<unsigned char> buffer(sizeof(VOLUME_DISK_EXTENTS), 0);
    DWORD error = 0;
    DWORD returned = volume.Control(IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), error);
    if (error == ERROR_MORE_DATA) {
        DWORD count = 0;
        std::memcpy(&count, buffer.data(), sizeof count);
        // A count no volume can have would overflow the size computation.
        if (count == 0 || count > 4096)
            RaiseCode(error, "Cannot list the disks of \"" + volumeName + "\"");
        buffer.assign(offsetof(VOLUME_DISK_EXTENTS, Extents) + sizeof(DISK_EXTENT) * count, 0);
        returned = volume.Control(IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, buffer.data(),
                                  static_cast<DWORD>(buffer.size()), error);
    }
    if (error != 0)
        RaiseCode(error, "Cannot list the disks of \"" + volumeName + "\"");
    std::vector<uint32_t> disks;
    if (returned < sizeof(DWORD))
        return disks;
    DWORD count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    const size_t first = offsetof(VOLUME_DISK_EXTENTS, Extents);
    for (DWORD i = 0; i < count; ++i) {
        const size_t at = first + i * sizeof(DISK_EXTENT);
        if (at + sizeof(DISK_EXTENT) > returned)
            break;
        DISK_EXTENT extent;
        std::memcpy(&extent, buffer.data() + at, sizeof extent);
        disks.push_back(extent.DiskNumber);
    }
    return disks;
}

size_t QueryDeviceDescriptor(const std::string& device, unsigned char* descriptor)
{
    DeviceHandle handle(device, 0);
    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::memset(descriptor, 0, kDeviceDescriptorSize);
    const DWORD size = static_cast<DWORD>(kDeviceDescriptorSize);
    std::memcpy(descriptor + offsetof(STORAGE_DEVICE_DESCRIPTOR, Size), &size, sizeof size);
    DWORD error = 0;
    const DWORD returned = handle.Control(IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, descriptor, size, error);
    if (error != 0)
        RaiseCode(error, "Cannot read the descriptor of \"" + device + "\"");
    return returned;
}

bool QueryIncursSeekPenalty(const std::string& device)
{
    DeviceHandle handle(device, FILE_READ_ATTRIBUTES);
    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceSeekPenaltyProperty;
    query.QueryType = PropertyStandardQuery;
    DEVICE_SEEK_PENALTY_DESCRIPTOR penalty = {};
    DWORD error = 0;
    handle.Control(IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &penalty, sizeof penalty, error);
    if (error != 0)
        RaiseCode(error, "Cannot query the seek penalty of \"" + device + "\"");
    return penalty.IncursSeekPenalty != FALSE;
}

unsigned QueryAtaRotationRate(const std::string& device)
{
    DeviceHandle handle(device, GENERIC_READ | GENERIC_WRITE);
    const size_t header = sizeof(ATA_PASS_THROUGH_EX);
    std::vector<unsigned char> buffer(header + 512, 0);
    ATA_PASS_THROUGH_EX request = {};
    request.Length = static_cast<USHORT>(header);
    request.AtaFlags = ATA_FLAGS_DATA_IN;
    request.DataTransferLength = 512;
    request.TimeOutValue = 3;
    request.DataBufferOffset = header;
    request.CurrentTaskFile[6] = 0xEC;  // IDENTIFY DEVICE
    std::memcpy(buffer.data(), &request, header);
    DWORD error = 0;
    const DWORD returned = handle.Control(IOCTL_ATA_PASS_THROUGH, buffer.data(), static_cast<DWORD>(buffer.size()),
                                          buffer.data(), static_cast<DWORD>(buffer.size()), error);
    if (error != 0)
        RaiseCode(error, "Cannot identify \"" + device + "\"");
    const size_t word = header + 217 * 2;
    if (returned < word + 2)
        return 0;
    return buffer[word] | buffer[word + 1] << 8;
}

bool IsUnansweredQuery(int code)
{
    switch (static_cast<DWORD>(code)) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_PARAMETER:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NOT_A_REPARSE_POINT:  // Wine: a drive that maps a Unix folder has no volume to name
        return true;
    default:
        return false;
    }
}

// Windows reports the whole disk's size through the management service.
bool QueryDiskLength(const std::string&, uint64_t& bytes)
{
    bytes = 0;
    return false;
}

} // namespace platform
