// twinfold-cli: Twinfold's runs for scripts and scheduled jobs.
#include "BatchCommand.h"
#include "RunReport.h"
#include "SyncCommand.h"
#include "platform/Termination.h"

#include <iostream>
#include <string>
#include <vector>

namespace
{

const char* const Usage =
    "usage: twinfold-cli sync SOURCE DEST [--all] [--type N] [--include MASK]...\n"
    "                         [--exclude MASK]... [--buffer BYTES] [--auto-continue]\n"
    "                         [--answer yes|no] [--log-dir DIR] [--dry-run] [--fsync]\n"
    "                         [--quiet | --verbose]\n"
    "       twinfold-cli [--config-dir DIR] batch BATCHFILE [--log-dir DIR]\n"
    "                         [--answer yes|no] [--fsync] [--quiet | --verbose]\n";

int usageError(const std::string& error)
{
    std::cerr << "twinfold-cli: " << error << "\n" << Usage;
    return twinfold::cli::ExitUsage;
}

} // namespace

static int dispatch(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string configDir;
    if (!args.empty() && args[0] == "--config-dir") {
        if (args.size() < 2)
            return usageError("--config-dir needs a directory");
        configDir = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        return usageError("no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << Usage;
        return 0;
    }
    if (args[0] == "batch") {
        std::string error;
        const auto options =
            twinfold::cli::parseBatchOptions(configDir, {args.begin() + 1, args.end()}, error);
        if (!options)
            return usageError(error);
        return twinfold::cli::runBatch(*options);
    }
    if (args[0] == "sync") {
        if (!configDir.empty())
            return usageError("sync neither reads nor writes settings: --config-dir is for batch");
        std::string error;
        const auto options = twinfold::cli::parseSyncOptions({args.begin() + 1, args.end()}, error);
        if (!options)
            return usageError(error);
        return twinfold::cli::runSync(*options);
    }
    return usageError("unknown command " + args[0]);
}

int main(int argc, char** argv)
{
    try {
        return dispatch(argc, argv);
    } catch (const twinfold::Terminated& end) {
        return end.exitStatus();
    }
}
