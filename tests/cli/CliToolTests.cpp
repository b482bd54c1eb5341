// The command-line tool run as a process over trees made here.
#include "CliProcess.h"
#include "TestSupport.h"

#include "platform/PlatformEnvironment.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformSystem.h"
#include "prefs/VelaPreferences.h"
#include "support/RoutinesTestHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#ifndef _WIN32
#include <cstdio>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <set>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using cli_testing::RunTool;
using cli_testing::TToolRun;
using routines_testing::ScopedEnvironment;
using testing::HasSubstr;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace fs = std::filesystem;

namespace {

// Found-object lines of standard output: everything before the empty line.
std::vector<std::string> ObjectLines(const std::string& out)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = out.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            break;
        lines.push_back(line);
    }
    return lines;
}

// temp.tmp (Temporary Files, Potentially Unsafe), old.bak (Old Backup Files), cache.cache
// (General Cache Files, Safe) and keep.txt that no option looks for.
class Tree : public cli_testing::TScratchFolder {
public:
    Tree()
    {
        fs::create_directories(dir.Path() / "sub" / "deeper");
        WriteBytes(File("sub/temp.tmp"), std::string(3000, 't'));
        WriteBytes(File("sub/deeper/old.bak"), "b");
        WriteBytes(File("app.cache"), "c");
        WriteBytes(File("keep.txt"), "k");
    }
};

// The option indexes a scan ran with, from its JSON document.
std::vector<int> SelectedOptions(const std::vector<std::string>& arguments)
{
    const TToolRun run = RunTool(arguments);
    EXPECT_EQ(0, run.status) << run.err;
    if (run.status != 0)
        return {};
    return nlohmann::json::parse(run.out)["scan"]["options"].get<std::vector<int>>();
}

std::string WritePrefs(const TempDir& where, const std::string& name, void (*change)(TPreferenceValues&))
{
    TPreferenceValues values(false);
    values.SetDefaults();
    values.FirstRun = false;
    change(values);
    values.SetFileName(where.File(name));
    EXPECT_TRUE(values.Save());
    return where.File(name);
}

} // namespace

TEST(CliTool, CommandsHelpAndUsageErrors)
{
#ifndef _WIN32
    // The temporary folder shown is whichever the caller's environment names.
    TempDir temporary;
    ScopedEnvironment tmpdir("TMPDIR", temporary.Str());
#endif
    const TToolRun options = RunTool({"options"});
    EXPECT_EQ(0, options.status);
    const std::vector<std::string> rows = ObjectLines(options.out);
    ASSERT_EQ(23u, rows.size());
    // Elsewhere than on Windows, the titles do not name it.
#ifdef _WIN32
    EXPECT_EQ(0u, rows[0].find("0\ttemp-folders\tSafe\tdefault\tavailable\tWindows Temporary Directories (system "
                               "folders)\t"));
#else
    EXPECT_EQ(0u, rows[0].find("0\ttemp-folders\tSafe\tdefault\tavailable\tSystem Temporary Directories (system "
                               "folders)\t" + temporary.Str() + " and /var/tmp: *"))
        << rows[0];
#endif
    EXPECT_EQ("15\tbackup-files\tPotentially Unsafe\t-\tavailable\tOld Backup Files\tthe targets: "
              "*.bak;*.bkp;*.old;*.wbk;*.~*;*~;*.orig",
              rows[15]);
    EXPECT_EQ("22\tcustom-directories\tUnsafe\t-\tavailable\tCustom Directories\tthe targets: nothing until masks "
              "are set (--custom-files, --custom-directories)",
              rows[22]);

    Tree tree;
    EXPECT_EQ(2, RunTool({}).status);
    EXPECT_EQ(2, RunTool({"scan", tree.Str(), "--bogus"}).status);
    EXPECT_EQ(2, RunTool({"scan", tree.Str(), "--safe", "--all"}).status) << "one selection only";
    EXPECT_EQ(2, RunTool({"scan", tree.Str(), "--stored", "--options", "13"}).status) << "one selection only";
    EXPECT_EQ(2, RunTool({"clean", tree.Str(), "--options", "13", "--passes", "8"}).status);
    EXPECT_EQ(2, RunTool({"clean", tree.Str(), "--options", "13", "--check", "some"}).status);
    EXPECT_EQ(2, RunTool({"scan", tree.Str(), "--yes"}).status) << "a clean flag is no scan flag";
    for (const char* list : {"23", "4-2", "1,,2", "x", "-1"}) {
        const TToolRun run = RunTool({"scan", tree.Str(), "--no-prefs", "--options", list});
        EXPECT_EQ(2, run.status) << list;
        EXPECT_THAT(run.err, HasSubstr("Invalid option list")) << list;
    }
    const TToolRun none = RunTool({"scan", tree.Str(), "--no-prefs", "--options", ""});
    EXPECT_EQ(2, none.status);
    EXPECT_THAT(none.err, HasSubstr("No clean-up options were selected.\nPlease select at least one clean-up option "
                                    "before continuing."));

    const TToolRun missing = RunTool({"scan", tree.File("nowhere"), "--options", "13", "--no-prefs"});
    EXPECT_EQ(2, missing.status);
    EXPECT_THAT(missing.err, HasSubstr("\"" + tree.File("nowhere") + "\" does not have physical media present or is "
                                       "an invalid disk or directory.\nPlease insert the physical media"));
    EXPECT_EQ("", missing.out);

    const TToolRun empty = RunTool({"scan", "", "--options", "13", "--no-prefs"});
    EXPECT_EQ(2, empty.status);
    EXPECT_THAT(empty.err, HasSubstr("\"\" does not have physical media present"));

    // A target named with ";" would travel as two other targets.
    fs::create_directories(tree.dir.Path() / "a;b");
    EXPECT_EQ(2, RunTool({"scan", tree.File("a;b"), "--options", "13", "--no-prefs"}).status);

    // Whichever options this system lacks are refused by name.
    const nlohmann::json catalogue = nlohmann::json::parse(RunTool({"options", "--json"}).out);
    for (const auto& option : catalogue["options"]) {
        if (option["available"])
            continue;
        const std::string index = std::to_string(option["option"].get<int>());
        const std::string title = option["title"];
        const TToolRun refused = RunTool({"scan", tree.Str(), "--no-prefs", "--options", "13," + index});
        EXPECT_EQ(2, refused.status);
        EXPECT_THAT(refused.err, HasSubstr("\"" + title + "\" is not available because the program that generates "
                                           "these objects is not installed on your computer."));
    }
}

