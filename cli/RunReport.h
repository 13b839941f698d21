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

// After the runs, however they ended (a signal included): saves the result lists when asked,
// prints the summary line last on standard output, and gives the exit status. A quiet run that
// succeeded prints nothing; one that did not prints its held lines and the summary on standard
// error. A run ended by a signal says which, and its status is 128 + the signal.
int finishRuns(Application& app, ConsoleServices& console, const RunOptions& options,
               bool abandoned, bool jobsSkipped = false);

} // namespace twinfold::cli
