#pragma once
// A registry held in memory: keys by root, view and path (letter case ignored), text values, and
// keys marked as links. MachineViews answers as a 64-bit system does.
#include "platform/PlatformRegistry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

class FakeRegistry : public platform::IRegistry {
public:
    using Key = platform::RegistryKey;

    // Creates the key and the keys above it.
    void Set(const Key& key, const std::string& name, const std::string& value)
    {
        Create(key);
        keys_[Id(key)].values[name] = value;
    }
    void Create(const Key& key)
    {
        const size_t cut = key.path.rfind('\\');
        if (cut != std::string::npos)
            Create({key.root, key.view, key.path.substr(0, cut)});
        Node& node = keys_[Id(key)];
        node.key = key;
    }
    void MakeLink(const Key& key) { keys_[Id(key)].link = true; }
    bool Exists(const Key& key) const { return keys_.count(Id(key)) != 0; }
    std::vector<Key> deleted;

    std::vector<platform::RegistryView> MachineViews() override
    {
        return {platform::RegistryView::rv64, platform::RegistryView::rv32};
    }
    bool ListSubkeys(const Key& key, std::vector<std::string>& names) override
    {
        names.clear();
        if (!Exists(key))
            return false;
        for (const auto& [id, node] : keys_)
            if (Parent(node.key) == Id(key))
                names.push_back(node.key.path.substr(node.key.path.rfind('\\') + 1));
        return true;
    }
    std::string ReadString(const Key& key, const std::string& name) override
    {
        const auto node = keys_.find(Id(key));
        if (node == keys_.end())
            return {};
        const auto value = node->second.values.find(name);
        return value == node->second.values.end() ? std::string() : value->second;
    }
    bool IsLink(const Key& key) override
    {
        const auto node = keys_.find(Id(key));
        return node != keys_.end() && node->second.link;
    }
    bool DeleteKey(const Key& key) override
    {
        std::vector<std::string> subkeys;
        if (!ListSubkeys(key, subkeys) || !subkeys.empty())
            return false;
        keys_.erase(Id(key));
        deleted.push_back(key);
        return true;
    }

private:
    struct Node {
        Key key;
        std::map<std::string, std::string> values;
        bool link = false;
    };
    static std::string Id(const Key& key)
    {
        std::string path = key.path;
        std::transform(path.begin(), path.end(), path.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        return std::to_string(static_cast<int>(key.root)) + "|" + std::to_string(static_cast<int>(key.view)) + "|" + path;
    }
    static std::string Parent(const Key& key)
    {
        const size_t cut = key.path.rfind('\\');
        return cut == std::string::npos ? std::string() : Id({key.root, key.view, key.path.substr(0, cut)});
    }
    std::map<std::string, Node> keys_;
};

} // namespace testing_support
