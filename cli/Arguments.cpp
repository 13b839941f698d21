#include "Arguments.h"

namespace twinfold::cli
{

namespace
{

OptionOutcome sharedOption(const std::string& option,
                           const std::function<const std::string*()>& value, RunOptions& run,
                           bool& quiet, bool& verbose, std::string& error)
{
    if (option == "--quiet") {
        quiet = true;
    } else if (option == "--verbose") {
        verbose = true;
    } else if (option == "--log-dir") {
        const std::string* dir = value();
        if (!dir)
            return OptionOutcome::Failed;
        run.logDir = *dir;
    } else if (option == "--answer") {
        const std::string* answer = value();
        if (!answer)
            return OptionOutcome::Failed;
        if (*answer != "yes" && *answer != "no") {
            error = "--answer takes yes or no";
            return OptionOutcome::Failed;
        }
        run.answerYes = *answer == "yes";
    } else {
        return OptionOutcome::NotMine;
    }
    return OptionOutcome::Taken;
}

} // namespace

std::optional<std::vector<std::string>> readArguments(const std::vector<std::string>& args,
                                                      RunOptions& run, const OwnOption& own,
                                                      std::string& error)
{
    std::vector<std::string> positional;
    bool quiet = false;
    bool verbose = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::function<const std::string*()> value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        OptionOutcome outcome = own(arg, value, error);
        if (outcome == OptionOutcome::NotMine)
            outcome = sharedOption(arg, value, run, quiet, verbose, error);
        if (outcome == OptionOutcome::NotMine)
            error = "unknown option " + arg;
        if (outcome != OptionOutcome::Taken)
            return std::nullopt;
    }
    if (quiet && verbose) {
        error = "--quiet and --verbose exclude each other";
        return std::nullopt;
    }
    run.verbosity = quiet ? Verbosity::Quiet : verbose ? Verbosity::Verbose : Verbosity::Normal;
    return positional;
}

} // namespace twinfold::cli
