#include "SyncOptions.h"

#include <charconv>
#include <limits>

namespace twinfold::cli
{

std::optional<std::int32_t> parseBufferSize(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    std::int64_t factor = 1;
    std::string digits = text;
    const char suffix = text.back();
    if (suffix == 'K' || suffix == 'k') {
        factor = 1024;
        digits.pop_back();
    } else if (suffix == 'M' || suffix == 'm') {
        factor = 1024 * 1024;
        digits.pop_back();
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty() || value <= 0)
        return std::nullopt;
    if (value > std::numeric_limits<std::int32_t>::max() / factor)
        return std::nullopt;
    return static_cast<std::int32_t>(value * factor);
}

namespace
{

bool parseType(const std::string& text, int& type)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), type);
    return ec == std::errc() && end == text.data() + text.size() && type >= 0 && type <= 4;
}

} // namespace

std::optional<SyncOptions> parseSyncOptions(const std::vector<std::string>& args,
                                            std::string& error)
{
    SyncOptions options;
    std::vector<std::string> positional;
    bool quiet = false;
    bool verbose = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            positional.push_back(arg);
            continue;
        }
        const auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--all") {
            options.all = true;
        } else if (arg == "--type") {
            const std::string* v = value();
            int type = 0;
            if (!v)
                return std::nullopt;
            if (!parseType(*v, type)) {
                error = "--type takes a number from 0 to 4";
                return std::nullopt;
            }
            options.type = type;
        } else if (arg == "--include" || arg == "--exclude") {
            const std::string* v = value();
            if (!v)
                return std::nullopt;
            if (v->empty()) {
                error = arg + " takes a non-empty mask";
                return std::nullopt;
            }
            (arg == "--include" ? options.includes : options.excludes).push_back(*v);
        } else if (arg == "--buffer") {
            const std::string* v = value();
            if (!v)
                return std::nullopt;
            options.buffer = parseBufferSize(*v);
            if (!options.buffer) {
                error = "--buffer takes a positive number of bytes (K and M suffixes allowed)";
                return std::nullopt;
            }
        } else if (arg == "--auto-continue") {
            options.autoContinue = true;
        } else if (arg == "--answer") {
            const std::string* v = value();
            if (!v)
                return std::nullopt;
            if (*v != "yes" && *v != "no") {
                error = "--answer takes yes or no";
                return std::nullopt;
            }
            options.run.answerYes = *v == "yes";
        } else if (arg == "--log-dir") {
            const std::string* v = value();
            if (!v)
                return std::nullopt;
            options.run.logDir = *v;
        } else if (arg == "--dry-run") {
            options.dryRun = true;
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
    if (positional.size() != 2) {
        error = "sync needs SOURCE and DEST";
        return std::nullopt;
    }
    options.source = positional[0];
    options.dest = positional[1];
    options.run.verbosity = quiet     ? Verbosity::Quiet
                            : verbose ? Verbosity::Verbose
                                      : Verbosity::Normal;
    return options;
}

} // namespace twinfold::cli
