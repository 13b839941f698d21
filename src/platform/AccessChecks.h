#pragma once

#include <string>

namespace twinfold
{

// Throws IoError unless the path is a directory this process may make files in (a read-only
// file system refuses even root).
void checkWritableDirectory(const std::string& path);

} // namespace twinfold