TEST(CliTool, ScanListsReportsAndDeletesNothing)
{
    Tree tree;
    const std::string scanReport = tree.dir.File("../" + tree.dir.Path().filename().string() + "-scan.txt");
    const TToolRun scan = RunTool({"scan", tree.Str(), "--options", "13-16", "--no-prefs", "--report", scanReport});
    ASSERT_EQ(0, scan.status) << scan.err;
    const std::vector<std::string> lines = ObjectLines(scan.out);
    const std::set<std::string> found(lines.begin(), lines.end());
    EXPECT_EQ((std::set<std::string>{
                  "Potentially Unsafe\tTemporary Files\t" + tree.File("sub/temp.tmp") + "\t2 Ko\t3000",
                  "Safe\tGeneral Cache Files\t" + tree.File("app.cache") + "\t1 Ko\t1",
                  "Potentially Unsafe\tOld Backup Files\t" + tree.File("sub/deeper/old.bak") + "\t1 Ko\t1",
              }),
              found);
    EXPECT_THAT(scan.err, HasSubstr("\nObjects [Selected: 3 / 3, Capacity: 4 Ko / 4 Ko]\n"));
    EXPECT_THAT(scan.err, HasSubstr("Scan complete."));
    EXPECT_TRUE(tree.Exists("sub/temp.tmp") && tree.Exists("sub/deeper/old.bak") && tree.Exists("app.cache"));

    const std::string report = ReadBytes(scanReport);
    fs::remove(fs::u8path(scanReport));
    EXPECT_EQ(0u, report.find("Quillsweep "));
    EXPECT_THAT(report, HasSubstr(" Report\r\n\r\nWindows Temporary Directories, 0 found count, 0 Ko found "
                                  "capacity, 0.00% quota\r\n"));
    EXPECT_THAT(report, HasSubstr("\r\nTemporary Files, 1 found count, 2 Ko found capacity, 50.00% quota\r\n"));

    const TToolRun json = RunTool({"scan", tree.Str(), "--options", "13,15", "--json", "--no-prefs"});
    ASSERT_EQ(0, json.status) << json.err;
    const nlohmann::json document = nlohmann::json::parse(json.out)["scan"];
    ASSERT_EQ(2u, document["objects"].size());
    std::set<std::string> paths;
    for (const auto& object : document["objects"]) {
        paths.insert(object["path"].get<std::string>());
        EXPECT_EQ("file", object["kind"]);
        EXPECT_EQ("Potentially Unsafe", object["safety"]);
    }
    EXPECT_EQ((std::set<std::string>{tree.File("sub/temp.tmp"), tree.File("sub/deeper/old.bak")}), paths);
    ASSERT_EQ(23u, document["report"].size());
    EXPECT_EQ(1, document["report"][13]["foundCount"]);
    EXPECT_EQ(3000, document["report"][13]["foundSize"]);
    EXPECT_EQ("2 Ko", document["report"][13]["foundSizeText"]);
    EXPECT_EQ("Old Backup Files", document["report"][15]["title"]);
    EXPECT_EQ((std::vector<int>{13, 15}), document["options"].get<std::vector<int>>());
    EXPECT_EQ(0, document.value("unreadableCount", -1));

    // Presets pick from the catalogue as the window's buttons do, skipping unavailable options.
    const std::vector<std::string> rows = ObjectLines(RunTool({"options"}).out);
    ASSERT_EQ(23u, rows.size());
    std::vector<int> safe, byDefault, all;
    for (int i = 0; i < 23; ++i) {
        if (rows[i].find("\tunavailable\t") != std::string::npos)
            continue;
        all.push_back(i);
        if (rows[i].find("\tSafe\t") != std::string::npos)
            safe.push_back(i);
        if (rows[i].find("\tdefault\t") != std::string::npos)
            byDefault.push_back(i);
    }
    EXPECT_EQ(safe, SelectedOptions({"scan", tree.Str(), "--safe", "--no-prefs", "--json"}));
    EXPECT_EQ(byDefault, SelectedOptions({"scan", tree.Str(), "--default", "--no-prefs", "--json"}));
    EXPECT_EQ(all, SelectedOptions({"scan", tree.Str(), "--all", "--no-prefs", "--json"}));
    EXPECT_EQ(safe, SelectedOptions({"scan", tree.Str(), "--stored", "--no-prefs", "--json"})) << "first run: Set Safe";

    const TToolRun nothing = RunTool({"scan", tree.Str(), "--options", "17", "--no-prefs"});
    EXPECT_EQ(0, nothing.status);
    EXPECT_THAT(nothing.err, HasSubstr("The search criteria returned no results."));
    EXPECT_EQ("", nothing.out);
    EXPECT_THAT(nothing.err, HasSubstr("Objects [Selected: 0 / 0, Capacity: 0 Ko / 0 Ko]\n"));
}

