// The tool as people and scripts meet it: help, mistakes, what goes to which stream, the JSON schema.
#include "CliProcess.h"
#include "JsonSchemaCheck.h"
#include "TestSupport.h"

#include "platform/PlatformFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <set>

using cli_testing::RunTool;
using cli_testing::TToolRun;
using testing::HasSubstr;
using testing::Not;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace fs = std::filesystem;

namespace {

// big.tmp (5,000 bytes: 4 Ko), old.bak and app.cache beside keep.txt, which no option looks for.
class Scratch : public cli_testing::TScratchFolder {
public:
    Scratch()
    {
        fs::create_directories(dir.Path() / "sub");
        WriteBytes(File("sub/big.tmp"), std::string(5000, 't'));
        WriteBytes(File("old.bak"), "bb");
        WriteBytes(File("app.cache"), "c");
        WriteBytes(File("keep.txt"), "k");
    }
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t end; (end = line.find('\t', start)) != std::string::npos; start = end + 1)
        fields.push_back(line.substr(start, end - start));
    fields.push_back(line.substr(start));
    return fields;
}

// Parses standard output as one document and checks it against the documented schema.
nlohmann::json Document(const TToolRun& run)
{
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(run.out);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what() << "\n" << run.out << run.err;
        return document;
    }
    for (const std::string& error : cli_testing::SchemaErrors(cli_testing::ToolSchema(), document))
        ADD_FAILURE() << error;
    EXPECT_EQ(run.status, document.value("exitStatus", -1));
    return document;
}

std::set<std::string> PathsOf(const nlohmann::json& objects)
{
    std::set<std::string> paths;
    for (const auto& object : objects)
        paths.insert(object["path"].get<std::string>());
    return paths;
}

// Runs in folder, for arguments that name it relatively.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
    ~InFolder() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

} // namespace

TEST(CliScripts, EachCommandHasItsOwnHelp)
{
    const bool windows = platform::PathSeparator() == '\\';
    const TToolRun top = RunTool({"--help"});
    EXPECT_EQ(0, top.status);
    for (const char* command : {"options", "scan", "clean", "drive-info", "help"})
        EXPECT_THAT(top.out, HasSubstr("\n  " + std::string(command) + " ")) << command;
    EXPECT_THAT(top.out, Not(HasSubstr("--custom-files"))) << "a command's flags are in its own help";
    EXPECT_EQ(top.out, RunTool({"help"}).out);
    EXPECT_EQ("", top.err);

    // Each command's flags, and none of another's.
    const std::vector<std::pair<std::string, std::vector<std::string>>> flags = {
        {"scan", {"--options", "--safe", "--stored", "--json", "--null", "--report"}},
        {"clean", {"--options", "--check", "--yes", "--secure", "--passes", "--random"}},
        {"options", {"--json"}},
        {"drive-info", {"--json"}},
    };
    for (const auto& [command, names] : flags) {
        for (const std::vector<std::string>& asked : {std::vector<std::string>{"help", command},
                                                      {command, "--help"}, {command, "-h"}}) {
            const TToolRun help = RunTool(asked);
            EXPECT_EQ(0, help.status) << command;
            EXPECT_EQ(0u, help.out.find("Usage: quillsweep-cli" + std::string(windows ? ".exe " : " ") + command))
                << help.out;
            for (const std::string& name : names)
                EXPECT_THAT(help.out, HasSubstr(name)) << command;
            EXPECT_THAT(help.out, HasSubstr("Examples:")) << command;
            if (command != "options")
                EXPECT_EQ(windows, help.out.find(":\\") != std::string::npos) << "paths as the system spells them";
        }
    }
    EXPECT_THAT(RunTool({"scan", "--help"}).out, Not(HasSubstr("--yes")));
    EXPECT_THAT(RunTool({"options", "--help"}).out, Not(HasSubstr("--safe")));
    // After "--" it is a target's name, not a request for help.
    EXPECT_NE(0, RunTool({"scan", "--options", "13", "--", "--help"}).status);

    const TToolRun version = RunTool({"-V"});
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(0u, version.out.find("Quillsweep "));
    if (windows)
        EXPECT_EQ(RunTool({"clean", "--help"}).out, RunTool({"clean", "/?"}).out);
}

