#include "SyncOptions.h"

#include "engine/BufferedCopy.h"

#include <charconv>

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
        factor = std::int64_t{1024} * 1024;
        digits.pop_back();
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty() || value <= 0)
        return std::nullopt;
    if (value > MaxCopyBuffer / factor)
        return std::nullopt;
    return static_cast<std::int32_t>(value * factor);
}

} // namespace twinfold::cli
