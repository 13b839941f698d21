#pragma once

#include "SyncOptions.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twinfold::cli
{

// One option of a command's own, offered to the command: Taken, NotMine (not one of its
// options), or Failed (error set). value() takes the option's value, nullptr when there is none.
enum class OptionOutcome { Taken, NotMine, Failed };
using OwnOption = std::function<OptionOutcome(const std::string& option,
                                              const std::function<const std::string*()>& value,
                                              std::string& error)>;

// Reads a running command's arguments: its own options through own, the options that every
// running command shares (--answer, --log-dir, --quiet, --verbose) into run, "--" ending the
// options. Returns the positional arguments, or nothing with error set.
std::optional<std::vector<std::string>> readArguments(const std::vector<std::string>& args,
                                                      RunOptions& run, const OwnOption& own,
                                                      std::string& error);

} // namespace twinfold::cli