TEST(CliTool, PreferencesBesideTheToolAreReadNeverWritten)
{
    TempDir folder;
    const std::string tool = folder.File(fs::path(cli_testing::ToolPath()).filename().string());
    fs::copy_file(fs::u8path(cli_testing::ToolPath()), fs::u8path(tool));
    Tree tree;

    // Old backup files ticked in the window; the custom-files mask too.
    const std::string prefs = WritePrefs(folder, "quillswp32.prefs", [](TPreferenceValues& values) {
        values.CleanupOptions = 1u << 15;
        values.CustomFiles = "*.txt";
    });
    const std::string before = ReadBytes(prefs);
    const TToolRun stored = RunTool({"scan", tree.Str(), "--stored"}, tool);
    EXPECT_EQ(0, stored.status) << stored.err;
    EXPECT_EQ(1u, ObjectLines(stored.out).size());
    EXPECT_THAT(stored.out, HasSubstr("Old Backup Files\t" + tree.File("sub/deeper/old.bak")));

    const TToolRun custom = RunTool({"clean", tree.Str(), "--options", "21", "--yes"}, tool);
    EXPECT_EQ(0, custom.status) << custom.err;
    EXPECT_FALSE(tree.Exists("keep.txt")) << "the stored custom mask is used";
    EXPECT_TRUE(tree.Exists("sub/temp.tmp"));
    EXPECT_EQ(before, ReadBytes(prefs)) << "statistics of the clean stay in memory";

    const std::string empty = WritePrefs(folder, "empty.prefs", [](TPreferenceValues& values) {
        values.CleanupOptions = 0;
    });
    const TToolRun nothing = RunTool({"scan", tree.Str(), "--prefs", empty, "--stored"}, tool);
    EXPECT_EQ(2, nothing.status);
    EXPECT_THAT(nothing.err, HasSubstr("No clean-up options were selected."));
    EXPECT_EQ(2, RunTool({"scan", tree.Str(), "--prefs", folder.File("none.prefs"), "--stored"}, tool).status);
    EXPECT_EQ(2, RunTool({"scan", tree.Str(), "--prefs", empty, "--no-prefs", "--stored"}, tool).status);
}

TEST(CliTool, UnusableFilesAndPathsAreRefusedBeforeAnyWork)
{
    Tree tree;
    const TToolRun folderPrefs = RunTool({"scan", tree.Str(), "--options", "13", "--prefs", tree.File("sub")});
    EXPECT_EQ(2, folderPrefs.status);
    EXPECT_THAT(folderPrefs.err, HasSubstr("\"" + tree.File("sub") + "\" is a folder"));
    EXPECT_THAT(folderPrefs.err, testing::Not(HasSubstr("does not exist")));

    // An empty name is neither the settings beside the tool nor "no report".
    for (const char* option : {"--prefs", "--report"}) {
        const TToolRun empty = RunTool({"scan", tree.Str(), "--options", "13", option, ""});
        EXPECT_EQ(2, empty.status) << option;
        EXPECT_THAT(empty.err, HasSubstr(std::string(option) + " needs a file name")) << option;
        EXPECT_EQ("", empty.out) << option;
    }
    // A report that could never be saved stops the clean before it deletes.
    const TToolRun folderReport =
        RunTool({"clean", tree.Str(), "--options", "13", "--no-prefs", "--yes", "--report", tree.File("sub")});
    EXPECT_EQ(2, folderReport.status);
    EXPECT_THAT(folderReport.err, HasSubstr("\"" + tree.File("sub") + "\" is a folder"));
    EXPECT_TRUE(tree.Exists("sub/temp.tmp"));

    const TToolRun nowhere = RunTool({"drive-info", tree.File("nowhere")});
    EXPECT_EQ(2, nowhere.status);
    EXPECT_THAT(nowhere.err, HasSubstr("\"" + tree.File("nowhere") + "\" does not exist"));
    EXPECT_EQ("", nowhere.out);
}

