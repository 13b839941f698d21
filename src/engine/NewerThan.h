#pragma once

#include "platform/DosTime.h"
#include "platform/FileHandle.h"

#include <optional>

#include <string>

namespace twinfold
{

// The newer-than rule: a file is copied when the destination's time value is less than the
// source's.

// The source's time value; NoTimeValue (-1) when nothing is there, it is a directory, or its
// time cannot be packed (before 1980 or after 2107), so such a source is never copied.
TimeValue sourceAge(const std::string& sourcePath);

// The time value of whatever entry stands at the destination path, file or directory alike;
// 0 when nothing is there. A destination dated before 1980 counts as older than any source; one
// dated after 2107 as newer than any.
TimeValue destinationTime(const std::string& destinationPath);

// The same for an entry of the directory open at dirFd.
TimeValue sourceAgeAt(int dirFd, const std::string& name);
TimeValue destinationTimeAt(int dirFd, const std::string& name);
// The same from a destination status already looked up (nothing: no destination).
TimeValue destinationTimeOf(const std::optional<FileStatus>& status);

inline bool shouldCopy(TimeValue destination, TimeValue source)
{
    return destination < source;
}

} // namespace twinfold
