// The cycle's shared set-up: option presets and stored ticks, the validator chain from the
// preferences, the check presets, the target checks and the targets handed to the clean.
#include "TestSupport.h"

#include "cycle/uCycleSetup.h"
#include "engine/uEngineImplementation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using testing_support::TempDir;
namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

// CheckTargets' message for target as seen by an unprivileged user ("nobody"), from a child.
std::string CheckTargetsAsAnotherUser(const std::string& target)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        // A scratch folder under a home folder of root's is out of this user's reach altogether.
        if (access(testing_support::Utf8(fs::u8path(target).parent_path()).c_str(), X_OK) != 0)
            _exit(77);
        const std::string problem = TCycleSetup::CheckTargets({target});
        const bool written = write(channel[1], problem.data(), problem.size()) == static_cast<ssize_t>(problem.size());
        _exit(written ? 0 : 3);
    }
    close(channel[1]);
    std::string problem;
    char buffer[512];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        problem.append(buffer, static_cast<size_t>(got));
    close(channel[0]);
    int status = -1;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        return "unreachable";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? problem : "child failed";
}

} // namespace
#endif

TEST(CycleSetup, PresetsAndStoredTicksNeverHoldUnavailableOptions)
{
    auto options = TEngineServices::CreateCleanupOptionsList();
    const TCleanupOptionSet all = TCycleSetup::PresetMask(*options, opAll);
    const TCleanupOptionSet safe = TCycleSetup::PresetMask(*options, opSafe);
    const TCleanupOptionSet byDefault = TCycleSetup::PresetMask(*options, opDefault);
    EXPECT_TRUE(TCycleSetup::PresetMask(*options, opNone).Empty());
    // The catalogue's safe options, and those Set Default leaves out; only availability is this
    // machine's.
    const std::set<int> safeOnes{0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 17, 18, 19};
    const std::set<int> notByDefault{15, 16, 20, 21, 22};
    for (int i = 0; i < 23; ++i) {
        const bool available = options->GetOption(i)->GetAvailable();
        EXPECT_EQ(available, all.Contains(i)) << i;
        EXPECT_EQ(available && safeOnes.count(i) > 0, safe.Contains(i)) << i;
        EXPECT_EQ(available && notByDefault.count(i) == 0, byDefault.Contains(i)) << i;
    }
    EXPECT_FALSE(all.Contains(23));

    TPreferenceValues prefs(false);
    prefs.SetDefaults();
    ASSERT_TRUE(prefs.FirstRun);
    EXPECT_EQ(safe, TCycleSetup::RestoreMask(*options, prefs)) << "first run with nothing stored";
    prefs.FirstRun = false;
    EXPECT_TRUE(TCycleSetup::RestoreMask(*options, prefs).Empty());
    prefs.CleanupOptions = 0xFFFFFFFFu;
    EXPECT_EQ(all, TCycleSetup::RestoreMask(*options, prefs)) << "stored ticks of missing programs are dropped";
    for (int i = 0; i < 23; ++i)
        if (!options->GetOption(i)->GetAvailable()) {
            EXPECT_EQ(i, TCycleSetup::FirstUnavailable(*options, TCleanupOptionSet(1u << 13 | 1u << i)));
        }
    EXPECT_EQ(-1, TCycleSetup::FirstUnavailable(*options, all));
}

TEST(CycleSetup, ValidatorChainFollowsTheSwitchedOnPreferences)
{
    TPreferenceValues prefs(false);
    prefs.SetDefaults();
    EXPECT_TRUE(TCycleSetup::BuildValidators(prefs)->GetExplicitTypes().Empty());

    prefs.FileSizeValidator = true;
    prefs.MinimumSize = 2;
    prefs.MaximumSize = 3;
    prefs.FileAttributesValidator = true;
    prefs.AttributeReadOnly = true;
    auto validators = TCycleSetup::BuildValidators(prefs);
    EXPECT_EQ((TValidatorSet{svFileAttributes, svFileSize}), validators->GetExplicitTypes());

    TempDir dir;
    testing_support::WriteBytes(dir.File("small"), "x");
    testing_support::WriteBytes(dir.File("two"), std::string(2 * 1024 + 5, 'x'));
    prefs.FileAttributesValidator = false;
    validators = TCycleSetup::BuildValidators(prefs);
    const TValidatorSet active{svNone, svFileSize};
    EXPECT_FALSE(validators->Validate(active, dir.File("small")));
    EXPECT_TRUE(validators->Validate(active, dir.File("two")));
    prefs.IgnoreOnImplicitValidator = true;
    EXPECT_TRUE(TCycleSetup::BuildValidators(prefs)->Validate(active, dir.File("small")))
        << "ignore-on-implicit reaches the chain";
}