TEST(CliTool, CleanRemovesExactlyTheCheckedObjects)
{
    Tree tree;
    const TToolRun preview = RunTool({"scan", tree.Str(), "--options", "13-15", "--json", "--no-prefs"});
    std::set<std::string> found;
    const nlohmann::json previewed = nlohmann::json::parse(preview.out)["scan"];
    for (const auto& object : previewed["objects"])
        found.insert(object["path"].get<std::string>());
    ASSERT_EQ(3u, found.size());
    // The same folder named twice, spelled two ways, is scanned once.
    const std::string sep(1, platform::PathSeparator());
    const std::string spelledAgain = tree.Str() + sep + "sub" + sep + ".." + sep;
    const TToolRun twice = RunTool({"scan", tree.Str(), spelledAgain, "--options", "13-15", "--json", "--no-prefs"});
    EXPECT_EQ(3u, nlohmann::json::parse(twice.out)["scan"]["objects"].size());

    const std::string reportFile = tree.File("clean.txt");
    const TToolRun clean =
        RunTool({"clean", tree.Str(), "--options", "13-15", "--no-prefs", "--yes", "--report", reportFile});
    ASSERT_EQ(0, clean.status) << clean.err;
    for (const std::string& path : found)
        EXPECT_FALSE(fs::exists(fs::u8path(path))) << path;
    EXPECT_TRUE(tree.Exists("keep.txt") && tree.Exists("sub/deeper"));
    EXPECT_THAT(clean.err, HasSubstr("\nRemoved objects   :        3    Total size:      4 Ko\n"));
    EXPECT_THAT(clean.err, HasSubstr("\nProcess completed : "));
    EXPECT_THAT(clean.err, HasSubstr("Clean complete."));
    const std::string report = ReadBytes(reportFile);
    EXPECT_EQ(0u, report.find("Quillsweep "));
    EXPECT_THAT(report, HasSubstr("\r\nRemoved objects   :        3    Total size:      4 Ko\r\n"));
    EXPECT_THAT(report, HasSubstr("\r\n\r\nSkipped objects list:\r\n\r\n"));

    // Check Safe: the Potentially Unsafe temporary file stays and is listed as skipped.
    Tree second;
    const TToolRun safe = RunTool({"clean", second.Str(), "--options", "13,14", "--check", "safe", "--no-prefs",
                                   "--secure", "--passes", "3", "--random", "--yes"});
    ASSERT_EQ(0, safe.status) << safe.err;
    EXPECT_FALSE(second.Exists("app.cache"));
    EXPECT_TRUE(second.Exists("sub/temp.tmp"));
    EXPECT_THAT(safe.err, HasSubstr("Skipped objects list:\n\n" + second.File("sub/temp.tmp") + "\n"));

    // Confirmations on: --yes answers the per-object questions too.
    TempDir folder;
    const std::string confirm = WritePrefs(folder, "confirm.prefs", [](TPreferenceValues& values) {
        values.Confirmations = true;
    });
    Tree third;
    const TToolRun yes = RunTool({"clean", third.Str(), "--options", "13", "--prefs", confirm, "--yes", "--json"});
    ASSERT_EQ(0, yes.status) << yes.err;
    EXPECT_FALSE(third.Exists("sub/temp.tmp"));
    const nlohmann::json document = nlohmann::json::parse(yes.out);
    EXPECT_EQ(1u, document["scan"]["objects"].size());
    EXPECT_EQ("Clean complete.", document["clean"]["status"]["text"]);
    EXPECT_THAT(document["clean"]["reportLines"].dump(), HasSubstr("Removed objects   :        1"));
}

