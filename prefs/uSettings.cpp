#include "prefs/uSettings.h"

#include "platform/PlatformFiles.h"

#include <cstdio>

namespace {

constexpr const char* kRecycle = "recycle";
// Larger than any file this version writes by far; anything bigger is not ours.
constexpr size_t kMostBytes = 64 * 1024;
constexpr const char* kDamaged = "The settings file \"%s\" could not be read; the default settings are used.";

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool KnownValue(const std::string& key, const std::string& value)
{
    return key != kRecycle || value == "0" || value == "1";
}

} // namespace

std::string TSettings::FileBeside(const std::string& preferencesFile)
{
    const size_t slash = preferencesFile.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : preferencesFile.substr(0, slash + 1)) + kFileName;
}

void TSettings::Load(const std::string& file)
{
    file_ = file;
    notice_.clear();
    entries_.clear();
    if (!platform::FileExists(file))
        return;
    std::vector<std::pair<std::string, std::string>> read;
    size_t bytes = 0;
    bool damaged = false;
    const bool opened = platform::ReadFileLines(file, [&](const std::string& raw) {
        bytes += raw.size() + 1;
        const std::string line = Trimmed(raw);
        const size_t equals = line.find('=');
        if (bytes > kMostBytes || line.find('\0') != std::string::npos) {
            damaged = true;
            return false;
        }
        if (line.empty() || line[0] == '#' || line[0] == ';')
            return true;
        const std::string key = equals == std::string::npos ? std::string() : Trimmed(line.substr(0, equals));
        const std::string value = equals == std::string::npos ? std::string() : Trimmed(line.substr(equals + 1));
        if (key.empty() || !KnownValue(key, value)) {
            damaged = true;
            return false;
        }
        for (auto& entry : read)
            if (entry.first == key) {
                entry.second = value;
                return true;
            }
        read.emplace_back(key, value);
        return true;
    });
    if (!opened || damaged) {
        char text[1024];
        std::snprintf(text, sizeof text, kDamaged, file.c_str());
        notice_ = text;
        return;
    }
    entries_ = std::move(read);
}

bool TSettings::Save() const
{
    if (file_.empty())
        return false;
    std::string text = "# Quillsweep settings: one key=value a line\n";
    for (const auto& [key, value] : entries_)
        text += key + "=" + value + "\n";
    return platform::WriteFileWhole(file_, text);
}

bool TSettings::Recycle() const { return Value(kRecycle) == "1"; }

void TSettings::SetRecycle(bool value) { SetValue(kRecycle, value ? "1" : "0"); }

std::string TSettings::Value(const std::string& key) const
{
    for (const auto& entry : entries_)
        if (entry.first == key)
            return entry.second;
    return std::string();
}

void TSettings::SetValue(const std::string& key, const std::string& value)
{
    for (auto& entry : entries_)
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    entries_.emplace_back(key, value);
}
