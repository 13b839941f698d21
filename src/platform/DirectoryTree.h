#pragma once

#include "FileHandle.h"

#include <string>

namespace twinfold
{

// A directory opened for a pass, with the error of the attempt (0 when it is open), so that
// the caller decides on the failure without reading a global error state.
struct OpenedDirectory {
    FileHandle handle;
    int error = 0;

    bool isOpen() const { return handle.isOpen(); }
    // Nothing stands where the directory should be.
    bool missing() const;
};

// Opens a directory for reading: by its path below the directory open at rootFd (an empty
// path names the root itself) or, when rootFd is negative, by the full path.
OpenedDirectory openDirectoryBelow(int rootFd, const std::string& relative,
                                   const std::string& fullPath);

// The handle that stands for the process's current directory in the calls relative to a
// directory handle: a full path given with it is used as it is.
int currentDirectoryHandle();

// The error of an argument that names nothing the call can take, such as a relative path where
// a full one is needed.
int invalidArgumentError();

} // namespace twinfold