TEST(CliTool, OnlyNamedOptionsAreUsed)
{
    Tree tree;
    // Without a selection nothing is scanned, whatever the stored ticks and --yes say.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"clean", tree.Str()}, {"clean", tree.Str(), "--yes"},
          {"clean", tree.Str(), "--no-prefs", "--yes", "--check", "safe"}, {"scan", tree.Str()}}) {
        const TToolRun run = RunTool(arguments);
        EXPECT_EQ(2, run.status) << testing::PrintToString(arguments);
        EXPECT_THAT(run.err, HasSubstr("--options LIST, --safe, --default, --all or --stored"));
        EXPECT_EQ("", run.out);
    }
    EXPECT_TRUE(tree.Exists("sub/temp.tmp") && tree.Exists("sub/deeper/old.bak") && tree.Exists("app.cache"));

    // --stored: the window's ticks (Old Backup Files only) from the file given.
    TempDir folder;
    const std::string prefs = WritePrefs(folder, "backups.prefs", [](TPreferenceValues& values) {
        values.CleanupOptions = 1u << 15;
    });
    EXPECT_EQ(std::vector<int>{15}, SelectedOptions({"scan", tree.Str(), "--prefs", prefs, "--stored", "--json"}));
    const TToolRun stored = RunTool({"clean", tree.Str(), "--prefs", prefs, "--stored", "--yes"});
    EXPECT_EQ(0, stored.status) << stored.err;
    EXPECT_FALSE(tree.Exists("sub/deeper/old.bak"));
    EXPECT_TRUE(tree.Exists("sub/temp.tmp") && tree.Exists("app.cache"));
}

TEST(CliTool, CleanAsksOnceBeforeAnythingIsDeleted)
{
    Tree tree;
    // Custom Files (Unsafe) with the default mask "*.tmp", and General Cache Files.
    const TToolRun refused = RunTool({"clean", tree.Str(), "--options", "14,21", "--no-prefs", "--report",
                                      tree.File("clean.txt")});
    EXPECT_EQ(3, refused.status);
    EXPECT_THAT(refused.err, HasSubstr("\nClean 2 objects (3 Ko)?\nNo terminal to answer on: nothing was deleted "
                                       "(--yes answers yes).\n"));
    EXPECT_THAT(refused.err, testing::Not(HasSubstr("unsafe item"))) << "the question comes first";
    EXPECT_THAT(refused.err, HasSubstr("\nObjects [Selected: 2 / 2, Capacity: 3 Ko / 3 Ko]\n"));
    EXPECT_TRUE(tree.Exists("sub/temp.tmp") && tree.Exists("app.cache"));
    EXPECT_FALSE(tree.Exists("clean.txt"));

    // Only the checked objects are counted.
    const TToolRun safeOnly = RunTool({"clean", tree.Str(), "--options", "14,21", "--no-prefs", "--check", "safe"});
    EXPECT_EQ(3, safeOnly.status);
    EXPECT_THAT(safeOnly.err, HasSubstr("\nClean 1 object (1 Ko)?\n"));
    EXPECT_TRUE(tree.Exists("app.cache"));

    const TToolRun yes = RunTool({"clean", tree.Str(), "--options", "14,21", "--no-prefs", "--yes"});
    EXPECT_EQ(0, yes.status) << yes.err;
    EXPECT_THAT(yes.err, testing::Not(HasSubstr("Clean 2 objects")));
    EXPECT_FALSE(tree.Exists("sub/temp.tmp") || tree.Exists("app.cache"));
    EXPECT_TRUE(tree.Exists("keep.txt") && tree.Exists("sub/deeper/old.bak"));

    // Nothing found: nothing to ask.
    const TToolRun nothing = RunTool({"clean", tree.Str(), "--options", "14,21", "--no-prefs"});
    EXPECT_EQ(0, nothing.status);
    EXPECT_THAT(nothing.err, HasSubstr("The search criteria returned no results."));
    EXPECT_THAT(nothing.err, testing::Not(HasSubstr("Clean ")));
}

#ifndef _WIN32
TEST(CliTool, InterruptStopsTheScanAsTheStopButtonDoes)
{
    TempDir big;
    for (int i = 0; i < 3000; ++i) {
        const fs::path folder = big.Path() / ("d" + std::to_string(i / 100)) / ("e" + std::to_string(i));
        fs::create_directories(folder);
        WriteBytes(testing_support::Utf8(folder / "x.tmp"), "x");
    }
    const TToolRun run = cli_testing::RunToolInterruptedAfterFirstLine(
        {"scan", big.Str(), "--options", "13", "--no-prefs"});
    EXPECT_EQ(130, run.status) << run.err;
    EXPECT_THAT(run.err, HasSubstr("Scan stopped."));
    EXPECT_THAT(run.err, testing::Not(HasSubstr("Scan complete.")));
    EXPECT_THAT(run.err, HasSubstr("Stopping; press Ctrl-C again to force the exit"));
    EXPECT_THAT(run.err, HasSubstr("\nObjects [Selected: "));
    EXPECT_LT(ObjectLines(run.out).size(), 3000u);
}

