#include "cli/CliHelp.h"

#include "platform/PlatformFiles.h"

#include <algorithm>

namespace cli_help {

namespace {

bool OnWindows()
{
    return platform::PathSeparator() == '\\';
}

// Examples in the path style of the system the tool runs on.
std::string Paths(const std::string& windows, const std::string& elsewhere)
{
    return OnWindows() ? windows : elsewhere;
}

std::string Tool()
{
    return OnWindows() ? "quillsweep-cli.exe" : "quillsweep-cli";
}

const char* const kSelection =
    "Selection (one is required):\n"
    "  --options LIST        options by index, range or name: 13-15 or temp-files,backup-files\n"
    "  --safe                the available Safe options\n"
    "  --default             the available options of the default set\n"
    "  --all                 every available option\n"
    "  --stored              the options ticked in the program's window (its settings file)\n"
    "Options marked \"system folders\" by the options command search the system's own folders\n"
    "(temporary folders, Trash, logs, caches), whatever the targets; every preset has some.\n";

const char* const kCommon =
    "  --custom-files MASKS  masks of custom-files (21), such as \"*.tmp;*.log\"\n"
    "  --custom-directories MASKS  masks of custom-directories (22)\n"
    "  --report FILE         also save the report as FILE; \"-\" writes it to standard output\n"
    "  --json                one JSON document on standard output (schema: see the README)\n"
    "  --prefs FILE          read the settings from FILE (default: quillswp32.prefs beside the tool)\n"
    "  --no-prefs            use the default settings\n";

std::string Top()
{
    return "Usage: " + Tool() +
           " COMMAND [ARGUMENTS]\n"
           "Scan folders for clean-up objects and clean them, as the Quillsweep window does.\n\n"
           "Commands:\n"
           "  options      list the clean-up options: index, name, safety, where each looks\n"
           "  scan         list what the chosen options find in the targets; deletes nothing\n"
           "  clean        scan, ask once, then delete the checked objects\n"
           "  cleans       list the recorded cleans, newest first\n"
           "  restore      put back what a clean moved to the Recycle Bin or Trash\n"
           "  drive-info   describe the drive that holds a path\n"
           "  help         show the help of a command\n\n"
           "  -h, --help   this help (" + Tool() + " help COMMAND for one command)\n"
           "  -V, --version  the program version\n\n"
           "Standard output holds only data (object lines, a JSON document or a report); messages,\n"
           "questions and totals go to standard error. \"--\" ends the flags: later words are targets.\n"
           "Exit status: 0 done, 1 failed, 2 usage error or refused input, 3 refused at a question,\n"
           "130 interrupted (Ctrl-C stops the work as the Stop button does; a second one forces the exit).\n";
}

std::string Options()
{
    return "Usage: " + Tool() +
           " options [--json]\n"
           "List the clean-up options, one tab-separated line each: index, name, safety, default\n"
           "set or not, available or not, title, and where it looks on this system.\n\n"
           "  --json   one JSON document instead of lines\n\n"
           "Examples:\n"
           "  " + Tool() + " options\n"
           "  " + Tool() + " options --json\n";
}

std::string Scan()
{
    const std::string work = Paths("D:\\Work", "~/work");
    return "Usage: " + Tool() +
           " scan TARGET... SELECTION [FLAGS]\n"
           "List every object the chosen options find, one tab-separated line each: safety, option,\n"
           "path, size, size in bytes. Nothing is deleted.\n\n" +
           kSelection + "\nFlags:\n" + kCommon +
           "  -0, --null            print only the paths, each ended by a NUL byte (for xargs -0)\n\n"
           "Examples:\n"
           "  " + Tool() + " scan " + work + " " + Paths("E:\\Shared", "/srv/shared") +
           " --options temp-files,cache-files\n"
           "  " + Tool() + " scan " + work + " --options 13-16 --json > found.json\n"
           "  " + Tool() + " scan " + work + " --options backup-files -0 | xargs -0 ls -l\n";
}

std::string Clean()
{
    const std::string work = Paths("D:\\Work", "~/work");
    return "Usage: " + Tool() +
           " clean TARGET... SELECTION [FLAGS]\n"
           "Scan as scan does, ask once (\"Clean N objects (X)?\", default no), then delete the\n"
           "checked objects. The clean report goes to standard error, or where --report says.\n"
           "Without a terminal to answer on, only --yes lets it delete (otherwise status 3).\n\n" +
           kSelection + "\nFlags:\n" + kCommon +
           "  --check safe|all      clean only the Safe objects, or all found (default all)\n"
           "  --yes                 answer yes to every question\n"
           "  --secure              overwrite files before deleting them\n"
           "  --passes N            overwrite passes, 1 to 7 (with --secure)\n"
           "  --random              overwrite with a random pattern (with --secure)\n"
           "  --recycle             move the objects to the Recycle Bin (Trash) instead of deleting\n"
           "  --from FILE           clean a saved review (scan --json; \"-\": standard input) instead\n\n"
           "With --from there is no scan and no targets or selection: the objects checked in the\n"
           "document are cleaned when they are still as it describes them (identity, kind, size,\n"
           "time); the others are skipped as changed since the review.\n\n"
           "Examples:\n"
           "  " + Tool() + " clean " + work + " --options temp-files,backup-files\n"
           "  " + Tool() + " clean " + work + " --options 13-15 --check safe --yes --report clean.txt\n"
           "  " + Tool() + " clean " + work + " --options custom-files --custom-files \"*.o\" --yes --json\n"
           "  " + Tool() + " scan " + work + " --options 13-15 --json > review.json; " + Tool() +
           " clean --from review.json\n";
}

std::string Cleans()
{
    return "Usage: " + Tool() +
           " cleans [--json]\n"
           "List the recorded cleans, newest first, one tab-separated line each: id, time (UTC), mode,\n"
           "objects removed, moved to the bin, skipped, restored since, and bytes cleaned.\n\n"
           "  --json   one JSON document instead of lines\n\n"
           "Examples:\n"
           "  " + Tool() + " cleans\n"
           "  " + Tool() + " cleans --json\n";
}

std::string Restore()
{
    return "Usage: " + Tool() +
           " restore [ID] [--yes] [--json]\n"
           "Put the objects a clean moved to the Recycle Bin or Trash back where they were: the last\n"
           "clean that moved any, or the one whose ID cleans lists. Ask once (\"Restore N objects\n"
           "(X) ...?\", default no). Missing folders are made again; an object whose place is taken\n"
           "stays in the bin (nothing is overwritten), and each one not restored is named.\n"
           "Without a terminal to answer on, only --yes lets it restore (otherwise status 3).\n\n"
           "  --yes    answer yes to the question\n"
           "  --json   one JSON document on standard output (schema: see the README)\n\n"
           "Examples:\n"
           "  " + Tool() + " restore\n"
           "  " + Tool() + " restore clean-20261208T101500-250-000 --yes\n";
}

std::string DriveInfo()
{
    return "Usage: " + Tool() +
           " drive-info PATH [--json]\n"
           "Describe the drive that holds PATH: one tab-separated line per detail (name, value,\n"
           "description).\n\n"
           "  --json   one JSON document instead of lines\n\n"
           "Examples:\n"
           "  " + Tool() + " drive-info " + Paths("C:\\", "/") + "\n"
           "  " + Tool() + " drive-info " + Paths("D:\\Work", "~/work") + " --json\n";
}

size_t Distance(const std::string& a, const std::string& b)
{
    // Optimal string alignment: a swap of two neighbours is one edit, as in "scna".
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

} // namespace

const std::vector<std::string>& Commands()
{
    static const std::vector<std::string> commands = {"options", "scan", "clean", "cleans", "restore", "drive-info", "help"};
    return commands;
}

std::string HelpText(const std::string& command)
{
    if (command.empty())
        return Top();
    if (command == "options")
        return Options();
    if (command == "scan")
        return Scan();
    if (command == "clean")
        return Clean();
    if (command == "cleans")
        return Cleans();
    if (command == "restore")
        return Restore();
    if (command == "drive-info")
        return DriveInfo();
    if (command == "help")
        return "Usage: " + Tool() + " help [COMMAND]\nShow the help of COMMAND, or of the tool.\n";
    return {};
}

std::string Usage(const std::string& command)
{
    const std::string help = HelpText(command);
    return help.substr(0, help.find('\n') + 1);
}

std::string Suggest(const std::string& word, const std::vector<std::string>& candidates)
{
    std::string best;
    size_t bestDistance = 0;
    for (const std::string& candidate : candidates) {
        const size_t distance = Distance(word, candidate);
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    // Up to a third of the word may be wrong; a wholly different word is no suggestion.
    const size_t allowed = std::max<size_t>(1, std::min<size_t>(3, word.size() / 3));
    return !best.empty() && bestDistance <= allowed ? best : std::string();
}

} // namespace cli_help
