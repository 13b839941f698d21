#include "SyncOptions.h"

#include "Arguments.h"

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
    const auto own = [&options](const std::string& option,
                                const std::function<const std::string*()>& value,
                                std::string& error) {
        if (option == "--all") {
            options.all = true;
        } else if (option == "--auto-continue") {
            options.autoContinue = true;
        } else if (option == "--dry-run") {
            options.dryRun = true;
        } else if (option == "--fsync") {
            options.fsync = true;
        } else if (option == "--type") {
            const std::string* text = value();
            int type = 0;
            if (!text)
                return OptionOutcome::Failed;
            if (!parseType(*text, type)) {
                error = "--type takes a number from 0 to 4";
                return OptionOutcome::Failed;
            }
            options.type = type;
        } else if (option == "--include" || option == "--exclude") {
            const std::string* mask = value();
            if (!mask)
                return OptionOutcome::Failed;
            if (mask->empty()) {
                error = option + " takes a non-empty mask";
                return OptionOutcome::Failed;
            }
            (option == "--include" ? options.includes : options.excludes).push_back(*mask);
        } else if (option == "--buffer") {
            const std::string* size = value();
            if (!size)
                return OptionOutcome::Failed;
            options.buffer = parseBufferSize(*size);
            if (!options.buffer) {
                error = "--buffer takes a positive number of bytes (K and M suffixes allowed)";
                return OptionOutcome::Failed;
            }
        } else {
            return OptionOutcome::NotMine;
        }
        return OptionOutcome::Taken;
    };
    const auto positional = readArguments(args, options.run, own, error);
    if (!positional)
        return std::nullopt;
    if (positional->size() != 2) {
        error = "sync needs SOURCE and DEST";
        return std::nullopt;
    }
    options.source = (*positional)[0];
    options.dest = (*positional)[1];
    return options;
}

} // namespace twinfold::cli
