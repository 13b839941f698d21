// Matches arbitrary names against arbitrary patterns: letters match without regard to case,
// "*" matches everything, a name without wildcards matches itself, and no pattern makes the
// match run away (the fuzzer's time limit catches a backtracking blow-up).
#include "FuzzInput.h"

#include "platform/PathRules.h"
#include "platform/Wildcard.h"

#include <cstdlib>

using twinfold::matchesPattern;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    twinfold::fuzz::FuzzInput input(data, size);
    const std::string name = input.next();
    const std::string pattern = input.rest();

    const bool matched = matchesPattern(name, pattern);
    if (matchesPattern(twinfold::upperAscii(name), pattern) != matched)
        std::abort();
    if (!name.empty() && !matchesPattern(name, "*"))
        std::abort();
    if (!name.empty() && name.find_first_of("*?") == std::string::npos &&
        !matchesPattern(name, name))
        std::abort();
    for (const auto& part : twinfold::splitMask(pattern))
        matchesPattern(name, part);
    return 0;
}
