#include "platform/posix/PosixDevicesSysfs.h"
#include "platform/PlatformDevices.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace platform {
namespace sysfs {
namespace {

// The mount table escapes blanks, tabs, newlines and backslashes as \ooo.
std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() &&
            std::all_of(text.begin() + i + 1, text.begin() + i + 4, [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IsRealRoot() { return DeviceRoot() == "/"; }

std::string NormalPath(const std::string& path)
{
    if (IsRealRoot()) {
        // Symbolic links lead to the mount that really holds the path.
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved))
            return resolved;
    }
    std::string out = path;
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

bool Contains(const std::string& mountPoint, const std::string& path)
{
    if (mountPoint == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, mountPoint.size(), mountPoint) == 0 &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

std::vector<std::string> ListDirectory(const std::string& path)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 || lstat(path.c_str(), &info) == 0;
}

std::string ClassBlock(const std::string& name) { return UnderRoot("/sys/class/block/" + name); }

void CollectDisks(const std::string& name, int depth, std::vector<std::string>& disks)
{
    // Mapped volumes nest; a bound keeps a looped fixture from recursing forever.
    if (depth > 16 || !BlockExists(name))
        return;
    const std::vector<std::string> slaves = ListDirectory(ClassBlock(name) + "/slaves");
    if (!slaves.empty()) {
        for (const std::string& slave : slaves)
            CollectDisks(slave, depth + 1, disks);
        return;
    }
    std::string disk = name;
    if (Exists(ClassBlock(name) + "/partition")) {
        disk.clear();
        for (const std::string& candidate : ListDirectory(UnderRoot("/sys/class/block")))
            if (candidate != name && Exists(ClassBlock(candidate) + "/" + name)) {
                disk = candidate;
                break;
            }
        if (disk.empty())
            return;
        // A partition of a mapped device (a partitioned RAID) leads on to that device's disks.
        if (!ListDirectory(ClassBlock(disk) + "/slaves").empty()) {
            CollectDisks(disk, depth + 1, disks);
            return;
        }
    }
    if (std::find(disks.begin(), disks.end(), disk) == disks.end())
        disks.push_back(disk);
}

} // namespace

std::string UnderRoot(const std::string& path)
{
    const std::string root = DeviceRoot();
    if (root == "/")
        return path;
    return (root.empty() || root.back() != '/' ? root : root.substr(0, root.size() - 1)) + path;
}

bool ReadLine(const std::string& path, std::string& line)
{
    line.clear();
    std::ifstream in(path);
    if (!in) {
        if (errno == 0)
            errno = ENOENT;
        return false;
    }
    std::getline(in, line);
    return true;
}

bool ReadMountTable(std::vector<MountEntry>& entries)
{
    entries.clear();
    std::ifstream in(UnderRoot("/proc/self/mountinfo"));
    if (!in) {
        if (errno == 0)
            errno = ENOENT;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        // id parent major:minor root mount-point options [optional fields] - type source super-options
        std::istringstream fields(line);
        std::string id, parent, majorMinor, root, mountPoint, options, field;
        if (!(fields >> id >> parent >> majorMinor >> root >> mountPoint >> options))
            continue;
        while (fields >> field && field != "-") {}
        MountEntry entry;
        if (!(fields >> entry.fileSystem))
            continue;
        fields >> entry.source;
        entry.majorMinor = majorMinor;
        entry.mountPoint = Unescape(mountPoint);
        entry.source = Unescape(entry.source);
        entries.push_back(entry);
    }
    return true;
}

bool FindMount(const std::string& path, MountEntry& mount)
{
    std::vector<MountEntry> entries;
    if (!ReadMountTable(entries))
        return false;
    const std::string normal = NormalPath(path);
    bool found = false;
    for (const MountEntry& entry : entries)
        if (Contains(entry.mountPoint, normal) && (!found || entry.mountPoint.size() >= mount.mountPoint.size())) {
            mount = entry;
            found = true;
        }
    if (!found)
        errno = ENOENT;
    return found;
}

std::string BlockNameOf(const MountEntry& mount)
{
    const std::string blockRoot = UnderRoot("/sys/class/block");
    if (mount.majorMinor.compare(0, 2, "0:") != 0)
        for (const std::string& name : ListDirectory(blockRoot)) {
            std::string dev;
            if (ReadLine(blockRoot + "/" + name + "/dev", dev) && dev == mount.majorMinor)
                return name;
        }
    // Some file systems (btrfs) show an anonymous device number; their source names the device.
    if (mount.source.compare(0, 5, "/dev/") == 0) {
        std::string device = mount.source;
        char resolved[PATH_MAX];
        if (IsRealRoot() && realpath(device.c_str(), resolved))
            device = resolved;
        const std::string name = device.substr(device.rfind('/') + 1);
        if (!name.empty() && BlockExists(name))
            return name;
    }
    return {};
}

bool BlockExists(const std::string& name)
{
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != ".." &&
           Exists(ClassBlock(name));
}

std::vector<std::string> WholeDisksOf(const std::string& name)
{
    std::vector<std::string> disks;
    CollectDisks(name, 0, disks);
    return disks;
}

std::vector<std::string> PhysicalDisks()
{
    std::vector<std::string> disks;
    for (const std::string& name : ListDirectory(UnderRoot("/sys/class/block")))
        if (!Exists(ClassBlock(name) + "/partition") && Exists(ClassBlock(name) + "/device"))
            disks.push_back(name);
    return disks;
}

bool ReadBlockFile(const std::string& name, const std::string& file, std::string& text)
{
    return ReadLine(ClassBlock(name) + "/" + file, text);
}

} // namespace sysfs
} // namespace platform
