#include "BatchCommand.h"

#include "ConsoleServices.h"
#include "ItemizedLines.h"
#include "RunReport.h"
#include "app/Application.h"
#include "platform/AtomicFile.h"
#include "platform/ErrorText.h"

#include <iostream>
#include <optional>

namespace twinfold::cli
{

namespace
{

// The desktop program passes over a batch file it cannot read; run unattended, that silence
// would report a job that never ran as done.
bool checkBatchFile(const std::string& path)
{
    std::string contents;
    int error = 0;
    if (readRegularFile(path, contents, error))
        return true;
    const std::string reason = !isNotFound(error) && isNotRegularFile(error)
                                   ? std::string("not a regular file")
                                   : errorText(error);
    std::cerr << "twinfold-cli: batch file " << path << ": " << reason << std::endl;
    return false;
}

} // namespace

int runBatch(const BatchOptions& options)
{
    if (!checkBatchFile(options.batchFile))
        return ExitUsage;
    ConsoleServices console(options.run);
    Application app(console);
    console.attach(app.SyncBox);
    std::optional<ItemizedLines> items;
    if (options.run.itemize)
        items.emplace(app.SyncBox, false);
    app.start(StartOptions{options.configDir, options.batchFile});
    app.Settings.Fsync = options.fsync;
    auto& main = app.Main;
    main.keepGoing = options.keepGoing;
    app.command([&] { main.FormShow(); });
    // The first activation runs the batch and closes the window through the exit steps.
    const bool completed = app.command([&] { main.FormActivate(); });
    // After a failure that escaped the batch the desktop program stays open; here the user's
    // eventual close follows at once.
    if (!main.isClosed())
        app.command([&] { main.FormClose(); });
    const int status = finishRuns(app, console, options.run, !completed || !main.isClosed());
    if (status == ExitOk && main.batchSkipped() > 0)
        return ExitFailedCopies;
    return status;
}

} // namespace twinfold::cli