TEST(CycleSetup, CheckPresetsKeepTheCountersInStep)
{
    auto objects = TEngineServices::CreateCleanupList(std::make_shared<TCRC32>());
    auto broadcast = TEngineServices::CreateBroadcastParameters();
    std::shared_ptr<ICleanupListItem> entry;
    objects->Add(true, scSafe, 14, "General Cache Files", "/a.cache", 5, -1, entry);
    objects->Add(true, scPotentiallyUnsafe, 13, "Temporary Files", "/b.tmp", 2048, -1, entry);
    objects->Add(true, scUnsafe, 21, "Custom Files", "/c.txt", 7, -1, entry);
    broadcast->SetFoundCount(3);
    broadcast->SetSelectedCount(3);
    broadcast->SetFoundCapacity(2060);
    broadcast->SetSelectedCapacity(2060);
    EXPECT_EQ(" Objects [Selected: 3 / 3, Capacity: 2 Mo / 2 Mo]", TCycleSetup::ObjectsHeader(*broadcast));

    TCycleSetup::CheckSafe(*objects, *broadcast);
    EXPECT_FALSE(objects->AnyCheckedOfSafety(scUnsafe));
    EXPECT_EQ(" Objects [Selected: 1 / 3, Capacity: 5 Ko / 2 Mo]", TCycleSetup::ObjectsHeader(*broadcast));
    TCycleSetup::CheckAll(*objects, *broadcast, false);
    EXPECT_EQ(0, broadcast->GetSelectedCount());
    TCycleSetup::CheckAll(*objects, *broadcast, true);
    EXPECT_TRUE(objects->AnyCheckedOfSafety(scUnsafe));
    EXPECT_EQ(2060, broadcast->GetSelectedCapacity());
}

TEST(CycleSetup, TargetsMustExistAndTakeNewFiles)
{
    TempDir dir;
    EXPECT_EQ("", TCycleSetup::CheckTargets({dir.Str()}));
    EXPECT_EQ("", TCycleSetup::CheckTargets({}));
    const std::string missing = dir.File("gone");
    EXPECT_EQ("\"" + missing + "\" does not have physical media present or is an invalid disk or directory.\r\n"
                                "Please insert the physical media or select a valid disk or directory.",
              TCycleSetup::CheckTargets({dir.Str(), missing, dir.Str()}));
    testing_support::WriteBytes(dir.File("file"), "x");
    EXPECT_NE("", TCycleSetup::CheckTargets({dir.File("file")})) << "a file is no target";

#ifndef _WIN32
    // Root reads everything, so a user without the right to list a folder asks, in a child. A
    // folder it may write to but not list is no read-only one; nor is one it may do neither with.
    const std::string unlisted = dir.File("unlisted"), closed = dir.File("closed");
    for (const auto& [folder, mode] : {std::pair{unlisted, fs::perms::owner_write | fs::perms::owner_exec |
                                                               fs::perms::others_write | fs::perms::others_exec},
                                       std::pair{closed, fs::perms::none}}) {
        fs::create_directory(testing_support::PathOf(folder));
        fs::permissions(testing_support::PathOf(folder), mode);
    }
    for (const std::string& folder : {unlisted, closed}) {
        const std::string problem = geteuid() == 0 ? CheckTargetsAsAnotherUser(folder) : "unreachable";
        if (problem == "unreachable")
            continue;  // no other user to be here, or none that reaches the scratch folder
        EXPECT_EQ("\"" + folder + "\" cannot be read.\r\nYou cannot perform clean operations on it.\r\n"
                  "Please select another location or remove this one from the clean-up list.",
                  problem)
            << folder;
    }

    // Root writes anywhere; an immutable folder refuses even root.
    const std::string locked = dir.File("locked");
    std::filesystem::create_directory(testing_support::PathOf(locked));
    if (std::system(("chattr +i '" + locked + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "this file system cannot mark a folder immutable";
    const std::string problem = TCycleSetup::CheckTargets({dir.Str(), locked});
    std::system(("chattr -i '" + locked + "'").c_str());
    EXPECT_EQ("\"" + locked + "\" is a read-only location on the disk.\r\nYou cannot perform clean operations on it.\r\n"
              "Please select another location or remove this one from the clean-up list.",
              problem);
#endif
}

TEST(CycleSetup, TheCleanIsGivenTheTargetsTheScanWasGiven)
{
    TPreferenceValues prefs(false);
    const auto context = TCycleSetup::CreateCleanerContext(
        prefs, TEngineServices::CreateBroadcastParameters(), nullptr, TEngineServices::CreateCleanReport(),
        "/one;/two words;", TCleanupOptionSet());
    EXPECT_EQ((std::vector<std::string>{"/one", "/two words"}), context->GetTargets());
}
