#pragma once
// The registry: listing keys, reading text values and deleting keys, in one of its views. Only
// Windows has one; elsewhere SystemRegistry holds no keys. Texts are UTF-8.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class RegistryRoot : uint8_t { rrLocalMachine, rrCurrentUser };

// A 32-bit program on a 64-bit system sees the 32-bit view unless it asks for the other one.
enum class RegistryView : uint8_t { rvDefault, rv64, rv32 };

struct RegistryKey {
    RegistryRoot root = RegistryRoot::rrLocalMachine;
    RegistryView view = RegistryView::rvDefault;
    std::string path; // below the root, parts separated by "\\"
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // The views in which the local machine's keys differ: the 64-bit and the 32-bit one on a
    // 64-bit system, the default one elsewhere.
    virtual std::vector<RegistryView> MachineViews() = 0;
    // The names of the key's immediate subkeys; false when it cannot be opened for reading.
    virtual bool ListSubkeys(const RegistryKey& key, std::vector<std::string>& names) = 0;
    // A text value, an expandable one with its variables expanded; empty when absent, unreadable
    // or not text.
    virtual std::string ReadString(const RegistryKey& key, const std::string& name) = 0;
    // Whether the key is itself a link to another key (the link is not followed to find out).
    virtual bool IsLink(const RegistryKey& key) = 0;
    // Deletes the key itself, which must have no subkeys; a link is deleted as a link, never
    // followed. False when it cannot be opened or deleted.
    virtual bool DeleteKey(const RegistryKey& key) = 0;
};

IRegistry& SystemRegistry();

} // namespace platform
