#include "engine/uCleanupOptionsList.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct TExpected {
    const char* name;
    const char* description;
    TSafetyClass safety;
    bool inDefault;
    TObjectKind kind;
};

const char kCache[] = "Cached Internet resources tend to consume drive space.";
const char kShortcuts[] = "Shortcuts pointing to invalid files.";

const TExpected kCatalogue[23] = {
    {"Windows Temporary Directories", "Operating system temporary directories.", scSafe, true, okFiles},
    {"Windows Recycle Bin", "All objects stored in the Recycle Bin regardless of their physical disk location.", scSafe, true, okFiles},
    {"Windows and Application Logs", "Log files are created by the operating system and various applications.", scPotentiallyUnsafe, true, okFiles},
    {"Windows Prefetch Files", "If allowed, Windows creates prefetch files for each executed application.", scSafe, true, okFiles},
    {"Windows CHKDSK File Fragments", "When scanning drives, CHKDSK might recover and save certain file fragments.", scSafe, true, okFiles},
    {"Windows Thumbnail Files", "These files tend to consume drive space.", scSafe, true, okFiles},
    {"Windows Start Menu Recent Documents", "Shortcuts pointing to recently accessed documents.", scSafe, true, okFiles},
    {"Windows Start Menu Invalid Shortcuts", kShortcuts, scSafe, true, okFiles},
    {"Windows Desktop Invalid Shortcuts", kShortcuts, scSafe, true, okFiles},
    {"Internet Explorer Temporary Cache", kCache, scSafe, true, okFiles},
    {"Internet Explorer Cookies", "Cookies can be cleaned to gain a small amount of drive space.", scSafe, true, okFiles},
    {"Mozilla Firefox Temporary Cache", kCache, scSafe, true, okFiles},
    {"Skype Cache and Received Content", "Cached and received Skype content tend to consume drive space.", scPotentiallyUnsafe, true, okFiles},
    {"Temporary Files", "Created by the operating system and various applications.", scPotentiallyUnsafe, true, okFiles},
    {"General Cache Files", "Created by all sort of applications during normal execution.", scSafe, true, okFiles},
    {"Old Backup Files", "Backup files might be intentional or not. Further attention is necessary.", scPotentiallyUnsafe, false, okFiles},
    {"Legacy Files", "These files may be left legacy from ancient operating systems and applications.", scPotentiallyUnsafe, false, okFiles},
    {"Apple .DS_Store Files", "Mac OS X creates these files everywhere.", scSafe, true, okFiles},
    {"Apple Trash", "Mac OS X creates a Trash related directory on Windows shared drives.", scSafe, true, okFiles},
    {"Apple Spotlight Index", "Mac OS X creates a Spotlight indexing related directory on Windows shared drives.", scSafe, true, okFiles},
    {"Empty Subdirectories", "Empty subdirectories scattered around the directory hierarchy of your clean targets.", scUnsafe, false, okDirectories},
    {"Custom Files", "Files that match your search criteria defined within the Options window.", scUnsafe, false, okFiles},
    {"Custom Directories", "Directories that match your search criteria defined within the Options window.", scUnsafe, false, okDirectories},
};

bool AnyMaskMatches(const std::string& masks, const std::string& name)
{
    for (const auto& mask : TStringRoutines::SplitString(masks, ';'))
        if (TStringRoutines::MatchesMask(name, mask))
            return true;
    return false;
}

} // namespace

TEST(CleanupOptionsList, CatalogueAndSelections)
{
    auto catalogue = TEngineServices::CreateCleanupOptionsList();
    uint32_t safe = 0, byDefault = 0, all = 0;
    for (int i = 0; i < 23; ++i) {
        SCOPED_TRACE(i);
        const auto option = catalogue->GetItem(i);
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(catalogue->GetOption(i + 128), option); // low seven bits only
        EXPECT_EQ(option->GetName(), kCatalogue[i].name);
        EXPECT_EQ(option->GetDescription(), kCatalogue[i].description);
        EXPECT_EQ(option->GetSafety(), kCatalogue[i].safety);
        EXPECT_EQ(option->GetSafetyIndex(), static_cast<int>(kCatalogue[i].safety));
        EXPECT_EQ(option->GetExcludedFromDefault(), !kCatalogue[i].inDefault);
        EXPECT_EQ(option->GetObjectKind(), kCatalogue[i].kind);
        if (option->GetSafety() == scSafe && option->GetAvailable())
            safe |= 1u << i;
        if (!option->GetExcludedFromDefault() && option->GetAvailable())
            byDefault |= 1u << i;
        if (option->GetAvailable())
            all |= 1u << i;
    }
    const std::string firefox = TDirectoryRoutines::GetFirefoxProfilesDir();
    const uint32_t firefoxBit = (!firefox.empty() && platform::DirectoryExists(firefox)) ? 1u << 11 : 0;
    const uint32_t skypeBit = TDirectoryRoutines::AllDirectoriesExist(TDirectoryRoutines::GetSkypeDirs()) ? 1u << 12 : 0;
    EXPECT_EQ(all, 0x7FE7FFu | firefoxBit | skypeBit);
    EXPECT_EQ(byDefault, 0x0E67FFu | firefoxBit | skypeBit);
    EXPECT_EQ(safe, 0x0E47FBu | firefoxBit);
}

