// The uninstall window in the real program over entries the test writes into the registry: the
// 64-bit and 32-bit views, the current user, a GUID subkey, an uninstaller that exists and one
// that has gone. Every key written is removed again.
#include "tests/windows/ProgramWindowsFixture.h"

#include <map>
#include <shlwapi.h>

using namespace program_testing;

namespace {

constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct TTestKey {
    HKEY root;
    REGSAM view;
    std::wstring subkey;
};

std::string RecorderNextToTests()
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + QS_UNINSTALL_RECORDER_EXE;
}

bool KeyExists(const TTestKey& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(key.root, (std::wstring(kUninstallKey) + L"\\" + key.subkey).c_str(), 0, KEY_READ | key.view, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

class UninstallWindow : public ProgramWindows {
protected:
    void TearDown() override
    {
        for (const TTestKey& key : written) {
            HKEY parent = nullptr;
            if (RegOpenKeyExW(key.root, kUninstallKey, 0, KEY_ALL_ACCESS | key.view, &parent) == ERROR_SUCCESS) {
                SHDeleteKeyW(parent, key.subkey.c_str());
                RegCloseKey(parent);
            }
        }
        ProgramWindows::TearDown();
    }

    // One entry; the subkey and the name carry the test's tag, a child key goes below the subkey.
    void Write(HKEY root, REGSAM view, const std::wstring& subkey, const std::string& name, const std::string& command,
               const std::wstring& child = L"")
    {
        const TTestKey key{root, view, subkey + tag + (child.empty() ? L"" : L"\\" + child)};
        written.push_back(key);
        HKEY created = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, (std::wstring(kUninstallKey) + L"\\" + key.subkey).c_str(), 0, nullptr, 0,
                                                 KEY_WRITE | view, nullptr, &created, nullptr));
        const auto set = [&](const wchar_t* value, const std::string& text) {
            const std::wstring wide = platform::Widen(text);
            RegSetValueExW(created, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                           static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
        };
        set(L"DisplayName", name.empty() ? name : name + platform::Narrow(tag));
        set(L"Publisher", name + " Publisher");
        set(L"DisplayVersion", "1." + std::to_string(written.size()));
        set(L"UninstallString", command);
        RegCloseKey(created);
    }

    const std::wstring tag = L"-qs" + std::to_wstring(GetCurrentProcessId());
    std::vector<TTestKey> written;
};

} // namespace

TEST_F(UninstallWindow, ListsEveryRegisteredPlaceOnceStartsAnUninstallerAndRemovesOnlyTheStaleKey)
{
    const std::string recorder = dir.File("uninstall me.exe");
    ASSERT_TRUE(CopyFileW(platform::Widen(RecorderNextToTests()).c_str(), platform::Widen(recorder).c_str(), FALSE));
    const std::string present = "\"" + recorder + "\" /S /LOG=\"x y\"";
    const std::string gone = "\"" + dir.File("gone\\unins000.exe") + "\" /SILENT";
    Write(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"Machine64", "QS Sixty-Four", present);
    Write(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Machine32", "QS Thirty-Two", "\"" + dir.File("gone32.exe") + "\"");
    Write(HKEY_CURRENT_USER, 0, L"User", "QS Per User", "\"" + dir.File("gone-user.exe") + "\"");
    Write(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"{5B0C2A7E-QS}", "QS Stale", gone);
    Write(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"{5B0C2A7E-QS}", "", "", L"Parts");
    // Named after the stale entry's display name: must survive its removal.
    Write(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"QS Stale", "QS Decoy", gone);
    // One application registered in both views.
    Write(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"{BOTH}", "QS Both", "\"" + dir.File("both.exe") + "\"");
    Write(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"{BOTH}", "QS Both", "\"" + dir.File("both.exe") + "\"");
    Store();

    auto program = Start();
    HWND main = program->WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    ASSERT_TRUE(Press(main, "Uninstall Applications"));
    HWND window = program->WaitForWindow("Uninstall Applications");
    ASSERT_TRUE(window);
    HWND list = FindChild(window, "", "SysListView32");
    ASSERT_TRUE(list);
    HWND uninstall = FindChild(window, "&Uninstall");
    ASSERT_TRUE(uninstall);
    EXPECT_FALSE(IsWindowEnabled(uninstall)) << "nothing selected";

    // This test's rows by name, the tag taken off.
    const std::string suffix = platform::Narrow(tag);
    const auto ours = [&] {
        std::map<std::string, std::vector<std::string>> rows;
        std::map<std::string, int> indexOf;
        const auto all = ListViewRows(list);
        for (size_t i = 0; i < all.size(); ++i) {
            std::string name = all[i].at(0);
            if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
                continue;
            name.resize(name.size() - suffix.size());
            EXPECT_EQ(0u, rows.count(name)) << name << " listed twice";
            rows[name] = all[i];
            rows[name][0] = name;
            indexOf[name] = static_cast<int>(i);
        }
        return std::make_pair(rows, indexOf);
    };
    auto [rows, indexOf] = ours();
    ASSERT_EQ(6u, rows.size());
    EXPECT_EQ((std::vector<std::string>{"QS Thirty-Two", "QS Thirty-Two Publisher", "", "1.2"}), rows["QS Thirty-Two"]);
    EXPECT_EQ("QS Per User Publisher", rows["QS Per User"].at(1));
    EXPECT_EQ("1.1", rows["QS Sixty-Four"].at(3));

    ASSERT_TRUE(SelectListViewItem(list, indexOf["QS Sixty-Four"]));
    ASSERT_TRUE(WaitForIdle(window));
    EXPECT_TRUE(IsWindowEnabled(uninstall));
    ASSERT_TRUE(Press(uninstall));
    std::string ran;
    for (int wait = 0; wait < 100 && (ran = testing_support::ReadBytes(recorder + ".ran")).empty(); ++wait)
        Sleep(50);
    EXPECT_NE(std::string::npos, ran.find("/S /LOG=\"x y\"")) << "the uninstaller ran with its arguments: " << ran;
    for (const auto& shown : program->Windows())
        EXPECT_FALSE(shown.visible && shown.text == "Confirm") << "nothing is asked about an existing uninstaller";

    ASSERT_TRUE(SelectListViewItem(list, indexOf["QS Stale"]));
    ASSERT_TRUE(PressAltKey(window, 'U'));
    HWND confirm = program->WaitForWindow("Confirm");
    ASSERT_TRUE(confirm);
    EXPECT_TRUE(FindChild(confirm, "It appears that \"QS Stale" + suffix + "\" is not installed on this machine anymore.\r\n"
                                   "Do you want to remove this entry?", "Static"));
    ASSERT_TRUE(Press(FindChild(confirm, "Yes", "Button")));
    ASSERT_TRUE(WaitUntilGone(confirm));
    ASSERT_TRUE(WaitForIdle(window));

    EXPECT_FALSE(KeyExists({HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"{5B0C2A7E-QS}" + tag}));
    for (const TTestKey& key : written)
        if (key.subkey.rfind(L"{5B0C2A7E-QS}", 0) != 0) {
            EXPECT_TRUE(KeyExists(key)) << platform::Narrow(key.subkey);
        }
    rows = ours().first;
    EXPECT_EQ(5u, rows.size());
    EXPECT_EQ(0u, rows.count("QS Stale")) << "the list was filled again";
    EXPECT_FALSE(IsWindowEnabled(uninstall));

    ASSERT_TRUE(PressKey(window, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(window));
    CloseWithEscape(*program, main);
}
