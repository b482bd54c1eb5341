#pragma once
// The commands of the tool; each returns the process's exit status.
#include "cli/CliArguments.h"
#include "cli/CliJson.h"
#include "cli/CliSession.h"

int RunOptionsCommand(const TCliRequest& request);
int RunScanCommand(const TCliRequest& request);
int RunCleanCommand(const TCliRequest& request);
int RunCleansCommand(const TCliRequest& request);
int RunRestoreCommand(const TCliRequest& request);

// " (system folders: /tmp, /var/tmp)" after the title of an option that searches the system's own
// folders; empty for one that stays inside the targets.
std::string SystemFoldersNote(int option);

// "complete", "stopped" or "failed", from the worker's closing status.
std::string OutcomeCode(const std::string& finalStatus, bool interrupted);
// One found object as the documents list it.
cli_json::Json ObjectEntry(TCliSession& session, ICleanupListItem& item);
// What a saved review needs to find the object again: its identity, whether it is a link, its
// modification time, and the folder the scan walked from with that folder's identity.
void AddReviewFields(cli_json::Json& entry, ICleanupListItem& item);
// The scan's fields: targets, options, status, totals, objects and the scan report's rows.
cli_json::Json ScanBody(TCliSession& session, bool interrupted);
// Saves the scan report ("-": standard output); false (with the report window's message) when it cannot.
bool SaveScanReport(TCliSession& session, const std::string& file);
