#include "BatchCommand.h"

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
    std::vector<std::string> positional;
    bool quiet = false;
    bool verbose = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--log-dir" || arg == "--answer") {
            if (!hasValue) {
                error = "option " + arg + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "--log-dir") {
                options.run.logDir = value;
            } else if (value == "yes" || value == "no") {
                options.run.answerYes = value == "yes";
            } else {
                error = "--answer takes yes or no";
                return std::nullopt;
            }
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    if (quiet && verbose) {
        error = "--quiet and --verbose exclude each other";
        return std::nullopt;
    }
    if (positional.size() != 1) {
        error = "batch needs one BATCHFILE";
        return std::nullopt;
    }
    options.batchFile = positional[0];
    options.run.verbosity = quiet     ? Verbosity::Quiet
                            : verbose ? Verbosity::Verbose
                                      : Verbosity::Normal;
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
