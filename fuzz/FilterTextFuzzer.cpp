// Splits arbitrary filter texts into entries and joins them again: the join of a split gives
// the text back up to its last ";", and a split of the join gives the same entries.
#include "FuzzInput.h"

#include "settings/FilterText.h"

#include <cstdlib>

using twinfold::joinFilter;
using twinfold::parseString;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> entries;
    parseString(text, entries);
    const std::string joined = joinFilter(entries);
    const auto lastSeparator = text.rfind(';');
    if (joined != (lastSeparator == std::string::npos ? "" : text.substr(0, lastSeparator + 1)))
        std::abort();
    std::vector<std::string> again;
    parseString(joined, again);
    if (again != entries)
        std::abort();
    return 0;
}
