#pragma once
// The JSON documents of the tool: one versioned schema for every command (docs/cli-json-schema.json).
#include "cycle/uCleanRecord.h"
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

// Paths as the clean records keep them too: object[key] and, when a path is not valid UTF-8 (so
// the document can only show it with replacement characters), key + "Bytes" with all its bytes,
// "%XX"-escaped as in a URL (null in a list for each valid path).
using clean_record::AddPath;
using clean_record::AddPaths;
using clean_record::IsUtf8;

// Prints the document with its exit status; names that are not valid UTF-8 are written with
// replacement characters (their bytes are beside them).
void Print(TCliTerminal& terminal, Json document, int exitStatus);

} // namespace cli_json
