#pragma once

#include "platform/DosTime.h"
#include "platform/FileHandle.h"

#include <optional>

#include <string>

namespace twinfold
{

// The newer-than rule: a file is copied when the destination's time value is less than the
// source's.

// The time value of whatever entry stands at the destination, file or directory alike; 0 when
// nothing is there. A destination dated before 1980 counts as older than any source; one dated
// after 2107 as newer than any.
TimeValue destinationTimeAt(int dirFd, const std::string& name);
// The same from a destination status already looked up (nothing: no destination).
TimeValue destinationTimeOf(const std::optional<FileStatus>& status);

// Whether a source, as looked up (following links), is copied over the destination as looked
// up. Nothing there, a directory, or a time that cannot be packed (before 1980 or after 2107)
// is never copied.
bool sourceIsNewer(const std::optional<FileStatus>& source,
                   const std::optional<FileStatus>& destination);

inline bool shouldCopy(TimeValue destination, TimeValue source)
{
    return destination < source;
}

} // namespace twinfold
