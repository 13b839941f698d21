#include "RunReport.h"

#include "ConsoleServices.h"
#include "JsonLog.h"
#include "JsonResult.h"
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

std::string withError(const std::string& reason, const ConsoleServices& console)
{
    return console.lastError().empty() ? reason : reason + ": " + console.lastError();
}

std::string summaryLine(const TLogFilebx& log, bool dryRun)
{
    const std::string line = (dryRun ? "Would copy: " : "Copied: ") +
                             std::to_string(log.FileSuccess.size()) +
                             "  Not copied: " + std::to_string(log.FileOld.size()) +
                             "  Failed: " + std::to_string(log.FileFailed.size());
    return dryRun ? line + " (dry run)" : line;
}

RunResult resultOf(Application& app, const ConsoleServices& console, bool abandoned, bool logsSaved,
                   int skippedJobs)
{
    const auto failed = app.LogFilebx.FileFailed.size();
    if (const int signal = terminationSignal(); signal != 0)
        return {128 + signal, "ended by " + signalName(signal)};
    if (abandoned)
        return {ExitAbandoned, withError("run abandoned", console)};
    if (!logsSaved)
        return {ExitAbandoned, withError("result lists not saved", console)};
    if (console.interrupted() || app.SyncBox.ModalResult == TSyncBox::mrCancel)
        return {ExitCancelled, "cancelled"};
    if (failed > 0)
        return {ExitFailedCopies,
                std::to_string(failed) + (failed == 1 ? " copy" : " copies") + " failed"};
    if (skippedJobs > 0)
        return {ExitFailedCopies, std::to_string(skippedJobs) +
                                      (skippedJobs == 1 ? " batch job" : " batch jobs") +
                                      " skipped"};
    return {ExitOk, "completed"};
}

} // namespace

int finishRuns(Application& app, ConsoleServices& console, const RunOptions& options,
               bool abandoned, int skippedJobs)
{
    console.finish();
    bool logsSaved = true;
    if (!options.logDir.empty())
        logsSaved = saveLogs(app, options);
    const auto& log = app.LogFilebx;
    RunResult result = resultOf(app, console, abandoned, logsSaved, skippedJobs);
    console.settle(result.exitStatus);
    if (options.json) {
        result.dryRun = app.Main.dryRun;
        result.bytesCopied = console.bytesCopied();
        result.elapsedSeconds = console.elapsedSeconds();
        std::cout << jsonResult(log, result) << std::flush;
    } else if (options.verbosity != Verbosity::Quiet) {
        std::cout << summaryLine(log, options.dryRun) << std::endl;
    } else if (result.exitStatus != ExitOk) {
        std::cerr << summaryLine(log, options.dryRun) << std::endl;
    }
    if (const int signal = terminationSignal(); signal != 0)
        std::cerr << "twinfold-cli: run ended by " << signalName(signal) << std::endl;
    return result.exitStatus;
}

} // namespace twinfold::cli
