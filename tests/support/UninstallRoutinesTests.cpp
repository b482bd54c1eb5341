// The reading of installed applications over a registry held in memory, and the rules that
// reduce a stored command or icon reference to a file.
#include "support/VelaUninstallRoutines.h"

#include "platform/PlatformEnvironment.h"

#include "FakeRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegistryView;
using testing_support::FakeRegistry;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

RegistryKey Entry(RegistryRoot root, RegistryView view, const std::string& subkey)
{
    return {root, view, std::string(TUninstallRoutines::kUninstallKey) + "\\" + subkey};
}

RegistryKey Machine64(const std::string& subkey) { return Entry(RegistryRoot::rrLocalMachine, RegistryView::rv64, subkey); }
RegistryKey Machine32(const std::string& subkey) { return Entry(RegistryRoot::rrLocalMachine, RegistryView::rv32, subkey); }

} // namespace

TEST(UninstallRules, CommandsSplitIntoTheProgramTheyStartAndItsArguments)
{
    const struct {
        const char* command;
        const char* program;
        const char* arguments;
    } cases[] = {
        {"\"C:\\Program Files\\App\\unins000.exe\" /SILENT", "C:\\Program Files\\App\\unins000.exe", "/SILENT"},
        {"C:\\Program Files\\App\\Uninst.EXE /S /D=\"C:\\x\"", "C:\\Program Files\\App\\Uninst.EXE", "/S /D=\"C:\\x\""},
        {"MsiExec.exe /X{1D8E6291-B0D5-35EC-8441-6616F567A0F7}", "MsiExec.exe", "/X{1D8E6291-B0D5-35EC-8441-6616F567A0F7}"},
        // ".exe" inside a folder name does not end the program.
        {"C:\\tools.exe.d\\remove.exe", "C:\\tools.exe.d\\remove.exe", ""},
        {"  \"C:\\App\\unclosed.exe /S", "C:\\App\\unclosed.exe /S", ""},
        {"C:\\App\\remove.bat", "C:\\App\\remove.bat", ""},
        {"", "", ""},
    };
    for (const auto& each : cases) {
        const TCommandParts parts = TUninstallRoutines::SplitCommand(each.command);
        EXPECT_EQ(each.program, parts.program) << each.command;
        EXPECT_EQ(each.arguments, parts.arguments) << each.command;
    }
}

TEST(UninstallRules, IconReferencesLoseQuotesIndexAndArguments)
{
    EXPECT_EQ("C:\\App\\app.exe", TUninstallRoutines::IconFileOf("\"C:\\App\\app.exe\",0"));
    EXPECT_EQ("C:\\App\\APP.EXE", TUninstallRoutines::IconFileOf("C:\\App\\APP.EXE,3"));
    EXPECT_EQ("C:\\App\\app.ico", TUninstallRoutines::IconFileOf("C:\\App\\app.ico"));
    EXPECT_EQ("C:\\App\\res.dll", TUninstallRoutines::IconFileOf("\"C:\\App\\res.dll\",-101"));
    EXPECT_EQ("C:\\App\\a,b.ico", TUninstallRoutines::IconFileOf("C:\\App\\a,b.ico"));
    EXPECT_EQ("", TUninstallRoutines::IconFileOf(""));
}

