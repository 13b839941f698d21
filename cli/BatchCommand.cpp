#include "BatchCommand.h"

#include "ConsoleServices.h"
#include "ItemizedLines.h"
#include "OutputWatch.h"
#include "RunReport.h"
#include "app/Application.h"
#include "platform/AtomicFile.h"
#include "platform/ErrorText.h"
#include "platform/Termination.h"

#include <iostream>
#include <optional>

namespace twinfold::cli
{

namespace
{

// The desktop program passes over a batch file it cannot read; run unattended, that silence
// would report a job that never ran as done.
bool checkBatchFile(ConsoleServices& console, const std::string& path)
{
    std::string contents;
    int error = 0;
    if (readRegularFile(path, contents, error))
        return true;
    const std::string reason = !isNotFound(error) && isNotRegularFile(error)
                                   ? std::string("not a regular file")
                                   : errorText(error);
    console.say("twinfold-cli: batch file " + path + ": " + reason);
    return false;
}

} // namespace

int runBatch(const BatchOptions& options)
{
    ConsoleServices console(options.run);
    if (!checkBatchFile(console, options.batchFile))
        return ExitUsage;
    Application app(console);
    console.attach(app.SyncBox);
    std::optional<ItemizedLines> items;
    if (options.run.itemize)
        items.emplace(app.SyncBox, fileLines(options.run), false);
    app.start(StartOptions{options.configDir, options.batchFile});
    app.Settings.Fsync = options.fsync;
    auto& main = app.Main;
    main.keepGoing = options.keepGoing;
    main.timeShiftForAll = options.run.timeShift;
    main.jobsForAll = options.run.jobs;
    bool completed = false;
    try {
        app.command([&] { main.FormShow(); });
        // The first activation runs the batch and closes the window through the exit steps.
        completed = app.command([&] { main.FormActivate(); });
        // After a failure that escaped the batch the desktop program stays open; here the
        // user's eventual close follows at once.
        if (!main.isClosed())
            app.command([&] { main.FormClose(); });
    } catch (const Terminated&) {
        // Ended by a signal: the exit steps are left out, what was done is still reported.
    }
    return finishRuns(app, console, options.run, !completed || !main.isClosed(),
                      main.batchSkipped());
}

} // namespace twinfold::cli