TEST(CliTool, QuestionsAreAskedOnTheTerminal)
{
    Tree tree;
    TempDir folder;
    const std::string confirm = WritePrefs(folder, "confirm.prefs", [](TPreferenceValues& values) {
        values.Confirmations = true;
    });
    const std::vector<std::string> clean = {"clean", tree.Str(), "--options", "21", "--prefs", confirm};
    const std::string question = "\nClean 1 object (2 Ko)? [y/N] ";
    const std::string warning = "1 unsafe item is checked in this list.\nAre you sure you want to continue? [y/N] ";
    // Custom Files (Unsafe) finds temp.tmp; "n", or no answer at all, refuses before the warning.
    for (const char* typed : {"n\n", "\n"}) {
        const TToolRun refused = cli_testing::RunToolOnTerminal(clean, typed);
        EXPECT_EQ(3, refused.status) << refused.out;
        EXPECT_THAT(refused.out, HasSubstr(question));
        EXPECT_THAT(refused.out, testing::Not(HasSubstr("unsafe item")));
        EXPECT_TRUE(tree.Exists("sub/temp.tmp"));
    }
    // Yes to the question, then "n" at the warning.
    const TToolRun warned = cli_testing::RunToolOnTerminal(clean, "y\nn\n");
    EXPECT_EQ(3, warned.status) << warned.out;
    EXPECT_LT(warned.out.find(question), warned.out.find(warning));
    EXPECT_NE(std::string::npos, warned.out.find(warning));
    EXPECT_TRUE(tree.Exists("sub/temp.tmp"));

    // Then the per-object question: "na" (no to all) keeps both objects.
    WriteBytes(tree.File("more.tmp"), "m");
    const TToolRun declined = cli_testing::RunToolOnTerminal(clean, "y\ny\nna\n");
    EXPECT_EQ(0, declined.status) << declined.out;
    EXPECT_THAT(declined.out, HasSubstr("\nClean 2 objects (3 Ko)? [y/N] "));
    EXPECT_THAT(declined.out, HasSubstr("Delete the file: \""));
    EXPECT_TRUE(tree.Exists("sub/temp.tmp") && tree.Exists("more.tmp"));
    EXPECT_THAT(declined.out, HasSubstr("Removed objects   :        0"));

    // "ya" (yes to all) deletes both after one answer.
    const TToolRun accepted = cli_testing::RunToolOnTerminal(clean, "yes\nyes\nya\n");
    EXPECT_EQ(0, accepted.status) << accepted.out;
    EXPECT_FALSE(tree.Exists("sub/temp.tmp") || tree.Exists("more.tmp"));
    EXPECT_TRUE(tree.Exists("keep.txt"));
}

namespace {
// The bytes of a "...Bytes" field: %XX escapes as a URL decoder reads them.
std::string Unescaped(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}
} // namespace

// Names here are bytes: a script must get back the very path, not replacement characters.
TEST(CliTool, JsonKeepsTheBytesOfNamesThatAreNotUtf8)
{
    Tree tree;
    const std::string folder = tree.Str() + "/d\xFFir", file = folder + "/a\xFE%b.tmp";
    fs::create_directories(fs::path(folder));
    WriteBytes(file, "x");
    WriteBytes(folder + "/safe.cache", "c");
    const TToolRun scan = RunTool({"scan", folder, tree.Str(), "--options", "13", "--no-prefs", "--json"});
    ASSERT_EQ(0, scan.status) << scan.err;
    const nlohmann::json document = nlohmann::json::parse(scan.out)["scan"];
    ASSERT_EQ(2u, document["targetsBytes"].size());
    EXPECT_EQ(folder, Unescaped(document["targetsBytes"][0]));
    EXPECT_TRUE(document["targetsBytes"][1].is_null());
    std::set<std::string> paths;
    for (const auto& object : document["objects"]) {
        const std::string path = object["path"];
        EXPECT_EQ(path.find("\xEF\xBF\xBD") != std::string::npos, object.contains("pathBytes")) << path;
        paths.insert(object.contains("pathBytes") ? Unescaped(object["pathBytes"]) : path);
    }
    EXPECT_EQ((std::set<std::string>{file, tree.File("sub/temp.tmp")}), paths);

    // The clean report lists the Potentially Unsafe file that Check Safe leaves.
    const TToolRun clean =
        RunTool({"clean", folder, "--options", "13,14", "--check", "safe", "--no-prefs", "--yes", "--json"});
    ASSERT_EQ(0, clean.status) << clean.err;
    const nlohmann::json cleaned = nlohmann::json::parse(clean.out)["clean"];
    std::vector<std::string> skipped;
    for (const auto& line : cleaned["reportLinesBytes"])
        if (!line.is_null())
            skipped.push_back(Unescaped(line));
    EXPECT_THAT(skipped, testing::Contains(testing::HasSubstr(file)));
    EXPECT_TRUE(fs::exists(fs::path(file)));
}

