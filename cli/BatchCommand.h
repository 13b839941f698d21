#pragma once

#include "SyncOptions.h"

namespace twinfold::cli
{

// twinfold-cli batch: the program's start-up with its default settings, the batch run, then the
// exit steps, as when the desktop program is started with a batch file.
int runBatch(const BatchOptions& options);

} // namespace twinfold::cli
