#pragma once

#include <string>
#include <vector>

namespace twinfold
{

// A batch file: an INI file whose section "Files" lists settings files under the keys File0,
// File1, ... The first missing key, or a value of exactly "Done", ends the list.
std::vector<std::string> ReadBatchFile(const std::string& path);

// Replaces the batch file with the list; an empty list leaves no file at the path. The new
// contents replace the old ones in one step, so a failed write (CommandError "Unable to write
// to %s") leaves the old file as it was rather than half of a new one.
void WriteBatchFile(const std::string& path, const std::vector<std::string>& entries);

} // namespace twinfold