TEST(UninstallRules, AProgramExistsAsAPathOrOnTheSearchPath)
{
    TempDir dir;
    const std::string program = dir.File("un install.exe");
    WriteBytes(program, "MZ");
    EXPECT_EQ(program, TUninstallRoutines::ExistingProgram("\"" + program + "\" /S"));
    EXPECT_EQ("", TUninstallRoutines::ExistingProgram("\"" + dir.File("gone.exe") + "\" /S"));
    EXPECT_EQ("", TUninstallRoutines::ExistingProgram("\"" + dir.Str() + "\""));
    // A bare name is looked up as the system would run it.
    const std::string tool = dir.File("qs-tool.exe");
    WriteBytes(tool, "MZ");
    std::filesystem::permissions(testing_support::PathOf(tool), std::filesystem::perms::owner_all);
    std::string path;
    const bool hadPath = platform::GetEnvironmentValue("PATH", path);
    platform::SetEnvironmentValue("PATH", dir.Str());
    const std::string found = TUninstallRoutines::ExistingProgram("qs-tool.exe /x");
    const std::string missing = TUninstallRoutines::ExistingProgram("qs-no-such-tool.exe /x");
    // Not from the current folder, where anyone may have left a program.
    TempDir current;
    WriteBytes(current.File("qs-here.exe"), "MZ");
    std::filesystem::permissions(current.Path() / "qs-here.exe", std::filesystem::perms::owner_all);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(current.Path());
    const std::string here = TUninstallRoutines::ExistingProgram("qs-here.exe");
    std::filesystem::current_path(before);
    if (hadPath)
        platform::SetEnvironmentValue("PATH", path);
    EXPECT_EQ(testing_support::PathOf(tool), testing_support::PathOf(found));
    EXPECT_EQ("", missing);
    EXPECT_EQ("", here);
}

class UninstallWalk : public ::testing::Test {
protected:
    void Add(const RegistryKey& key, const std::string& name, const std::string& command,
             const std::string& icon = "", const std::string& version = "1.0")
    {
        registry.Set(key, "DisplayName", name);
        registry.Set(key, "UninstallString", command);
        registry.Set(key, "Publisher", "Pub " + name);
        registry.Set(key, "DisplayVersion", version);
        if (!icon.empty())
            registry.Set(key, "DisplayIcon", icon);
    }
    TUninstallInfoArray Walk(bool computeSize = false)
    {
        TUninstallInfoArray entries;
        TUninstallRoutines::GetUninstallInfo(registry, computeSize, entries);
        return entries;
    }

    FakeRegistry registry;
    TempDir dir;
};

TEST_F(UninstallWalk, ReadsEveryViewAndTheUserOnceEachKeepingWhereEachCameFrom)
{
    Add(Machine64("App64"), "Sixty-Four", "C:\\a64\\un.exe");
    Add(Machine32("{0C1D-GUID}"), "Thirty-Two", "C:\\a32\\un.exe");
    Add(Entry(RegistryRoot::rrCurrentUser, RegistryView::rvDefault, "Mine"), "Per User", "C:\\u\\un.exe");
    registry.Set(Machine64("Nameless"), "UninstallString", "C:\\n\\un.exe");
    // The same application registered in both views.
    Add(Machine64("{SHARED}"), "Both", "C:\\b\\un.exe");
    Add(Machine32("{shared}"), "Both", "C:\\b\\un.exe");

    const TUninstallInfoArray entries = Walk();
    std::vector<std::string> names;
    for (const auto& entry : entries)
        names.push_back(entry->GetName());
    // The 64-bit view, the 32-bit view, then the user, each in listing order.
    EXPECT_EQ((std::vector<std::string>{"Sixty-Four", "Both", "Thirty-Two", "Per User"}), names);
    EXPECT_EQ("Pub Thirty-Two", entries[2]->GetPublisher());
    EXPECT_EQ("1.0", entries[2]->GetVersion());
    EXPECT_EQ("C:\\a32\\un.exe", entries[2]->GetUninstallCommand());

    ASSERT_EQ(2u, entries[1]->GetRegistryKeys().size());
    EXPECT_EQ(RegistryView::rv32, entries[1]->GetRegistryKeys()[1].view);
    const RegistryKey from = entries[2]->GetRegistryKeys().at(0);
    EXPECT_EQ(RegistryView::rv32, from.view);
    EXPECT_EQ(Machine32("{0C1D-GUID}").path, from.path);
    EXPECT_EQ(RegistryRoot::rrCurrentUser, entries[3]->GetRegistryKeys().at(0).root);
}

