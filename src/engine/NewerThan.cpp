#include "NewerThan.h"

namespace twinfold
{

namespace
{

// The designed comparison of packed local times, or, where either time cannot be packed
// (before 1980, after 2107), of the times themselves at the same two-second step; the step is
// the one a copy's time is rounded down to, so a copy is equal to its source again.
bool laterThan(std::int64_t source, std::int64_t destination)
{
    const TimeValue sourceAge = packTimeValue(source);
    const TimeValue destinationTime = packTimeValue(destination);
    if (sourceAge != NoTimeValue && destinationTime != NoTimeValue)
        return shouldCopy(destinationTime, sourceAge);
    return roundDownToTwoSeconds(destination) < roundDownToTwoSeconds(source);
}

} // namespace

bool sourceIsNewer(const std::optional<FileStatus>& source,
                   const std::optional<FileStatus>& destination, std::int64_t destinationShift)
{
    if (!source || !source->regular)
        return false;
    // A time that cannot be packed never stops a first backup.
    if (!destination)
        return true;
    // Equal times pack to equal values. A copy left in step by an earlier run then needs no
    // conversion to local time, a fifth of the work of a run that has nothing to copy.
    if (destination->mtimeSeconds == source->mtimeSeconds)
        return false;
    if (destinationShift != 0 && inStep(destination->mtimeSeconds, source->mtimeSeconds))
        destinationShift = 0;
    return laterThan(source->mtimeSeconds, destination->mtimeSeconds - destinationShift);
}

} // namespace twinfold
