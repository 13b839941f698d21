#include "RunReport.h"

#include "ConsoleServices.h"
#include "JsonLog.h"
#include "app/Application.h"
#include "platform/PathRules.h"

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

} // namespace

int finishRuns(Application& app, ConsoleServices& console, const RunOptions& options,
               bool abandoned)
{
    console.finish();
    bool logsSaved = true;
    if (!options.logDir.empty())
        logsSaved = saveLogs(app, options);
    const auto& log = app.LogFilebx;
    std::cout << "Copied: " << log.FileSuccess.size() << "  Not copied: " << log.FileOld.size()
              << "  Failed: " << log.FileFailed.size() << std::endl;
    if (abandoned || !logsSaved)
        return ExitAbandoned;
    if (console.interrupted() || app.SyncBox.ModalResult == TSyncBox::mrCancel)
        return ExitCancelled;
    return log.FileFailed.empty() ? ExitOk : ExitFailedCopies;
}

} // namespace twinfold::cli
