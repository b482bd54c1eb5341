#include "platform/PlatformFiles.h"

namespace platform {

bool ReadFileLines(const std::string& path, const std::function<bool(const std::string&)>& visit)
{
    FileHandle file(path, FileAccess::ReadShared);
    if (!file.IsOpen())
        return false;
    std::string pending;
    char buffer[4096];
    for (;;) {
        const int64_t got = file.Read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        pending.append(buffer, static_cast<size_t>(got));
        size_t start = 0;
        for (size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1)
            if (!visit(pending.substr(start, end - start)))
                return true;
        pending.erase(0, start);
    }
    if (!pending.empty())
        visit(pending);
    return true;
}

bool WriteFileWhole(const std::string& path, const std::string& bytes)
{
    const std::string partial = path + ".partial";
    bool written = false;
    {
        FileHandle out(partial, FileAccess::CreateTruncate);
        written = out.IsOpen() && out.Write(bytes.data(), static_cast<int64_t>(bytes.size())) ==
                                      static_cast<int64_t>(bytes.size());
    }
    if (written && MoveFileReplacing(partial, path))
        return true;
    DeleteFileAt(partial);
    return false;
}

} // namespace platform
