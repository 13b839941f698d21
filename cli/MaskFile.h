#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace twinfold::cli
{

// The masks of a filter file, one a line as written; blank lines and lines starting with # are
// left out, and so is the CR of a CR LF line end.
std::vector<std::string> masksOf(std::istream& lines);

// The masks of the file at path, or of standard input for "-"; throws std::runtime_error with
// the reason when the file cannot be read.
std::vector<std::string> readMaskFile(const std::string& path);

} // namespace twinfold::cli