// A scan only: the system's temporary folder is moved to a scratch folder, and even so the
// tool is never run to clean it.
TEST(CliTool, SystemFolderOptionsAreMarked)
{
    const nlohmann::json listed = nlohmann::json::parse(RunTool({"options", "--json"}).out)["options"];
    const std::vector<std::string> rows = ObjectLines(RunTool({"options"}).out);
    ASSERT_EQ(23u, listed.size());
    ASSERT_EQ(23u, rows.size());
    for (int i = 0; i < 23; ++i) {
        const bool system = listed[i]["systemFolders"];
        EXPECT_EQ(system, i <= 3 || (i >= 6 && i <= 12)) << i;
        EXPECT_EQ(system, rows[i].find("(system folders") != std::string::npos) << rows[i];
        if (!system)
            EXPECT_TRUE(listed[i]["places"].empty()) << i;
    }
    EXPECT_EQ(std::vector<std::string>{"the Trash"}, listed[1]["places"].get<std::vector<std::string>>());
    EXPECT_THAT(rows[1], testing::EndsWith("\tTrash (system folders)\tthe Trash: *"));

    // Its scratch folders lie in no temporary folder of the caller's (TMPDIR=/var/tmp, say): the
    // temporary-folders option would claim them, and /var/tmp is hidden below.
    const fs::path base = fs::u8path(platform::ExecutablePath()).parent_path() / "cli-scratch";
    fs::create_directories(base);
    struct TRemoved {
        fs::path path;
        ~TRemoved()
        {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    } removeBase{base};
    ScopedEnvironment scratch("TMPDIR", testing_support::Utf8(base));
    Tree tree;
    TempDir temporary;
    WriteBytes(temporary.File("left.dat"), "l");
    ScopedEnvironment tmpdir("TMPDIR", temporary.Str());
    const TToolRun human = RunTool({"scan", tree.Str(), "--options", "0,15", "--no-prefs"});
    const TToolRun json = RunTool({"scan", tree.Str(), "--options", "0,15", "--no-prefs", "--json"});

    ASSERT_EQ(0, human.status) << human.err;
    EXPECT_THAT(human.out, HasSubstr("Safe\tSystem Temporary Directories (system folders)\t" +
                                     temporary.File("left.dat") + "\t1 Ko\t1\n"));
    EXPECT_THAT(human.out, HasSubstr("Potentially Unsafe\tOld Backup Files\t" + tree.File("sub/deeper/old.bak") +
                                     "\t1 Ko\t1\n"));
    EXPECT_THAT(human.err,
                HasSubstr("Some objects come from the system's own folders, not the targets: " + temporary.Str()));
    ASSERT_EQ(0, json.status) << json.err;
    const nlohmann::json document = nlohmann::json::parse(json.out)["scan"];
    for (const auto& object : document["objects"])
        EXPECT_EQ(object["option"] == 0, object["systemFolders"].get<bool>()) << object["path"];
    EXPECT_THAT(document["systemPlaces"].get<std::vector<std::string>>(), testing::Contains(temporary.Str()));
    EXPECT_THAT(document["systemPlaces"].get<std::vector<std::string>>(), testing::Not(testing::Contains(tree.Str())));
    EXPECT_TRUE(document["report"][0]["systemFolders"]);
    EXPECT_FALSE(document["report"][15]["systemFolders"]);

    // The clean's question says the temporary-folders pass also removes empty folders no scan
    // lists. Refused for want of a terminal, and with an empty /var/tmp of its own all the same.
    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", "/var/tmp", "tmpfs", 0, nullptr) != 0)
            _exit(77);
        const TToolRun clean = RunTool({"clean", tree.Str(), "--options", "0,15", "--no-prefs"});
        const bool said = clean.err.find("\nClean 2 objects (2 Ko), including " + temporary.Str() +
                                         "; empty folders in the temporary folders are removed too?\nNo terminal") !=
                          std::string::npos;
        if (!said)
            fprintf(stderr, "%s", clean.err.c_str());
        _exit(clean.status == 3 && said ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) != 77)
        EXPECT_EQ(0, WEXITSTATUS(status)) << "the clean's question";
    EXPECT_TRUE(fs::exists(temporary.Path() / "left.dat"));

    // A desktop turned off the xdg-user-dirs way ("$HOME/") is no place to look.
    TempDir home;
    fs::create_directories(home.Path() / "Desktop");
    ScopedEnvironment homeVariable("HOME", home.Str()), off("XDG_DESKTOP_DIR", home.Str() + "/");
    EXPECT_THAT(ObjectLines(RunTool({"options"}).out).at(8), testing::EndsWith("\tno folder on this system: *.lnk;*.desktop"));
    ScopedEnvironment on("XDG_DESKTOP_DIR", home.File("Desktop"));
    EXPECT_THAT(ObjectLines(RunTool({"options"}).out).at(8),
                testing::EndsWith("\t" + home.File("Desktop") + ": *.lnk;*.desktop"));
}
#endif

