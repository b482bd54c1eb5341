#pragma once
// The commands of the tool; each returns the process's exit status.
#include "cli/CliArguments.h"
#include "cli/CliSession.h"

#include <nlohmann/json.hpp>

int RunOptionsCommand(const TCliRequest& request);
int RunScanCommand(const TCliRequest& request);
int RunCleanCommand(const TCliRequest& request);

// " (system folders: /tmp, /var/tmp)" after the title of an option that searches the system's own
// folders; empty for one that stays inside the targets.
std::string SystemFoldersNote(int option);

// Sets object[key] to the path and, when the path is not valid UTF-8 (so the document can only show
// it with replacement characters), key + "Bytes" to all its bytes, "%XX"-escaped as in a URL.
void AddPath(nlohmann::ordered_json& object, const std::string& key, const std::string& path);
// The same for a list: key + "Bytes" holds null for each valid path, the escaped bytes for the others.
void AddPaths(nlohmann::ordered_json& object, const std::string& key, const std::vector<std::string>& paths);
// The scan as one JSON document: the found objects and the scan report's rows.
nlohmann::ordered_json ScanDocument(TCliSession& session);
// Prints the document; names that are not valid UTF-8 are written with replacement characters.
void PrintJson(TCliTerminal& terminal, const nlohmann::ordered_json& document);
// Saves the scan report; false (with the report window's message) when it cannot be written.
bool SaveScanReport(TCliSession& session, const std::string& file);
