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
// prints the summary line last on standard output (or, asked for JSON, the result as one JSON
// object), and gives the exit status. Skipped batch jobs make a run without failed copies end
// with status 1. A quiet run that succeeded prints nothing; one that did not prints its held
// lines and the summary on standard error. A run ended by a signal says which, and its status is
// 128 + the signal.
int finishRuns(Application& app, ConsoleServices& console, const RunOptions& options,
               bool abandoned, int skippedJobs = 0);

} // namespace twinfold::cli
