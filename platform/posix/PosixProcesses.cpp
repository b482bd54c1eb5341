#include "platform/PlatformProcesses.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string>

namespace platform {

namespace {

bool AllDigits(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name; ++name)
        if (*name < '0' || *name > '9')
            return false;
    return true;
}

template <typename Visit>
void ForEachEntry(const std::string& directory, Visit visit)
{
    DIR* dir = opendir(directory.c_str());
    if (!dir)
        return;
    while (dirent* entry = readdir(dir))
        visit(entry->d_name);
    closedir(dir);
}

} // namespace

std::set<FileIdentity> FilesHeldOpen()
{
    std::set<FileIdentity> files;
    // Processes of other users, or ones that end meanwhile, simply cannot be read.
    ForEachEntry("/proc", [&](const char* pid) {
        if (!AllDigits(pid))
            return;
        const std::string fds = std::string("/proc/") + pid + "/fd";
        ForEachEntry(fds, [&](const char* fd) {
            if (!AllDigits(fd))
                return;
            struct stat st {};
            // The descriptor's own link leads to the open file, which is the one that matters.
            if (stat((fds + "/" + fd).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                files.insert({static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)});
        });
    });
    return files;
}

bool HeldFileAt(const std::string& path, FileIdentity& file)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    file = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    return true;
}

} // namespace platform
