#pragma once
// What the tool says about itself: the help of each command and suggestions for mistyped words.
#include <string>
#include <vector>

namespace cli_help {

const std::vector<std::string>& Commands();
// The help of command ("" for the tool itself); empty for an unknown command.
std::string HelpText(const std::string& command);
// The usage line of command, for usage errors.
std::string Usage(const std::string& command);
// The closest of the candidates to a mistyped word, or "" when none is close enough.
std::string Suggest(const std::string& word, const std::vector<std::string>& candidates);

} // namespace cli_help
