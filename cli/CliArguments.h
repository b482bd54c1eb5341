#pragma once
// The command line of the tool, parsed into one request.
#include <optional>
#include <string>
#include <vector>

enum class TCliCommand { None, Options, Scan, Clean, DriveInfo, Cleans, Restore };

struct TCliRequest {
    TCliCommand command = TCliCommand::None;
    std::vector<std::string> targets;
    // Selection: at most one of these.
    bool hasOptionList = false;
    std::string optionList;
    bool presetSafe = false;
    bool presetDefault = false;
    bool presetAll = false;
    bool presetStored = false;
    // The masks of Custom Files (21) and Custom Directories (22), instead of the stored ones.
    std::optional<std::string> customFiles;
    std::optional<std::string> customDirectories;

    std::string reportFile; // "-": standard output
    bool json = false;
    bool nullSeparated = false; // -0: only the paths, each ended by a NUL byte
    std::string prefsFile;
    bool noPrefs = false;

    // Clean only.
    std::string check = "all";
    bool yes = false;
    bool secure = false;
    int passes = 0; // 0: as stored
    bool random = false;
    bool recycle = false;  // to the Recycle Bin (Trash) instead of deleting
    // A saved review (a scan document, "-": standard input) whose checked objects are cleaned
    // instead of scanning again.
    std::string fromFile;

    std::string drivePath;
    // restore: the record's id as cleans lists it; empty: the last clean that moved objects.
    std::string recordId;
};

// Exit statuses of the tool.
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1; // an unexpected failure (a report that could not be written)
constexpr int kExitUsage = 2;
constexpr int kExitRefused = 3;
constexpr int kExitInterrupted = 130;

// Fills request from the arguments (without the program name). Returns -1 when a command is to
// run, otherwise the exit status after it printed the help, the version or the usage error.
int ParseCliArguments(const std::vector<std::string>& arguments, TCliRequest& request);

// The report is written to standard output instead of a file.
inline bool ReportToOutput(const TCliRequest& request)
{
    return request.reportFile == "-";
}

// "0,4,13-16,backup-files" -> bits; false with a message for anything else or an index outside 0..22.
bool ParseOptionList(const std::string& text, unsigned& bits, std::string& error);
