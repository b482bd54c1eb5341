#include "platform/PlatformEnvironment.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool GetEnvironmentValue(const std::string& name, std::string& value)
{
    const char* text = std::getenv(name.c_str());
    if (!text)
        return false;
    value = text;
    return true;
}

bool SetEnvironmentValue(const std::string& name, const std::string& value)
{
    return setenv(name.c_str(), value.c_str(), 1) == 0;
}

bool UnsetEnvironmentValue(const std::string& name) { return unsetenv(name.c_str()) == 0; }

namespace {

bool IsNameChar(char ch) { return ch == '_' || (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

} // namespace

bool ExpandEnvironmentText(const std::string& text, std::string& result)
{
    result.clear();
    size_t at = 0;
    while (at < text.size()) {
        const char ch = text[at];
        std::string name, value;
        size_t next = std::string::npos;
        if (ch == '%') {
            const size_t close = text.find('%', at + 1);
            if (close != std::string::npos && close > at + 1) {
                name = text.substr(at + 1, close - at - 1);
                next = close + 1;
            }
        } else if (ch == '$' && at + 1 < text.size() && text[at + 1] == '{') {
            const size_t close = text.find('}', at + 2);
            if (close != std::string::npos && close > at + 2) {
                name = text.substr(at + 2, close - at - 2);
                next = close + 1;
            }
        } else if (ch == '$') {
            size_t end = at + 1;
            while (end < text.size() && IsNameChar(text[end]))
                ++end;
            if (end > at + 1) {
                name = text.substr(at + 1, end - at - 1);
                next = end;
            }
        }
        if (next != std::string::npos && GetEnvironmentValue(name, value)) {
            result += value;
            at = next;
        } else {
            result += ch;
            ++at;
        }
    }
    return true;
}

std::string WindowsDirectory() { return std::string(); }

std::string HomeDirectory()
{
    std::string home;
    if (GetEnvironmentValue("HOME", home) && !home.empty())
        return home;
    struct passwd record {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &record, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return std::string();
}

char PathListSeparator() { return ':'; }

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace platform
