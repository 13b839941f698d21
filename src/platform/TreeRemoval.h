#pragma once

#include <functional>
#include <string>

namespace twinfold
{

// Called with the full path of each directory that could not be removed, innermost first.
using RemovalProblem = std::function<void(const std::string& path)>;

// Removes a directory and everything below it. Subdirectories go first, from the last to the
// first in name order, then the directory's own entries, then the directory itself; a directory
// that stays is passed to `problem` and the deletion goes on with its siblings.
//
// The deletion stays inside the tree it was given: every step below `path` works relative to
// an open handle of the directory above it and never follows a symbolic link, so a link (to a
// directory inside or outside the tree, or dangling) is removed as an entry, and a directory
// swapped for a link during the deletion cannot redirect it. A directory of another file
// system mounted inside the tree is not entered. When `path` itself is a symbolic link, the link
// is removed and what it points to stays.
void delTree(const std::string& path, const RemovalProblem& problem);

// Deletes every entry of a directory except its subdirectories: files, and symbolic links,
// FIFOs, sockets and devices as entries of their own (nothing is followed). A read-only entry
// (no owner write permission) stays, also for root. Failures are silent. Throws IoError when
// the directory cannot be opened.
void deleteFiles(const std::string& path);

// Removes one entry that is not a directory, whatever its permissions; false when it stays.
[[nodiscard]] bool removeEntry(const std::string& path);

} // namespace twinfold
