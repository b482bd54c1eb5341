#pragma once
// The JSON documents of the tool: one versioned schema for every command (docs/cli-json-schema.json).
#include "cli/CliTerminal.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace cli_json {

using Json = nlohmann::ordered_json;

// Raised when a field is added (old readers keep working) or changed (they may not).
constexpr int kSchemaVersion = 1;

// The fields every document starts with.
Json Document(const std::string& command);
// {"code": code, "text": text}; code is a word a script compares, text what a person reads.
Json Status(const std::string& code, const std::string& text);

bool IsUtf8(const std::string& text);
// Sets object[key] to the path and, when the path is not valid UTF-8 (so the document can only show
// it with replacement characters), key + "Bytes" to all its bytes, "%XX"-escaped as in a URL.
void AddPath(Json& object, const std::string& key, const std::string& path);
// The same for a list: key + "Bytes" holds null for each valid path, the escaped bytes for the others.
void AddPaths(Json& object, const std::string& key, const std::vector<std::string>& paths);

// Prints the document with its exit status; names that are not valid UTF-8 are written with
// replacement characters (their bytes are beside them).
void Print(TCliTerminal& terminal, Json document, int exitStatus);

} // namespace cli_json
