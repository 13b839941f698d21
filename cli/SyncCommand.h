#pragma once

#include "SyncOptions.h"

namespace twinfold::cli
{

// twinfold-cli sync: one run over the same window models as the desktop program.
int runSync(const SyncOptions& options);

} // namespace twinfold::cli
