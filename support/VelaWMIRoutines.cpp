#include "support/VelaWMIRoutines.h"

bool TWMIRoutines::ExecQuery(const std::string& query, std::vector<platform::WmiObject>& objects)
{
    return platform::WmiQuery(query, objects);
}

bool TWMIRoutines::ParseVersionText(const std::string& text, int& major, int& minor, int& build)
{
    major = minor = build = 0;
    if (text.empty())
        return false;
    int* parts[3] = {&major, &minor, &build};
    size_t index = 0;
    size_t start = 0;
    while (index < 3) {
        const size_t dot = text.find('.', start);
        const std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        long long value = 0;
        for (char c : part)
            if (c >= '0' && c <= '9' && value < 100000000)
                value = value * 10 + (c - '0');
        *parts[index++] = static_cast<int>(value);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return true;
}

bool TWMIRoutines::GetWmiWindowsVersion(int& major, int& minor, int& build)
{
    major = minor = build = 0;
    std::vector<platform::WmiObject> objects;
    if (!ExecQuery("SELECT Version FROM Win32_OperatingSystem", objects) || objects.empty())
        return false;
    const auto version = objects.front().find("Version");
    return version != objects.front().end() && ParseVersionText(version->second, major, minor, build);
}
