#include "engine/TimeShift.h"

#include "engine/NewerThan.h"
#include "platform/DosTime.h"
#include "platform/FileHandle.h"

#include <cstdlib>

namespace twinfold
{

namespace
{

// The place of a shift of `hours` (-MaxHours..MaxHours) in the counts.
std::size_t slot(int hours)
{
    const int index = hours + TimeShiftEvidence::MaxHours;
    return static_cast<std::size_t>(index);
}

} // namespace

void TimeShiftEvidence::observe(const FileStatus& source, const FileStatus& destination)
{
    if (source.size != destination.size)
        return;
    const std::int64_t apart = destination.mtimeSeconds - source.mtimeSeconds;
    if (inStep(apart, 0))
        return;
    for (int hours = -MaxHours; hours <= MaxHours; ++hours) {
        if (hours != 0 && inStep(apart, hours * SecondsPerHour)) {
            ++m_shifted[slot(hours)];
            return;
        }
    }
    ++m_otherwise;
}

int TimeShiftEvidence::shifted(int hours) const
{
    if (hours == 0 || std::abs(hours) > MaxHours)
        return 0;
    return m_shifted[slot(hours)];
}

int TimeShiftEvidence::unambiguousLateHours() const
{
    for (int hours = 1; hours <= MaxHours; ++hours) {
        const int pairs = shifted(hours);
        if (pairs < MinimumPairs || pairs < 2 * m_otherwise)
            continue;
        bool alone = true;
        for (int other = -MaxHours; other <= MaxHours; ++other)
            alone = alone && (other == hours || shifted(other) == 0);
        if (alone)
            return hours;
    }
    return 0;
}

namespace
{

std::string counted(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string timeShiftNotice(const std::string& destination, int hours, int files,
                            ShiftHandling handling)
{
    const int size = std::abs(hours);
    std::string text = "The times in " + destination + " read " + counted(size, "hour", "hours") +
                       (hours > 0 ? " late" : " early") + " against the source on " +
                       counted(files, "file", "files") + " of equal size";
    const std::string setting = std::to_string(hours);
    switch (handling) {
    case ShiftHandling::Compensated:
        return text + "; the run compensated it: files changed within that time were copied.";
    case ShiftHandling::ByTheSetting:
        return text + "; the time shift setting compensated it.";
    case ShiftHandling::NotCompensated:
        return text + "; not compensated: a file changed within that time may not have been " +
               "copied (a time shift of " + setting + " compensates it).";
    case ShiftHandling::CopiedAgain:
        break;
    }
    return text + "; such files were copied again (a time shift of " + setting +
           " copies only the files changed since).";
}

std::string timeNotKeptNotice(const std::string& destination, const std::string& file,
                              std::int64_t set, std::int64_t kept)
{
    return "The file system of " + destination + " did not keep the time set on a copy (" + file +
           ": set " + localTimeText(set) + ", kept " + localTimeText(kept) +
           "); later runs compare with the time it kept and may misjudge its files.";
}

} // namespace twinfold
