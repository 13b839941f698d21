#pragma once

#include <string>
#include <string_view>

namespace twinfold
{

// A name made safe for one line of text: control characters become \n, \r, \t or a
// three-digit octal escape, and a backslash is doubled so that the escapes stay reversible.
// Every other byte, UTF-8 included, stays as it is.
std::string escapedName(std::string_view name);

} // namespace twinfold
