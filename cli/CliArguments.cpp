#include "cli/CliArguments.h"

#include "engine/uEngineConstants.h"
#include "platform/PlatformConsole.h"
#include "support/VelaDetect.h"

#include <CLI/CLI.hpp>

#include <cctype>

namespace {

const char* const kExamples = R"(
Examples:
  Preview what temporary, cache, backup and legacy files would be removed from two folders
  (nothing is deleted):
    quillsweep-cli scan D:\Downloads E:\Shared --options 13-16
  The same with the Safe options: they also reach the system's own folders (temporary
  folders, Recycle Bin, prefetch files, browser caches ...), not only the targets:
    quillsweep-cli scan D:\Work --safe
  Preview as one JSON document and save the scan report:
    quillsweep-cli scan D:\Work --options 4,13-16 --json --report scan.txt
  Clean the Safe objects only, answering every question yes, and keep the clean report:
    quillsweep-cli clean D:\Work --options 13-17 --check safe --yes --report clean.txt
  Clean with secure deletion in three random passes:
    quillsweep-cli clean D:\Work --options 13 --secure --passes 3 --random
  List the clean-up options and their indexes:
    quillsweep-cli options

Selection: scan and clean need one of --options, --safe, --default, --all or --stored (the
options ticked in the program's window, read from quillswp32.prefs beside the tool or from
--prefs). Options listed as "system folders" search the system's own folders, whatever the
targets.
Questions: clean shows what it found and asks once before deleting anything, naming the
system folders it would touch; then come the unsafe-items and solid-state warnings and, when
Confirmations is on, one question per object. --yes answers every question yes; without a
terminal and without --yes the clean is refused before anything is deleted (status 3).
Exit status: 0 done, 1 failed, 2 usage error or refused input, 3 refused at a question,
130 interrupted (Ctrl-C stops the running scan or clean as the Stop button does).
)";

const char* const kNoSelection =
    "quillsweep-cli: no clean-up options were chosen. Choose them with --options LIST, --safe, --default, "
    "--all or --stored (the options ticked in the program's window); \"quillsweep-cli options\" lists them.\n";

void AddSelection(CLI::App& command, TCliRequest& request)
{
    auto* list = command.add_option("--options", request.optionList,
                                    "Clean-up options by index, with ranges (0,4,13-16)");
    auto* safe = command.add_flag("--safe", request.presetSafe, "The available Safe options (\"Set Safe\")");
    auto* def = command.add_flag("--default", request.presetDefault,
                                 "The available options of the default set (\"Set Default\")");
    auto* all = command.add_flag("--all", request.presetAll, "Every available option (\"Set All\")");
    auto* stored = command.add_flag("--stored", request.presetStored,
                                    "The options ticked in the program's window, as saved in the settings");
    list->excludes(safe, def, all, stored);
    safe->excludes(def, all, stored);
    def->excludes(all, stored);
    all->excludes(stored);
    command.add_option("--custom-files", request.customFiles, "Masks of Custom Files (21), such as \"*.tmp;*.log\"")
        ->type_name("MASKS");
    command.add_option("--custom-directories", request.customDirectories, "Masks of Custom Directories (22)")
        ->type_name("MASKS");
    auto* report = command.add_option("--report", request.reportFile, "Save the report text file as FILE");
    report->type_name("FILE");
    command.add_flag("--json", request.json, "Print one JSON document instead of lines");
    auto* prefs = command.add_option("--prefs", request.prefsFile, "Read the settings from FILE")->type_name("FILE");
    auto* none = command.add_flag("--no-prefs", request.noPrefs, "Use the default settings");
    prefs->excludes(none);
    command.add_option("targets", request.targets, "Directories or drives to clean")->type_name("TARGET");
}

} // namespace

