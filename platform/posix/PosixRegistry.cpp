#include "platform/PlatformRegistry.h"

namespace platform {

namespace {

// Linux keeps no registry: every key is missing.
class PosixRegistry : public IRegistry {
public:
    std::vector<RegistryView> MachineViews() override { return {RegistryView::rvDefault}; }
    bool ListSubkeys(const RegistryKey&, std::vector<std::string>& names) override
    {
        names.clear();
        return false;
    }
    std::string ReadString(const RegistryKey&, const std::string&) override { return {}; }
    bool IsLink(const RegistryKey&) override { return false; }
    bool DeleteKey(const RegistryKey&) override { return false; }
};

} // namespace

IRegistry& SystemRegistry()
{
    static PosixRegistry registry;
    return registry;
}

} // namespace platform
