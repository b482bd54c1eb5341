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

// The scan as one JSON document: the found objects and the scan report's rows.
nlohmann::ordered_json ScanDocument(TCliSession& session);
// Prints the document; names that are not valid UTF-8 are written with replacement characters.
void PrintJson(TCliTerminal& terminal, const nlohmann::ordered_json& document);
// Saves the scan report; false (with the report window's message) when it cannot be written.
bool SaveScanReport(TCliSession& session, const std::string& file);