TEST(CleanupOptionsList, MasksScrambledAndSettable)
{
    auto catalogue = TEngineServices::CreateCleanupOptionsList();
    auto custom = catalogue->GetItem(21);
    EXPECT_EQ(custom->GetMasks(), "");
    EXPECT_EQ(catalogue->GetItem(22)->GetMasks(), "");

    const std::string masks = "my file?.txt;*.b\xC3\xA9k;\t[a-c]*";
    custom->SetMasks(masks);
    EXPECT_EQ(custom->GetMasks(), masks);
    auto* concrete = dynamic_cast<TCleanupOptionsListItem*>(custom.get());
    ASSERT_NE(concrete, nullptr);
    const std::string stored = concrete->StoredMasks();
    EXPECT_NE(stored, masks);
    EXPECT_EQ(stored.find('*'), std::string::npos);
    EXPECT_EQ(stored.substr(2, 1), " "); // spaces and non-ASCII bytes pass through
    EXPECT_NE(stored.find("\xC3\xA9"), std::string::npos);
    custom->SetMasks(masks);
    EXPECT_EQ(concrete->StoredMasks(), stored);
}

TEST(CleanupOptionsList, MasksFindWhatTheTitlesPromise)
{
#ifdef _WIN32
    const bool desktopEntries = false;  // a document there, never a shortcut
#else
    const bool desktopEntries = true;
#endif
    auto catalogue = TEngineServices::CreateCleanupOptionsList();
    for (int i = 0; i <= 20; ++i) {
        const std::string masks = catalogue->GetItem(i)->GetMasks();
        EXPECT_FALSE(masks.empty()) << i;
        for (const auto& mask : TStringRoutines::SplitString(masks, ';'))
            EXPECT_TRUE(TStringRoutines::IsValidMask(mask)) << i << ": " << mask;
    }
    const struct {
        int option;
        const char* name;
        bool found;
    } samples[] = {
        {2, "setupapi.log", true},  {2, "syslog.log.1", true},     {2, "catalog.lst", false},
        {3, "NOTEPAD.EXE-D8414F97.pf", true}, {3, "Layout.ini", false},
        {4, "FILE0000.CHK", true},  {4, "file12.chk", false},
        {5, "Thumbs.db", true},     {5, "photos.db", false},
        {6, "report.doc.lnk", true},
        {7, "Editor.lnk", true},    {8, "editor.desktop", desktopEntries}, {7, "editor.exe", false},
        {10, "user@example[1].txt", true},
        {11, "0A1B2C3D4E5F60718293A4B5C6D7E8F901234567", true},
        {11, "places.sqlite", false}, {11, "prefs.js", false},     {11, "key4.db", false},
        {13, "~DF1234.tmp", true},  {13, "~$report.docx", true},   {13, "report.docx", false},
        {14, "fonts.cache-7", true},
        {15, "config.bak", true},   {15, "notes.txt~", true},      {15, "notes.txt", false},
        {16, "winhelp.gid", true},
        {17, ".DS_Store", true},    {17, "DS_Store.txt", false},
    };
    for (const auto& sample : samples)
        EXPECT_EQ(AnyMaskMatches(catalogue->GetItem(sample.option)->GetMasks(), sample.name), sample.found)
            << sample.option << ": " << sample.name;
}

TEST(CleanupOptionsList, SourcesAndImplicitValidators)
{
    EXPECT_EQ(TCleanupOptionRules::Get(7).implicitValidator, svInvalidShortcut);
    EXPECT_EQ(TCleanupOptionRules::Get(8).implicitValidator, svInvalidShortcut);
    EXPECT_EQ(TCleanupOptionRules::Get(20).implicitValidator, svEmptyDirectory);
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(TCleanupOptionRules::Get(i).excludesTemporaryDirectories, i >= 13 && i <= 16) << i;
    EXPECT_TRUE(TCleanupOptionRules::ResolveSources(RecycleBinOption, {"x"}).empty());
    // Targets are passed on as chosen; the Apple folders only where they exist inside a target.
    const std::vector<std::string> targets = {"/nonexistent-target-dir"};
    EXPECT_EQ(TCleanupOptionRules::ResolveSources(4, targets), targets);
    EXPECT_TRUE(TCleanupOptionRules::ResolveSources(18, targets).empty());
    EXPECT_TRUE(TCleanupOptionRules::Get(30).source == osNone);
}

TEST(CleanupOptionsList, OnlyTargetOptionsStayInsideTheTargets)
{
    // Temporary folders, bin, logs, prefetch, recent, shortcuts, browser and Skype caches.
    const std::set<int> system = {0, 1, 2, 3, 6, 7, 8, 9, 10, 11, 12};
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(TCleanupOptionRules::UsesTargets(i), system.count(i) == 0) << i;
    EXPECT_FALSE(TCleanupOptionRules::UsesTargets(30));
}
