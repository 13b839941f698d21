#include "NewerThan.h"

#include "platform/FileSystem.h"

#include <limits>

namespace twinfold
{

TimeValue destinationTimeAt(int dirFd, const std::string& name)
{
    return destinationTimeOf(statusAt(dirFd, name, false));
}

TimeValue destinationTimeOf(const std::optional<FileStatus>& st)
{
    if (!st)
        return 0;
    const TimeValue packed = packTimeValue(st->mtimeSeconds);
    if (packed != NoTimeValue)
        return packed;
    // Only times before 1980 or after 2107 cannot be packed; the year 2000 tells them apart.
    constexpr std::int64_t Year2000 = 946684800;
    return st->mtimeSeconds > Year2000 ? std::numeric_limits<TimeValue>::max() : 0;
}

bool sourceIsNewer(const std::optional<FileStatus>& source,
                   const std::optional<FileStatus>& destination)
{
    if (!source || !source->regular)
        return false;
    // Equal times pack to equal values. A copy left in step by an earlier run then needs no
    // conversion to local time, a fifth of the work of a run that has nothing to copy.
    if (destination && destination->mtimeSeconds == source->mtimeSeconds)
        return false;
    return shouldCopy(destinationTimeOf(destination), packTimeValue(source->mtimeSeconds));
}

} // namespace twinfold
