#pragma once

#include <string>

namespace twinfold
{

// Reads a whole regular file (following symbolic links). On failure returns false and sets
// error to the error number: ENOENT when nothing is there, EISDIR for a directory, EINVAL for
// any other kind of entry. Opening never blocks, even on a FIFO.
[[nodiscard]] bool readRegularFile(const std::string& path, std::string& contents, int& error);

// Replaces a file's contents so that a crash leaves either the old or the new file, never a
// half-written one: the contents go to a new temporary file in the same directory, which is
// synced and renamed over the original. A symbolic link is followed and stays a link. The
// original's permissions (and, where allowed, its owner) carry over; a new file gets
// 0644 less the umask. A file without owner write permission is refused, even for root.
// Returns false on any failure, leaving the original untouched and no temporary behind.
[[nodiscard]] bool replaceFileContents(const std::string& path, const std::string& contents);

} // namespace twinfold