TEST(CliScripts, MistakesAreNamedInTheOrderGivenWithSuggestions)
{
    Scratch tree;
    const TToolRun command = RunTool({"scna", tree.Str()});
    EXPECT_EQ(2, command.status);
    EXPECT_THAT(command.err, HasSubstr("\"scna\" is not a command; did you mean \"scan\"?"));
    EXPECT_EQ("", command.out);
    EXPECT_THAT(RunTool({"help", "claen"}).err, HasSubstr("did you mean \"clean\"?"));
    EXPECT_THAT(RunTool({"--verison"}).err, HasSubstr("did you mean \"--version\"?"));
    EXPECT_THAT(RunTool({"frobnicate"}).err, Not(HasSubstr("did you mean")));

    const TToolRun flag = RunTool({"scan", tree.Str(), "--optons", "13"});
    EXPECT_EQ(2, flag.status);
    EXPECT_THAT(flag.err, HasSubstr("\"--optons\" (did you mean \"--options\"?)"));
    EXPECT_THAT(flag.err, HasSubstr("Run \"quillsweep-cli help scan\""));
    const TToolRun name = RunTool({"scan", tree.Str(), "--options", "13,bakup-files"});
    EXPECT_EQ(2, name.status);
    EXPECT_THAT(name.err, HasSubstr("Did you mean \"backup-files\"?"));

    const TToolRun extra = RunTool({"options", "three", "two", "one", "scna"});
    EXPECT_EQ(2, extra.status);
    EXPECT_THAT(extra.err, HasSubstr("unexpected arguments \"three\", \"two\", \"one\", \"scna\""));
    EXPECT_EQ(2, RunTool({"drive-info"}).status);

    // Flags that would be ignored, or two writers of standard output, are refused before any work.
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"clean", tree.Str(), "--options", "13", "--yes", "--passes", "3"}, "--passes overwrites files only with --secure"},
        {{"clean", tree.Str(), "--options", "13", "--yes", "--random"}, "--random overwrites files only with --secure"},
        {{"scan", tree.Str(), "--options", "13", "--json", "--report", "-"}, "would both write standard output"},
        {{"scan", tree.Str(), "--options", "13", "--json", "-0"}, "would both write standard output"},
        {{"scan", tree.Str(), "--options", "13", "--null", "--report", "-"}, "would both write standard output"},
    };
    for (const auto& [arguments, message] : refused) {
        const TToolRun run = RunTool(arguments);
        EXPECT_EQ(2, run.status) << message;
        EXPECT_THAT(run.err, HasSubstr(message));
        EXPECT_EQ("", run.out);
    }
    EXPECT_TRUE(tree.Exists("sub/big.tmp"));

    // "--" ends the flags wherever it stands: "-dash" is a folder here.
    fs::create_directories(tree.dir.Path() / "-dash");
    WriteBytes(tree.File("-dash/x.tmp"), "x");
    InFolder here(tree.dir.Path());
    const TToolRun dashed = RunTool({"scan", "sub", "--options", "temp-files", "--json", "--", "-dash"});
    ASSERT_EQ(0, dashed.status) << dashed.err;
    EXPECT_EQ((std::set<std::string>{tree.File("sub/big.tmp"), tree.File("-dash/x.tmp")}),
              PathsOf(Document(dashed)["scan"]["objects"]));
}

TEST(CliScripts, StandardOutputHoldsOnlyData)
{
    Scratch tree;
    const TToolRun scan = RunTool({"scan", tree.Str(), "--options", "temp-files,backup-files", "--no-prefs"});
    ASSERT_EQ(0, scan.status) << scan.err;
    const std::vector<std::string> lines = Lines(scan.out);
    ASSERT_EQ(2u, lines.size()) << scan.out;
    std::set<std::string> found;
    for (const std::string& line : lines) {
        const std::vector<std::string> fields = Fields(line);
        ASSERT_EQ(5u, fields.size()) << line;
        found.insert(fields[2] + " " + fields[3] + " " + fields[4]);
    }
    EXPECT_EQ((std::set<std::string>{tree.File("sub/big.tmp") + " 4 Ko 5000", tree.File("old.bak") + " 1 Ko 2"}),
              found);
    EXPECT_THAT(scan.err, HasSubstr("Scan complete.\nObjects [Selected: 2 / 2, Capacity: 5 Ko / 5 Ko]\n"));

    // The report instead of the lines; "-" is no file name.
    InFolder here(tree.dir.Path());
    const TToolRun report = RunTool({"scan", tree.Str(), "--options", "13", "--no-prefs", "--report", "-"});
    ASSERT_EQ(0, report.status) << report.err;
    EXPECT_EQ(0u, report.out.find("Quillsweep ")) << report.out;
    EXPECT_THAT(report.out, HasSubstr("\nTemporary Files, 1 found count, 4 Ko found capacity, 100"));
    EXPECT_THAT(report.out, Not(HasSubstr(tree.File("sub/big.tmp"))));
    EXPECT_FALSE(tree.Exists("-"));

    const TToolRun clean = RunTool({"clean", tree.Str(), "--options", "13", "--no-prefs", "--yes", "--report", "-"});
    ASSERT_EQ(0, clean.status) << clean.err;
    EXPECT_EQ(0u, clean.out.find("Quillsweep ")) << clean.out;
    EXPECT_THAT(clean.out, HasSubstr("\nRemoved objects   :        1    Total size:      4 Ko\n"));
    EXPECT_THAT(clean.err, Not(HasSubstr("Removed objects")));
    EXPECT_FALSE(tree.Exists("-") || tree.Exists("sub/big.tmp"));
}

