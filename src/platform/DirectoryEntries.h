#pragma once

#include "FileHandle.h"
#include "IoResult.h"

#include <string>
#include <vector>

namespace twinfold
{

// Every entry of one directory, classified without following symbolic links. Unlike
// DirectoryCache::read(), nothing is left out: a deletion has to see the links (to directories,
// dangling or not), FIFOs, sockets and devices too, and has to know that a link to a directory
// is not a directory.
struct DirectoryEntries {
    std::vector<std::string> directories; // real directories, sorted by nameLess()
    std::vector<std::string> others;      // everything else, sorted by nameLess()
};

// Reads the entries of the directory open at dirFd (it keeps its own read position, so the
// same handle can be read again). Throws IoError when the directory cannot be read. An entry
// that vanishes or cannot be examined while it is read is left out.
DirectoryEntries readEntriesAt(int dirFd);

// Opens the directory that a path names for reading, following symbolic links (a path the user
// chose is kept as typed). The handle is invalid, and the error set, on failure.
IoResult<FileHandle> openDirectory(const std::string& path);

// Opens for reading the directory at a path relative to the directory open at baseFd ("" is
// that directory itself), following symbolic links as openDirectory() does.
IoResult<FileHandle> openDirectoryAt(int baseFd, const std::string& relative);

// Opens a directory as the base of lookups, removals and opens of its entries, following
// symbolic links; where the platform allows it, the directory need not be readable for that.
IoResult<FileHandle> openDirectoryBase(const std::string& path);

// Opens the entry `name` of the directory open at dirFd for reading, only when it is a real
// directory: a symbolic link is never followed (the error is ELOOP or ENOTDIR then).
IoResult<FileHandle> openSubdirectoryAt(int dirFd, const std::string& name);

} // namespace twinfold
