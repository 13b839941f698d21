#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace CLI
{
class App;
}

namespace twinfold::cli
{

// What a value option wants, as the message of a missing value says it ("a directory").
using ValueWants = std::map<std::string, std::string>;

// Goes through the arguments as the parser will, before it does, for the mistakes a person
// makes at the command line: an unknown option or command, a value missing or given to a flag,
// an option that takes one value given twice, an argument too many or too few. The one-line
// message for the first of them, with where to look; nothing when the parser may go ahead.
std::optional<std::string>
argumentProblem(const CLI::App& app, const std::vector<std::string>& args, const ValueWants& wants);

} // namespace twinfold::cli
