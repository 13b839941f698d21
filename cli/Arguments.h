#pragma once

#include "SyncOptions.h"

#include <variant>

namespace twinfold::cli
{

// A command to run, or the exit status of a command line answered already (help, version, or
// bad arguments reported in one line on standard error).
using ParsedCommand = std::variant<SyncOptions, BatchOptions, int>;

ParsedCommand parseCommandLine(int argc, const char* const* argv);

} // namespace twinfold::cli
