#include "BatchCommand.h"

#include "Arguments.h"

#include "ConsoleServices.h"
#include "RunReport.h"
#include "app/Application.h"

namespace twinfold::cli
{

std::optional<BatchOptions> parseBatchOptions(const std::string& configDir,
                                              const std::vector<std::string>& args,
                                              std::string& error)
{
    BatchOptions options;
    options.configDir = configDir;
    const auto own = [&options](const std::string& option,
                                const std::function<const std::string*()>&, std::string&) {
        if (option != "--fsync")
            return OptionOutcome::NotMine;
        options.fsync = true;
        return OptionOutcome::Taken;
    };
    const auto positional = readArguments(args, options.run, own, error);
    if (!positional)
        return std::nullopt;
    if (positional->size() != 1) {
        error = "batch needs one BATCHFILE";
        return std::nullopt;
    }
    options.batchFile = positional->front();
    return options;
}

int runBatch(const BatchOptions& options)
{
    ConsoleServices console(options.run);
    Application app(console);
    console.attach(app.SyncBox);
    app.SyncBox.onFileStatus = [&console](const std::string& status, const std::string& path) {
        console.fileStatus(status, path);
    };
    app.start(StartOptions{options.configDir, options.batchFile});
    app.Settings.Fsync = options.fsync;
    auto& main = app.Main;
    app.command([&] { main.FormShow(); });
    // The first activation runs the batch and closes the window through the exit steps.
    const bool completed = app.command([&] { main.FormActivate(); });
    // After a failure that escaped the batch the desktop program stays open; here the user's
    // eventual close follows at once.
    if (!main.closed())
        app.command([&] { main.FormClose(); });
    const int status = finishRuns(app, console, options.run, !completed || !main.closed());
    if (status == ExitOk && main.batchSkipped > 0)
        return ExitFailedCopies;
    return status;
}

} // namespace twinfold::cli