#ifndef _WIN32
// A folder the scan cannot read is counted in the document and said in its closing text.
TEST(CliTool, ScanDocumentCountsFoldersItCannotRead)
{
    Tree tree;
    fs::create_directories(tree.dir.Path() / "locked");
    WriteBytes(tree.File("locked/hidden.tmp"), "h");
    fs::permissions(tree.dir.Path() / "locked", fs::perms::none);
    // Root reads every folder: the tool runs as an ordinary user, who may clean the tree.
    if (getuid() == 0)
        ASSERT_EQ(0, chown(tree.Str().c_str(), 65534, 65534));
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(77);
        const TToolRun run = RunTool({"scan", tree.Str(), "--options", "13", "--json", "--no-prefs"});
        const nlohmann::json document = nlohmann::json::parse(run.out, nullptr, false);
        if (document.is_discarded() || !document.contains("scan"))
            _exit(2);
        const nlohmann::json& scan = document["scan"];
        const bool counted = scan.value("unreadableCount", -1) == 1 && scan["objects"].size() == 1;
        const bool said = scan["status"]["text"] == "Scan complete. 1 folder could not be read." &&
                          scan["status"]["code"] == "complete";
        _exit(counted && said ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    fs::permissions(tree.dir.Path() / "locked", fs::perms::owner_all);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "cannot act as an ordinary user here";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "1: count, text or objects; 2: no document";
}
#endif

// --recycle moves the checked objects to the bin and says where each went; with --secure it is
// refused before anything is done. Natively the Trash is a scratch one; under Wine it is the test
// program's own bin, which the recycle-bin option then counts.
TEST(CliTool, RecycleMovesTheObjectsToTheBin)
{
    Tree tree;
    const TToolRun both = RunTool({"clean", tree.Str(), "--options", "13", "--no-prefs", "--yes", "--recycle", "--secure"});
    EXPECT_EQ(2, both.status);
    EXPECT_THAT(both.err, HasSubstr("--recycle keeps the objects in the Recycle Bin (Trash), --secure overwrites them"));
    EXPECT_TRUE(tree.Exists("sub/temp.tmp"));

#ifndef _WIN32
    TempDir data;
    ScopedEnvironment trash("XDG_DATA_HOME", data.Str());
    const std::string bin = data.File("Trash/files/");
#else
    const std::string bin;
#endif
    // A path past MAX_PATH goes too: the Windows shell is handed its folder's short form.
    fs::path deep = tree.dir.Path();
    for (int i = 0; i < 5; ++i)
        deep /= "folder-with-a-rather-long-name-number-" + std::to_string(i) + "-xxxxxxxxxxxxxxxxxxxx";
    fs::create_directories(deep);
    WriteBytes(testing_support::Utf8(deep / "deep.tmp"), "deep");
    const TToolRun clean = RunTool({"clean", tree.Str(), "--options", "13-15", "--no-prefs", "--yes", "--recycle", "--json"});
    ASSERT_EQ(0, clean.status) << clean.err;
    EXPECT_THAT(clean.err, HasSubstr(" to the "));
    const nlohmann::json document = nlohmann::json::parse(clean.out);
    ASSERT_EQ(4u, document["clean"]["removed"].size()) << clean.err;
    for (const auto& object : document["clean"]["removed"]) {
        const std::string path = object["path"];
        const std::string destination = object.value("destination", "");
        EXPECT_FALSE(fs::exists(fs::u8path(path))) << path;
        EXPECT_TRUE(fs::exists(fs::u8path(destination))) << destination;
        EXPECT_EQ(0u, destination.find(bin)) << destination;
        // Its own name, or one made unique from it (Wine adds "-<hex>" in a bin that holds the name).
        const std::string name = path.substr(path.find_last_of("/\\") + 1);
        const size_t slash = destination.find_last_of("/\\");
        EXPECT_EQ(slash + 1, destination.find(name.substr(0, name.find('.')), slash)) << destination;
    }
    EXPECT_THAT(document["clean"]["reportLines"].dump(), HasSubstr("Moved to the bin  :        4"));
    const nlohmann::json record = nlohmann::json::parse(ReadBytes(document["clean"]["recordFile"].get<std::string>()));
    EXPECT_EQ("recycle", record["mode"]);
    EXPECT_EQ(4, record["totals"]["movedCount"]);
    for (const auto& object : record["objects"])
        EXPECT_TRUE(object["outcome"] != "moved" || object.contains("movedModified")) << object.dump();
#ifdef _WIN32
    // Wine's bin: the recycle-bin option finds what went there.
    const TToolRun scan = RunTool({"scan", tree.Str(), "--options", "1", "--no-prefs", "--json"});
    const nlohmann::json found = nlohmann::json::parse(scan.out)["scan"]["objects"];
    ASSERT_EQ(1u, found.size()) << scan.out;
    EXPECT_GE(found[0]["itemCount"].get<int>(), 4);
#endif
}