TEST(CliScripts, OptionsAreNamedStably)
{
    Scratch tree;
    const TToolRun listed = RunTool({"options"});
    ASSERT_EQ(0, listed.status);
    const std::vector<std::string> rows = Lines(listed.out);
    ASSERT_EQ(23u, rows.size());
    for (const auto& [index, name] : std::vector<std::pair<int, std::string>>{
             {0, "temp-folders"}, {1, "recycle-bin"}, {13, "temp-files"}, {20, "empty-folders"}, {21, "custom-files"}}) {
        const std::vector<std::string> fields = Fields(rows[static_cast<size_t>(index)]);
        ASSERT_EQ(7u, fields.size()) << rows[static_cast<size_t>(index)];
        EXPECT_EQ(std::to_string(index), fields[0]);
        EXPECT_EQ(name, fields[1]);
    }
    if (platform::PathSeparator() == '/')
        EXPECT_THAT(listed.out, Not(HasSubstr("Windows")));

    const TToolRun byName = RunTool({"scan", tree.Str(), "--options", "cache-files,backup-files", "--json"});
    const nlohmann::json named = Document(byName)["scan"];
    EXPECT_EQ((std::vector<int>{14, 15}), named["options"].get<std::vector<int>>());
    EXPECT_EQ((std::vector<std::string>{"cache-files", "backup-files"}),
              named["optionNames"].get<std::vector<std::string>>());
    EXPECT_EQ(PathsOf(named["objects"]),
              PathsOf(Document(RunTool({"scan", tree.Str(), "--options", "14-15", "--json"}))["scan"]["objects"]));
}

TEST(CliScripts, EveryDocumentFollowsTheSchema)
{
    Scratch tree;
    const nlohmann::json options = Document(RunTool({"options", "--json"}));
    ASSERT_EQ(23u, options["options"].size());
    EXPECT_EQ("custom-files", options["options"][21]["name"]);

    const TToolRun drive = RunTool({"drive-info", tree.Str(), "--json"});
    if (drive.status == 0)
        EXPECT_FALSE(Document(drive)["drive"]["fileSystem"].get<std::string>().empty());
    else
        EXPECT_EQ("", drive.out) << "a drive that cannot describe itself gives only the notice";

    const nlohmann::json scan =
        Document(RunTool({"scan", tree.Str(), "--options", "13-15", "--no-prefs", "--json"}))["scan"];
    EXPECT_EQ("complete", scan["status"]["code"]);
    EXPECT_EQ(3, scan["totals"]["foundCount"]);
    EXPECT_EQ(5003, scan["totals"]["foundSize"]) << "bytes, beside the Ko";
    EXPECT_EQ("6 Ko", scan["totals"]["foundSizeText"]);
    for (const auto& object : scan["objects"])
        if (object["path"] == tree.File("sub/big.tmp"))
            EXPECT_EQ(5000, object["size"]);
    EXPECT_EQ(5000, scan["report"][13]["foundSize"]);

    // Nothing found: empty lists, not null.
    const TToolRun none = RunTool({"clean", tree.Str(), "--options", "17", "--no-prefs", "--json"});
    const nlohmann::json empty = Document(none);
    EXPECT_EQ(0, none.status);
    EXPECT_EQ("nothingFound", empty["clean"]["status"]["code"]);
    EXPECT_TRUE(empty["clean"]["removed"].is_array() && empty["clean"]["removed"].empty());
    EXPECT_TRUE(empty["scan"]["objects"].is_array() && empty["scan"]["objects"].empty());

    // Refused without a terminal: a whole document all the same.
    const TToolRun refused = RunTool({"clean", tree.Str(), "--options", "13", "--no-prefs", "--json"});
    EXPECT_EQ(3, refused.status);
    EXPECT_EQ("refused", Document(refused)["clean"]["status"]["code"]);
    EXPECT_TRUE(tree.Exists("sub/big.tmp"));

    // Check Safe leaves the Potentially Unsafe backup: listed as skipped, with its size in bytes.
    const TToolRun cleaned =
        RunTool({"clean", tree.Str(), "--options", "14,15", "--check", "safe", "--no-prefs", "--yes", "--json"});
    const nlohmann::json clean = Document(cleaned)["clean"];
    EXPECT_EQ("complete", clean["status"]["code"]);
    EXPECT_EQ((std::set<std::string>{tree.File("app.cache")}), PathsOf(clean["removed"]));
    EXPECT_EQ((std::set<std::string>{tree.File("old.bak")}), PathsOf(clean["skipped"]));
    EXPECT_EQ(1, clean["totals"]["removedSize"]);
    EXPECT_EQ(2, clean["totals"]["skippedSize"]);
    EXPECT_FALSE(tree.Exists("app.cache"));
    EXPECT_TRUE(tree.Exists("old.bak"));
    for (const auto& line : clean["reportLines"])
        EXPECT_EQ(std::string::npos, line.get<std::string>().find_first_of("\r\n")) << line;

    // The check itself fails on what the schema forbids.
    const nlohmann::json& schema = cli_testing::ToolSchema();
    nlohmann::json broken = options;
    broken["options"][0]["option"] = "0";
    EXPECT_FALSE(cli_testing::SchemaErrors(schema, broken).empty()) << "an index as text";
    broken = options;
    broken["options"][0].erase("name");
    EXPECT_FALSE(cli_testing::SchemaErrors(schema, broken).empty()) << "a required field missing";
    broken = options;
    broken["undocumented"] = true;
    EXPECT_FALSE(cli_testing::SchemaErrors(schema, broken).empty()) << "a field the schema does not name";
    broken = options;
    broken["options"][0]["looksAtBytes"] = "%zz";
    EXPECT_FALSE(cli_testing::SchemaErrors(schema, broken).empty()) << "bytes that do not decode";
}

