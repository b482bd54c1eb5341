#pragma once
// The program's own settings beside the preferences file: "key=value" lines in a small text file.
// The preferences file keeps its fixed format; anything added since lives here. Keys this version
// does not know are kept and written back, so an older or newer copy loses nothing of the other's.
#include <string>
#include <utility>
#include <vector>

class TSettings {
public:
    static constexpr const char* kFileName = "quillsweep-settings.ini";

    // The settings file in the folder of preferencesFile.
    static std::string FileBeside(const std::string& preferencesFile);

    // Reads file; a missing one gives the defaults quietly, a damaged one the defaults and a
    // notice. Never throws.
    void Load(const std::string& file);
    // Writes the whole file under a temporary name and renames it over the old one; false (the
    // old file untouched) when it cannot be written.
    bool Save() const;

    const std::string& FileName() const { return file_; }
    // Why the file was not read as it stands, for the caller to show; empty when it was.
    const std::string& Notice() const { return notice_; }

    // Cleans move objects to the Recycle Bin (the Trash) instead of deleting them.
    bool Recycle() const;
    void SetRecycle(bool value);

private:
    std::string Value(const std::string& key) const;
    void SetValue(const std::string& key, const std::string& value);

    std::string file_;
    std::string notice_;
    std::vector<std::pair<std::string, std::string>> entries_;  // in the file's order
};
