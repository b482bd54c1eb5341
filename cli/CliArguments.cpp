#include "cli/CliArguments.h"

#include "cli/CliHelp.h"
#include "cli/CliNames.h"
#include "engine/uEngineConstants.h"
#include "platform/PlatformConsole.h"
#include "platform/PlatformFiles.h"
#include "support/VelaDetect.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>

namespace {

using platform::ConsoleStream;

const char* const kNoSelection =
    "no clean-up options were chosen. Choose them with --options LIST, --safe, --default, "
    "--all or --stored (the options ticked in the program's window); \"quillsweep-cli options\" lists them.";

int UsageError(const std::string& command, const std::string& message)
{
    std::string text = "quillsweep-cli: " + message + "\n" + cli_help::Usage(command);
    text += "Run \"quillsweep-cli help" + (command.empty() ? std::string() : " " + command) + "\" for more.\n";
    platform::WriteConsoleText(ConsoleStream::Error, text);
    return kExitUsage;
}

int PrintHelp(const std::string& command)
{
    platform::WriteConsoleText(ConsoleStream::Output, cli_help::HelpText(command));
    return kExitDone;
}

bool IsHelpFlag(const std::string& argument)
{
    return argument == "-h" || argument == "--help" || (argument == "/?" && platform::PathSeparator() == '\\');
}

std::string UnknownCommand(const std::string& word)
{
    std::string text = "\"" + word + "\" is not a command";
    const std::string close = cli_help::Suggest(word, cli_help::Commands());
    return close.empty() ? text + "." : text + "; did you mean \"" + close + "\"?";
}

void AddSelection(CLI::App& command, TCliRequest& request)
{
    auto* list = command.add_option("--options", request.optionList);
    auto* safe = command.add_flag("--safe", request.presetSafe);
    auto* def = command.add_flag("--default", request.presetDefault);
    auto* all = command.add_flag("--all", request.presetAll);
    auto* stored = command.add_flag("--stored", request.presetStored);
    list->excludes(safe, def, all, stored);
    safe->excludes(def, all, stored);
    def->excludes(all, stored);
    all->excludes(stored);
    command.add_option("--custom-files", request.customFiles);
    command.add_option("--custom-directories", request.customDirectories);
    command.add_option("--report", request.reportFile);
    command.add_flag("--json", request.json);
    auto* prefs = command.add_option("--prefs", request.prefsFile);
    auto* none = command.add_flag("--no-prefs", request.noPrefs);
    prefs->excludes(none);
    command.add_option("targets", request.targets);
}

// Every flag the command knows, for suggestions.
std::vector<std::string> FlagNames(const CLI::App& app)
{
    std::vector<std::string> names;
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames())
            names.push_back("--" + name);
        for (const std::string& name : option->get_snames())
            names.push_back("-" + name);
    }
    return names;
}

// The words the command did not expect, in the order given, each with a suggestion when one is close.
std::string Unexpected(const std::vector<std::string>& words, const CLI::App& app)
{
    std::string text = words.size() == 1 ? "unexpected argument" : "unexpected arguments";
    const std::vector<std::string> flags = FlagNames(app);
    for (size_t i = 0; i < words.size(); ++i) {
        text += (i == 0 ? " \"" : ", \"") + words[i] + "\"";
        if (words[i].size() > 1 && words[i][0] == '-') {
            const std::string close = cli_help::Suggest(words[i].substr(0, words[i].find('=')), flags);
            if (!close.empty())
                text += " (did you mean \"" + close + "\"?)";
        }
    }
    return text;
}

} // namespace

