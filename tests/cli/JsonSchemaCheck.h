#pragma once
// Checks a document against the JSON Schema keywords the tool's schema uses. A keyword outside
// them is an error too, so the schema cannot say more than this check enforces.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace cli_testing {

// Where and why document breaks the schema; empty when it follows it.
std::vector<std::string> SchemaErrors(const nlohmann::json& schema, const nlohmann::json& document);

// The schema in docs/, as the build read it.
const nlohmann::json& ToolSchema();
// The clean records' schema in docs/.
const nlohmann::json& RecordSchema();

} // namespace cli_testing
