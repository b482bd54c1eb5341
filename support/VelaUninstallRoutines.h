#pragma once
// The applications registered with the system for removal, read from every place they register
// (the local machine's key in each registry view and the current user's key), and the removal
// of a registry entry whose uninstaller has gone.
#include "platform/PlatformRegistry.h"

#include <memory>
#include <string>
#include <vector>

// One registered application; immutable.
class IUninstallInfo {
public:
    virtual ~IUninstallInfo() = default;
    virtual std::string GetName() const = 0;
    virtual std::string GetIconPath() const = 0;
    virtual std::string GetPublisher() const = 0;
    // "" when sizes were not computed or the folder is unknown.
    virtual std::string GetSizeText() const = 0;
    // As stored.
    virtual std::string GetUninstallCommand() const = 0;
    virtual std::string GetVersion() const = 0;
    // The keys the entry was read from: one, or one per registry view that lists the same entry.
    virtual std::vector<platform::RegistryKey> GetRegistryKeys() const = 0;
};

class TUninstallInfo : public IUninstallInfo {
public:
    TUninstallInfo(std::string name, std::string iconPath, std::string publisher, std::string sizeText,
                   std::string uninstallCommand, std::string version, std::vector<platform::RegistryKey> keys);

    std::string GetName() const override { return name_; }
    std::string GetIconPath() const override { return iconPath_; }
    std::string GetPublisher() const override { return publisher_; }
    std::string GetSizeText() const override { return sizeText_; }
    std::string GetUninstallCommand() const override { return uninstallCommand_; }
    std::string GetVersion() const override { return version_; }
    std::vector<platform::RegistryKey> GetRegistryKeys() const override { return keys_; }

private:
    const std::string name_, iconPath_, publisher_, sizeText_, uninstallCommand_, version_;
    const std::vector<platform::RegistryKey> keys_;
};

using TUninstallInfoArray = std::vector<std::shared_ptr<IUninstallInfo>>;

// A command line cut into the program it starts and the arguments after it.
struct TCommandParts {
    std::string program;
    std::string arguments; // without the blanks around them
};

class TUninstallRoutines {
public:
    // Below each root and view.
    static const char* const kUninstallKey;

    // A command that starts with a quote names its program up to the closing quote. Otherwise the
    // quotes are removed and the program ends after the first ".exe" (any case) that ends a word;
    // without one, the whole text is the program.
    static TCommandParts SplitCommand(const std::string& command);
    // The file of an icon reference: quotes removed, cut after ".exe" (which drops an icon index or
    // arguments), else a trailing icon index (",0", ",-101") dropped.
    static std::string IconFileOf(const std::string& iconReference);
    // The existing file a command starts: a path as written, a bare name looked up on the search
    // path; "" when there is none.
    static std::string ExistingProgram(const std::string& command);

    // Every entry with a display name: the local machine's key in each of its views, then the
    // current user's key, each in listing order; an entry listed in several views appears once.
    // With computeSize, the size of the folder of the uninstaller's program.
    static void GetUninstallInfo(bool computeSize, TUninstallInfoArray& entries);
    static void GetUninstallInfo(platform::IRegistry& registry, bool computeSize, TUninstallInfoArray& entries);

    // Deletes the entry's keys (with their subkeys); each only when it is one subkey of an
    // uninstall key. False when any of them stays.
    static bool DeleteEntry(platform::IRegistry& registry, const IUninstallInfo& entry);
};

class TRegistryRoutines {
public:
    // Deletes the key with all its subkeys. Nothing is deleted when a key of the tree is a link
    // (it is never followed) or cannot be listed; false then, and when a deletion fails.
    static bool DeleteKeyTree(platform::IRegistry& registry, const platform::RegistryKey& key);
    static bool DeleteKeyTree(const platform::RegistryKey& key);
};
