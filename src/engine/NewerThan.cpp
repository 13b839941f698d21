#include "NewerThan.h"

#include "platform/DirectoryTree.h"
#include "platform/FileSystem.h"

#include <limits>

namespace twinfold
{

TimeValue sourceAge(const std::string& sourcePath)
{
    return sourceAgeAt(currentDirectoryHandle(), sourcePath);
}

TimeValue destinationTime(const std::string& destinationPath)
{
    return destinationTimeAt(currentDirectoryHandle(), destinationPath);
}

TimeValue sourceAgeAt(int dirFd, const std::string& name)
{
    const auto st = statusAt(dirFd, name, true);
    return st && st->regular ? packTimeValue(st->mtimeSeconds) : NoTimeValue;
}

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

} // namespace twinfold
