#pragma once

#include "SyncOptions.h"

namespace twinfold
{
class Application;
}

namespace twinfold::cli
{

class ConsoleServices;

// Exit statuses of the commands that run syncs.
enum ExitStatus {
    ExitOk = 0,
    ExitFailedCopies = 1,
    ExitUsage = 2,
    ExitAbandoned = 3,
    ExitCancelled = 130,
};

// After the runs: saves the result lists when asked, prints the summary line last on standard
// output, and gives the exit status.
int finishRuns(Application& app, ConsoleServices& console, const RunOptions& options,
               bool abandoned);

} // namespace twinfold::cli
