#pragma once

#include "platform/DosTime.h"
#include "platform/FileHandle.h"

#include <cstdint>
#include <optional>

namespace twinfold
{

// The newer-than rule: a file is copied when the destination's time value is less than the
// source's.

// Whether a source, as looked up (following links), is copied over the destination as looked
// up, file or directory alike. A source that is not there or is a directory is never copied; a
// source that the destination lacks always is, whatever its time.
//
// destinationShift is the number of seconds the destination's times read later than they
// should (a volume that keeps local time, read with another offset than it was written with):
// they are taken back by it before the comparison. A destination in step with its source is
// the same file all the same, whatever the shift: it was written through the clock the run
// reads with.
bool sourceIsNewer(const std::optional<FileStatus>& source,
                   const std::optional<FileStatus>& destination, std::int64_t destinationShift = 0);

inline bool shouldCopy(TimeValue destination, TimeValue source)
{
    return destination < source;
}

// Whether two last-write times stand within one two-second step of each other.
inline bool inStep(std::int64_t first, std::int64_t second)
{
    return first - second < 2 && second - first < 2;
}

} // namespace twinfold
