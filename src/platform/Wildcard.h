#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twinfold
{

// Matches a file name against one pattern as a directory search does: "*" any run of
// characters (also none), "?" exactly one character, letters without regard to case.
// A name without a dot also matches as if it ended in a dot, so "*.*" matches every name and
// "*.wk*" matches "a.wk". An empty pattern matches nothing.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The patterns of a ";"-separated mask, in order; empty patterns are kept (they match nothing).
std::vector<std::string> splitMask(std::string_view mask);

} // namespace twinfold
