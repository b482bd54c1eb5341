#include "cli/CliJson.h"

namespace cli_json {

Json Document(const std::string& command)
{
    return {{"schemaVersion", kSchemaVersion}, {"command", command}};
}

Json Status(const std::string& code, const std::string& text)
{
    return {{"code", code}, {"text", text}};
}

void Print(TCliTerminal& terminal, Json document, int exitStatus)
{
    document["exitStatus"] = exitStatus;
    terminal.Out(document.dump(2, ' ', false, Json::error_handler_t::replace));
}

} // namespace cli_json
