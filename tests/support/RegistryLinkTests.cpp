// Registry links met by the real registry: a tree holding one is left whole, and the link's
// target is never reached. Windows only (elsewhere there is no registry).
#ifdef _WIN32
#include "platform/win32/Win32Text.h"
#include "support/VelaUninstallRoutines.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

class RegistryLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring id = std::to_wstring(GetCurrentProcessId());
        tree = L"System\\QsLinkTree" + id;
        target = L"System\\QsLinkTarget" + id;
        ASSERT_TRUE(Create(target + L"\\Inner", 0));
        ASSERT_TRUE(Create(tree + L"\\Plain", 0));
        HKEY link = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, (tree + L"\\Link").c_str(), 0, nullptr,
                                                 REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, nullptr, &link, nullptr));
        // Not below Software, which a 32-bit program sees redirected; links name native paths.
        const std::wstring native = L"\\Registry\\Machine\\" + target;
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                                                reinterpret_cast<const BYTE*>(native.c_str()),
                                                static_cast<DWORD>(native.size() * sizeof(wchar_t))));
        RegCloseKey(link);
    }
    void TearDown() override
    {
        // The link goes as itself, through the routine under test's platform call.
        platform::SystemRegistry().DeleteKey(Key(tree + L"\\Link"));
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, (tree + L"\\Plain").c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, tree.c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, (target + L"\\Inner").c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, target.c_str());
    }

    static bool Create(const std::wstring& path, DWORD options)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    static bool Exists(const std::wstring& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    static platform::RegistryKey Key(const std::wstring& path)
    {
        return {platform::RegistryRoot::rrLocalMachine, platform::RegistryView::rvDefault, platform::Narrow(path)};
    }
    std::wstring tree, target;
};

} // namespace

TEST_F(RegistryLinks, ATreeHoldingALinkIsLeftWholeAndItsTargetUntouched)
{
    ASSERT_TRUE(Exists(tree + L"\\Link\\Inner")) << "the link leads to its target";
    platform::IRegistry& registry = platform::SystemRegistry();
    EXPECT_TRUE(registry.IsLink(Key(tree + L"\\Link")));
    EXPECT_FALSE(registry.IsLink(Key(tree + L"\\Plain")));

    EXPECT_FALSE(TRegistryRoutines::DeleteKeyTree(Key(tree)));
    EXPECT_TRUE(Exists(tree + L"\\Plain"));
    EXPECT_TRUE(Exists(target + L"\\Inner"));

    // Deleting the link itself leaves its target.
    EXPECT_TRUE(registry.DeleteKey(Key(tree + L"\\Link")));
    EXPECT_TRUE(Exists(target + L"\\Inner"));
    EXPECT_TRUE(TRegistryRoutines::DeleteKeyTree(Key(tree)));
    EXPECT_FALSE(Exists(tree));
    EXPECT_TRUE(Exists(target));
}
#endif
