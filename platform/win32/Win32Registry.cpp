#include "platform/PlatformRegistry.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace platform {

namespace {

#ifndef KEY_WOW64_64KEY
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
#endif
#ifndef REG_OPTION_OPEN_LINK
constexpr DWORD REG_OPTION_OPEN_LINK = 0x00000008;
#endif

struct KeyHandle {
    HKEY key = nullptr;
    ~KeyHandle()
    {
        if (key)
            RegCloseKey(key);
    }
};

HKEY RootOf(RegistryRoot root)
{
    return root == RegistryRoot::rrCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

REGSAM ViewOf(RegistryView view)
{
    switch (view) {
    case RegistryView::rv64: return KEY_WOW64_64KEY;
    case RegistryView::rv32: return KEY_WOW64_32KEY;
    default: return 0;
    }
}

// The key itself, never the key a link at the end of the path leads to, when asLink is set.
bool Open(const RegistryKey& key, REGSAM access, bool asLink, KeyHandle& handle)
{
    return RegOpenKeyExW(RootOf(key.root), Widen(key.path).c_str(), asLink ? REG_OPTION_OPEN_LINK : 0,
                         access | ViewOf(key.view), &handle.key) == ERROR_SUCCESS;
}

bool LinkAt(HKEY key)
{
    DWORD type = REG_NONE;
    return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

class Win32Registry : public IRegistry {
public:
    std::vector<RegistryView> MachineViews() override
    {
        if (IsSystem64Bit())
            return {RegistryView::rv64, RegistryView::rv32};
        return {RegistryView::rvDefault};
    }

    bool ListSubkeys(const RegistryKey& key, std::vector<std::string>& names) override
    {
        names.clear();
        KeyHandle handle;
        if (!Open(key, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, false, handle))
            return false;
        // Key names are at most 255 characters.
        wchar_t name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = 256;
            const LONG result = RegEnumKeyExW(handle.key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_NO_MORE_ITEMS)
                return true;
            if (result != ERROR_SUCCESS)
                return false;
            names.push_back(Narrow(name, static_cast<int>(length)));
        }
    }

    std::string ReadString(const RegistryKey& key, const std::string& name) override
    {
        KeyHandle handle;
        if (!Open(key, KEY_QUERY_VALUE, false, handle))
            return {};
        const std::wstring valueName = Widen(name);
        DWORD type = REG_NONE;
        DWORD bytes = 0;
        if (RegQueryValueExW(handle.key, valueName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        // Room for a terminator the stored value may lack.
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegQueryValueExW(handle.key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]),
                             &bytes) != ERROR_SUCCESS)
            return {};
        text.resize(wcsnlen(text.c_str(), text.size()));
        if (type == REG_EXPAND_SZ) {
            const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
            std::wstring expanded(needed, L'\0');
            if (needed && ExpandEnvironmentStringsW(text.c_str(), &expanded[0], needed) == needed) {
                expanded.resize(needed - 1);
                text = expanded;
            }
        }
        return Narrow(text);
    }

    bool IsLink(const RegistryKey& key) override
    {
        KeyHandle handle;
        return Open(key, KEY_QUERY_VALUE, true, handle) && LinkAt(handle.key);
    }

    bool DeleteKey(const RegistryKey& key) override
    {
        // Deleting through a handle of the key itself: RegDeleteKey would delete a link's target.
        using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
        static const auto ntDeleteKey = SystemEntry<NtDeleteKeyFn>(L"ntdll.dll", "NtDeleteKey");
        KeyHandle handle;
        if (!ntDeleteKey || !Open(key, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, true, handle))
            return false;
        DWORD subkeys = 0;
        // A key with subkeys stays, whatever the system would do with it.
        if (RegQueryInfoKeyW(handle.key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            subkeys != 0)
            return false;
        return ntDeleteKey(handle.key) >= 0;
    }
};

} // namespace

IRegistry& SystemRegistry()
{
    static Win32Registry registry;
    return registry;
}

} // namespace platform
