#pragma once

#include "SyncOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace twinfold::cli
{

struct BatchOptions {
    std::string configDir;
    std::string batchFile;
    bool fsync = false; // every copy made durable before it counts as copied
    RunOptions run;
};

// Parses the arguments after "batch"; on failure returns nothing and sets error.
std::optional<BatchOptions> parseBatchOptions(const std::string& configDir,
                                              const std::vector<std::string>& args,
                                              std::string& error);

// twinfold-cli batch: the program's start-up with its default settings, the batch run, then the
// exit steps, as when the desktop program is started with a batch file.
int runBatch(const BatchOptions& options);

} // namespace twinfold::cli
