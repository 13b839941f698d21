// twinfold-cli: Twinfold's runs for scripts and scheduled jobs.
#include "SyncCommand.h"
#include "RunReport.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "usage: twinfold-cli sync SOURCE DEST [--all] [--type N] [--include MASK]...\n"
    "                         [--exclude MASK]... [--buffer BYTES] [--auto-continue]\n"
    "                         [--answer yes|no] [--log-dir DIR] [--dry-run]\n"
    "                         [--quiet | --verbose]\n";

int usageError(const std::string& error)
{
    std::cerr << "twinfold-cli: " << error << "\n" << Usage;
    return twinfold::cli::ExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usageError("no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << Usage;
        return 0;
    }
    if (args[0] == "sync") {
        std::string error;
        const auto options =
            twinfold::cli::parseSyncOptions({args.begin() + 1, args.end()}, error);
        if (!options)
            return usageError(error);
        return twinfold::cli::runSync(*options);
    }
    return usageError("unknown command " + args[0]);
}