TEST_F(UninstallWalk, TheIconComesFromDisplayIconElseFromTheUninstaller)
{
    const std::string icon = dir.File("app.exe");
    const std::string uninstaller = dir.File("un.exe");
    WriteBytes(icon, "MZ");
    WriteBytes(uninstaller, "MZ");
    Add(Machine64("A"), "Quoted icon", "\"" + uninstaller + "\" /S", "\"" + icon + "\",0");
    Add(Machine64("B"), "No icon", "\"" + uninstaller + "\" /S");
    Add(Machine64("C"), "Neither", "\"" + dir.File("gone.exe") + "\" /S", dir.File("gone.ico"));
    const TUninstallInfoArray entries = Walk();
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(icon, entries[0]->GetIconPath());
    EXPECT_EQ(uninstaller, entries[1]->GetIconPath());
    EXPECT_EQ(dir.File("gone.exe"), entries[2]->GetIconPath());
}

TEST_F(UninstallWalk, SizesAreTheUninstallersFolderOnlyWhenAsked)
{
    const std::string folder = dir.File("App");
    std::filesystem::create_directories(testing_support::PathOf(folder + "/data"));
    WriteBytes(folder + "/un.exe", std::string(1024, 'x'));
    WriteBytes(folder + "/data/big.bin", std::string(3 * 1024, 'x'));
    Add(Machine64("A"), "Sized", "\"" + folder + "/un.exe\" /S");
    Add(Machine64("B"), "Bare", "msiexec.exe /X{GUID}");
    Add(Machine64("C"), "Missing", "\"" + dir.File("gone") + "/un.exe\"");

    TUninstallInfoArray entries = Walk(true);
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ("4 Ko", entries[0]->GetSizeText());
    EXPECT_EQ("", entries[1]->GetSizeText());
    EXPECT_EQ("", entries[2]->GetSizeText());
    entries = Walk(false);
    EXPECT_EQ("", entries[0]->GetSizeText());
}

TEST_F(UninstallWalk, DeletingAnEntryRemovesExactlyItsKeysNothingElseAndNoLinkedTree)
{
    Add(Machine32("{GUID-1}"), "Stale", "C:\\gone\\un.exe");
    registry.Set(Machine32("{GUID-1}\\Sub\\Deeper"), "x", "y");
    // A decoy whose subkey is named after the stale entry's display name.
    Add(Machine32("Stale"), "Other", "C:\\o\\un.exe");
    Add(Machine64("{GUID-1}"), "Other view, other app", "C:\\v\\un.exe");

    const TUninstallInfoArray entries = Walk();
    ASSERT_EQ("Stale", entries.at(2)->GetName());
    EXPECT_TRUE(TUninstallRoutines::DeleteEntry(registry, *entries[2]));
    EXPECT_FALSE(registry.Exists(Machine32("{GUID-1}")));
    EXPECT_TRUE(registry.Exists(Machine32("Stale")));
    EXPECT_TRUE(registry.Exists(Machine64("{GUID-1}")));
    EXPECT_EQ(3u, registry.deleted.size()) << "the subkeys first";

    const RegistryKey uninstallKey{RegistryRoot::rrLocalMachine, RegistryView::rv32, TUninstallRoutines::kUninstallKey};
    for (const RegistryKey& outside :
         {uninstallKey, RegistryKey{RegistryRoot::rrLocalMachine, RegistryView::rv32, "Software\\Other\\App"},
          Machine32("Stale\\..\\..")}) {
        const TUninstallInfo forged("x", "", "", "", "", "", {outside});
        EXPECT_FALSE(TUninstallRoutines::DeleteEntry(registry, forged)) << outside.path;
    }
    EXPECT_TRUE(registry.Exists(uninstallKey));
    EXPECT_EQ(3u, registry.deleted.size());

    // A tree holding a link is left whole.
    registry.Set(Machine64("Linked\\Safe"), "x", "y");
    registry.Set(Machine64("Linked\\Link"), "SymbolicLinkValue", "\\Registry\\Machine\\Software");
    registry.MakeLink(Machine64("Linked\\Link"));
    EXPECT_FALSE(TRegistryRoutines::DeleteKeyTree(registry, Machine64("Linked")));
    EXPECT_EQ(3u, registry.deleted.size());
}