int ParseCliArguments(const std::vector<std::string>& arguments, TCliRequest& request)
{
    CLI::App app("Quillsweep command-line tool: scan, report and clean from a terminal or a script.",
                 "quillsweep-cli");
    app.footer(kExamples);
    app.require_subcommand(0, 1);
    bool version = false;
    app.add_flag("--version", version, "Print the program version");

    CLI::App* options = app.add_subcommand("options", "List the clean-up options (index, safety, default, "
                                                      "availability, title; tab-separated); \"system folders\" "
                                                      "marks those that search beyond the targets");
    options->add_flag("--json", request.json, "Print one JSON document instead of lines");
    CLI::App* scan = app.add_subcommand("scan", "Scan the targets and list the found objects (deletes nothing)");
    AddSelection(*scan, request);
    CLI::App* clean = app.add_subcommand("clean", "Scan the targets, then delete the checked objects");
    AddSelection(*clean, request);
    clean->add_option("--check", request.check, "Objects to clean: safe (Check Safe) or all as found")
        ->check(CLI::IsMember({"safe", "all"}));
    clean->add_flag("--yes", request.yes, "Answer yes to every question");
    clean->add_flag("--secure", request.secure, "Overwrite files before deleting them");
    clean->add_option("--passes", request.passes, "Overwrite passes, 1 to 7")->check(CLI::Range(1, 7));
    clean->add_flag("--random", request.random, "Overwrite with a random pattern");
    CLI::App* driveInfo = app.add_subcommand("drive-info", "Show what is known of the drive that holds PATH");
    driveInfo->add_option("path", request.drivePath, "A path on the drive")->required()->type_name("PATH");

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        platform::WriteConsoleText(platform::ConsoleStream::Output, app.help("", CLI::AppFormatMode::All));
        return kExitDone;
    } catch (const CLI::CallForAllHelp&) {
        platform::WriteConsoleText(platform::ConsoleStream::Output, app.help("", CLI::AppFormatMode::All));
        return kExitDone;
    } catch (const CLI::ParseError& error) {
        platform::WriteConsoleText(platform::ConsoleStream::Error,
                                   "quillsweep-cli: " + std::string(error.what()) + "\nRun with --help for usage.\n");
        return kExitUsage;
    }
    if (version) {
        platform::WriteConsoleText(platform::ConsoleStream::Output,
                                   "Quillsweep " + TDetect::GetProgramVersion() + "\n");
        return kExitDone;
    }
    request.hasOptionList = scan->count("--options") + clean->count("--options") > 0;
    // An empty name would quietly mean the settings beside the tool, or no report at all.
    const auto emptyName = [&](const char* name, const std::string& value) {
        if (!value.empty() || scan->count(name) + clean->count(name) == 0)
            return false;
        platform::WriteConsoleText(platform::ConsoleStream::Error, "quillsweep-cli: " + std::string(name) +
                                                                       " needs a file name, not \"\".\n"
                                                                       "Run with --help for usage.\n");
        return true;
    };
    if (emptyName("--prefs", request.prefsFile) || emptyName("--report", request.reportFile))
        return kExitUsage;
    if (options->parsed())
        request.command = TCliCommand::Options;
    else if (scan->parsed())
        request.command = TCliCommand::Scan;
    else if (clean->parsed())
        request.command = TCliCommand::Clean;
    else if (driveInfo->parsed())
        request.command = TCliCommand::DriveInfo;
    else {
        platform::WriteConsoleText(platform::ConsoleStream::Error, "quillsweep-cli: a command is required\n"
                                                                   "Run with --help for usage.\n");
        return kExitUsage;
    }
    // Never the stored ticks unasked: they may reach far beyond the targets named here.
    const bool selected = request.hasOptionList || request.presetSafe || request.presetDefault ||
                          request.presetAll || request.presetStored;
    if ((request.command == TCliCommand::Scan || request.command == TCliCommand::Clean) && !selected) {
        platform::WriteConsoleText(platform::ConsoleStream::Error, kNoSelection);
        return kExitUsage;
    }
    return -1;
}

bool ParseOptionList(const std::string& text, unsigned& bits, std::string& error)
{
    bits = 0;
    if (text.empty())
        return true; // no option at all: refused later with the window's own text
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = text.substr(start, end - start);
        int first = -1, last = -1;
        size_t dash = item.find('-');
        auto number = [](const std::string& digits, int& value) {
            if (digits.empty() || digits.size() > 3)
                return false;
            for (char c : digits)
                if (!std::isdigit(static_cast<unsigned char>(c)))
                    return false;
            value = std::stoi(digits);
            return true;
        };
        const bool ok = dash == std::string::npos
                            ? number(item, first) && (last = first, true)
                            : number(item.substr(0, dash), first) && number(item.substr(dash + 1), last);
        if (!ok || first > last) {
            error = "Invalid option list \"" + text + "\": \"" + item + "\" is not an index or a range.";
            return false;
        }
        if (last >= CleanupOptionCount) {
            error = "Invalid option list \"" + text + "\": the options are numbered 0 to " +
                    std::to_string(CleanupOptionCount - 1) + ".";
            return false;
        }
        for (int i = first; i <= last; ++i)
            bits |= 1u << i;
        start = end + 1;
    }
    return true;
}