#ifndef _WIN32
// A name with a line break and a tab: the lines cannot carry it, --null and --json can.
TEST(CliScripts, UnusualNamesReachScriptsExactly)
{
    Scratch tree;
    const std::string odd = tree.File("line\nbreak\tand tab.tmp");
    WriteBytes(odd, "o");
    const TToolRun lines = RunTool({"scan", tree.Str(), "--options", "13", "--no-prefs"});
    ASSERT_EQ(0, lines.status);
    EXPECT_EQ(2u, Lines(lines.out).size()) << "one line per object, whatever the name";
    EXPECT_THAT(lines.err, HasSubstr("1 path holds control characters"));

    const TToolRun null = RunTool({"scan", tree.Str(), "--options", "13", "--no-prefs", "-0"});
    ASSERT_EQ(0, null.status);
    EXPECT_EQ((std::set<std::string>{odd + '\0', tree.File("sub/big.tmp") + '\0'}),
              (std::set<std::string>{null.out.substr(0, null.out.find('\0') + 1),
                                     null.out.substr(null.out.find('\0') + 1)}));

    // xargs -0 hands each path to the program whole: cat opens both files.
    const TToolRun piped = RunTool({"-c", "\"$0\" scan \"$1\" --options 13 --no-prefs -0 | xargs -0 cat",
                                    cli_testing::ToolPath(), tree.Str()},
                                   "/bin/sh");
    ASSERT_EQ(0, piped.status) << piped.err;
    EXPECT_EQ(5001u, piped.out.size());
    EXPECT_EQ(1, std::count(piped.out.begin(), piped.out.end(), 'o'));

    EXPECT_THAT(PathsOf(Document(RunTool({"scan", tree.Str(), "--options", "13", "--json"}))["scan"]["objects"]),
                testing::Contains(odd));
}

// Ctrl-C at the question refuses it, and the document still comes, complete.
TEST(CliScripts, InterruptedRunStillWritesItsDocument)
{
    Scratch tree;
    const TToolRun run = cli_testing::RunToolOnTerminalInterruptedAt(
        {"clean", tree.Str(), "--options", "13", "--no-prefs", "--json"}, "[y/N] ");
    EXPECT_EQ(130, run.status) << run.out;
    const size_t start = run.out.find("\n{\n");
    ASSERT_NE(std::string::npos, start) << run.out;
    TToolRun document = run;
    document.out = run.out.substr(start + 1);
    const nlohmann::json parsed = Document(document);
    EXPECT_EQ("stopped", parsed["clean"]["status"]["code"]);
    EXPECT_EQ(1u, parsed["scan"]["objects"].size());
    EXPECT_TRUE(tree.Exists("sub/big.tmp"));
}
#endif
