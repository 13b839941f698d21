#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace twinfold
{

// A file's last-write time in local time, packed into the 32-bit DOS date-time form
// (bits 31-25 year-1980, 24-21 month, 20-16 day, 15-11 hour, 10-5 minute, 4-0 seconds/2).
//
// The packed value is held zero-extended in 64 bits rather than as a signed 32-bit number:
// for 1980-2043 the order is the same as the signed comparison, and times from 2044 to 2107,
// whose bit 31 is set, still order after every earlier time instead of before 1980.
using TimeValue = std::int64_t;

// "No time": a missing source, a directory, or a time that cannot be packed.
inline constexpr TimeValue NoTimeValue = -1;

// Packs a POSIX time (seconds since the epoch) as local time. Times before 1980 or after
// 2107 cannot be packed and give NoTimeValue.
TimeValue packTimeValue(std::int64_t unixSeconds);

// Unpacks a time value as local time back to POSIX seconds; NoTimeValue for a value that does
// not hold a valid date and time.
std::int64_t unpackTimeValue(TimeValue value);

// The POSIX time of the start of the two-second step that holds unixSeconds in local time,
// computed from the time itself so that the repeated hour of a DST change is no problem.
std::int64_t roundDownToTwoSeconds(std::int64_t unixSeconds);

// A time as the user reads it, "2024-03-05 14:07:09" in local time.
std::string localTimeText(std::int64_t unixSeconds);

} // namespace twinfold
