#include "RunReport.h"

#include "ConsoleServices.h"
#include "JsonLog.h"
#include "app/Application.h"
#include "platform/PathRules.h"
#include "platform/Termination.h"

#include <iostream>

namespace twinfold::cli
{

namespace
{

bool saveLogs(Application& app, const RunOptions& options)
{
    auto& log = app.LogFilebx;
    const std::string& dir = options.logDir;
    if (options.logFormat == LogFormat::Json)
        return app.command([&] { saveJsonLog(log, joinPath(dir, "twinfold-log.json")); });
    return app.command([&] {
        TLogFilebx::saveList(log.FileSuccess, joinPath(dir, "TFSuccess.txt"));
        TLogFilebx::saveList(log.FileOld, joinPath(dir, "TFOlder.txt"));
        TLogFilebx::saveList(log.FileFailed, joinPath(dir, "TFFailed.txt"));
    });
}

std::string summaryLine(const TLogFilebx& log, bool dryRun)
{
    const std::string line = (dryRun ? "Would copy: " : "Copied: ") +
                             std::to_string(log.FileSuccess.size()) +
                             "  Not copied: " + std::to_string(log.FileOld.size()) +
                             "  Failed: " + std::to_string(log.FileFailed.size());
    return dryRun ? line + " (dry run)" : line;
}

int exitStatus(Application& app, ConsoleServices& console, bool abandoned, bool jobsSkipped)
{
    if (const int signal = terminationSignal(); signal != 0)
        return 128 + signal;
    if (abandoned)
        return ExitAbandoned;
    if (console.interrupted() || app.SyncBox.ModalResult == TSyncBox::mrCancel)
        return ExitCancelled;
    return app.LogFilebx.FileFailed.empty() && !jobsSkipped ? ExitOk : ExitFailedCopies;
}

} // namespace

int finishRuns(Application& app, ConsoleServices& console, const RunOptions& options,
               bool abandoned, bool jobsSkipped)
{
    console.finish();
    if (!options.logDir.empty() && !saveLogs(app, options))
        abandoned = true;
    const int status = exitStatus(app, console, abandoned, jobsSkipped);
    console.settle(status);
    const std::string summary = summaryLine(app.LogFilebx, options.dryRun);
    if (options.verbosity != Verbosity::Quiet)
        std::cout << summary << std::endl;
    else if (status != ExitOk)
        std::cerr << summary << std::endl;
    if (const int signal = terminationSignal(); signal != 0)
        std::cerr << "twinfold-cli: run ended by " << signalName(signal) << std::endl;
    return status;
}

} // namespace twinfold::cli