int ParseCliArguments(const std::vector<std::string>& arguments, TCliRequest& request)
{
    const auto flagsEnd = std::find(arguments.begin(), arguments.end(), "--");
    if (arguments.empty())
        return UsageError("", "a command is required.");
    const std::string first = arguments[0];
    if (first == "-V" || first == "--version") {
        platform::WriteConsoleText(ConsoleStream::Output, "Quillsweep " + TDetect::GetProgramVersion() +
                                                              " (revision " + TDetect::GetSourceRevision() + ")\n");
        return kExitDone;
    }
    if (first == "help") {
        if (arguments.size() == 1)
            return PrintHelp("");
        if (cli_help::HelpText(arguments[1]).empty())
            return UsageError("", UnknownCommand(arguments[1]));
        return PrintHelp(arguments[1]);
    }
    const bool commandGiven = !cli_help::HelpText(first).empty();
    if (std::any_of(arguments.begin(), flagsEnd, IsHelpFlag))
        return PrintHelp(commandGiven ? first : "");
    if (!commandGiven) {
        if (first.size() > 1 && first[0] == '-') {
            const std::string close = cli_help::Suggest(first, {"--help", "--version"});
            return UsageError("", "unknown flag \"" + first + "\"" +
                                      (close.empty() ? "; a command comes first." : "; did you mean \"" + close + "\"?"));
        }
        return UsageError("", UnknownCommand(first));
    }

    CLI::App app(first, "quillsweep-cli " + first);
    app.set_help_flag();
    app.allow_extras();
    if (first == "options") {
        request.command = TCliCommand::Options;
        app.add_flag("--json", request.json);
    } else if (first == "cleans") {
        request.command = TCliCommand::Cleans;
        app.add_flag("--json", request.json);
    } else if (first == "restore") {
        request.command = TCliCommand::Restore;
        app.add_flag("--json", request.json);
        app.add_flag("--yes", request.yes);
        app.add_option("id", request.recordId);
    } else if (first == "drive-info") {
        request.command = TCliCommand::DriveInfo;
        app.add_flag("--json", request.json);
        app.add_option("path", request.drivePath);
    } else {
        request.command = first == "scan" ? TCliCommand::Scan : TCliCommand::Clean;
        AddSelection(app, request);
        if (first == "scan") {
            app.add_flag("-0,--null", request.nullSeparated);
        } else {
            app.add_option("--check", request.check)->check(CLI::IsMember({"safe", "all"}));
            app.add_flag("--yes", request.yes);
            app.add_flag("--secure", request.secure);
            app.add_option("--passes", request.passes)->check(CLI::Range(1, 7));
            app.add_flag("--random", request.random);
            app.add_flag("--recycle", request.recycle);
            app.add_option("--from", request.fromFile);
        }
    }

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend() - 1);
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return UsageError(first, error.what());
    }
    std::vector<std::string> extras = app.remaining();
    extras.erase(std::remove(extras.begin(), extras.end(), "--"), extras.end());
    if (!extras.empty())
        return UsageError(first, Unexpected(extras, app));
    if (request.command == TCliCommand::DriveInfo && app.count("path") == 0)
        return UsageError(first, "drive-info needs a PATH.");
    if (request.command != TCliCommand::Scan && request.command != TCliCommand::Clean)
        return -1;

    request.hasOptionList = app.count("--options") > 0;
    // An empty name would quietly mean the settings beside the tool, or no report at all.
    for (const auto& [name, value] : {std::pair<std::string, const std::string*>{"--prefs", &request.prefsFile},
                                      {"--report", &request.reportFile}})
        if (app.count(name) > 0 && value->empty())
            return UsageError(first, name + " needs a file name, not \"\".");
    // What goes to the bin is kept whole, so it cannot also be overwritten.
    if (request.command == TCliCommand::Clean && request.recycle && request.secure)
        return UsageError(first, "--recycle keeps the objects in the Recycle Bin (Trash), --secure overwrites them: "
                                 "choose one.");
    // Overwriting is --secure's; alone these would be ignored while the user believes otherwise.
    if (request.command == TCliCommand::Clean && !request.secure) {
        if (app.count("--passes") > 0)
            return UsageError(first, "--passes overwrites files only with --secure.");
        if (request.random)
            return UsageError(first, "--random overwrites files only with --secure.");
    }
    const bool toOutput = ReportToOutput(request);
    if (request.json && (toOutput || request.nullSeparated))
        return UsageError(first, std::string("--json and ") + (toOutput ? "--report -" : "--null") +
                                     " would both write standard output.");
    if (toOutput && request.nullSeparated)
        return UsageError(first, "--report - and --null would both write standard output.");
    if (request.command == TCliCommand::Clean && app.count("--from") > 0) {
        if (request.fromFile.empty())
            return UsageError(first, "--from needs a file name, not \"\".");
        // The document says what is cleaned; anything named here would be quietly ignored.
        if (!request.targets.empty())
            return UsageError(first, "--from cleans the objects of the document: name no targets.");
        for (const char* name : {"--options", "--safe", "--default", "--all", "--stored", "--custom-files",
                                 "--custom-directories", "--check"})
            if (app.count(name) > 0)
                return UsageError(first, std::string("--from cleans the objects checked in the document: ") + name +
                                             " cannot be used with it (uncheck objects in the document instead).");
        return -1;
    }
    // Never the stored ticks unasked: they may reach far beyond the targets named here.
    const bool selected = request.hasOptionList || request.presetSafe || request.presetDefault ||
                          request.presetAll || request.presetStored;
    if (!selected)
        return UsageError(first, kNoSelection);
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
        start = end + 1;
        const int named = cli_names::IndexOf(item);
        if (named >= 0) {
            bits |= 1u << named;
            continue;
        }
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
            error = "Invalid option list \"" + text + "\": \"" + item + "\" is not an index, a range or a name.";
            const std::string close = cli_help::Suggest(item, cli_names::AllNames());
            if (!close.empty())
                error += " Did you mean \"" + close + "\"?";
            return false;
        }
        if (last >= CleanupOptionCount) {
            error = "Invalid option list \"" + text + "\": the options are numbered 0 to " +
                    std::to_string(CleanupOptionCount - 1) + ".";
            return false;
        }
        for (int i = first; i <= last; ++i)
            bits |= 1u << i;
    }
    return true;
}
