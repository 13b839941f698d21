#include "DosTime.h"

namespace twinfold
{

namespace
{

constexpr int FirstPackableYear = 1980;
constexpr int LastPackableYear = 2107; // 7 bits of year offset

bool toLocalTime(std::int64_t unixSeconds, std::tm& local)
{
    const auto seconds = static_cast<std::time_t>(unixSeconds);
    return localtime_r(&seconds, &local) != nullptr;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : Days[month - 1];
}

} // namespace

TimeValue packTimeValue(std::int64_t unixSeconds)
{
    std::tm local{};
    if (!toLocalTime(unixSeconds, local))
        return NoTimeValue;
    const int year = local.tm_year + 1900;
    if (year < FirstPackableYear || year > LastPackableYear)
        return NoTimeValue;
    // A leap second (tm_sec 60) still fits the five bits of the two-second count.
    const std::uint32_t packed = static_cast<std::uint32_t>(year - FirstPackableYear) << 25 |
                                 static_cast<std::uint32_t>(local.tm_mon + 1) << 21 |
                                 static_cast<std::uint32_t>(local.tm_mday) << 16 |
                                 static_cast<std::uint32_t>(local.tm_hour) << 11 |
                                 static_cast<std::uint32_t>(local.tm_min) << 5 |
                                 static_cast<std::uint32_t>(local.tm_sec / 2);
    // Zero-extended, never sign-extended: see TimeValue.
    return static_cast<TimeValue>(packed);
}

std::int64_t unpackTimeValue(TimeValue value)
{
    if (value < 0 || value > 0xFFFFFFFF)
        return NoTimeValue;
    const auto packed = static_cast<std::uint32_t>(value);
    const int year = static_cast<int>(packed >> 25) + FirstPackableYear;
    const int month = static_cast<int>(packed >> 21 & 0x0F);
    const int day = static_cast<int>(packed >> 16 & 0x1F);
    const int hour = static_cast<int>(packed >> 11 & 0x1F);
    const int minute = static_cast<int>(packed >> 5 & 0x3F);
    const int second = static_cast<int>(packed & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        return NoTimeValue;

    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1; // let the time zone rules decide whether DST applies
    const std::time_t result = std::mktime(&local);
    // Every valid packed time lies after 1980, so -1 is never a genuine result here.
    if (result == static_cast<std::time_t>(-1))
        return NoTimeValue;
    return static_cast<std::int64_t>(result);
}

std::int64_t roundDownToTwoSeconds(std::int64_t unixSeconds)
{
    // Taking the odd second off the time itself, rather than unpacking a packed value, keeps
    // the result inside the right hour when a DST change repeats an hour of local time.
    std::tm local{};
    if (toLocalTime(unixSeconds, local))
        return unixSeconds - local.tm_sec % 2;
    const std::int64_t odd = ((unixSeconds % 2) + 2) % 2;
    return unixSeconds - odd;
}

std::string localTimeText(std::int64_t unixSeconds)
{
    std::tm local{};
    if (!toLocalTime(unixSeconds, local))
        return std::to_string(unixSeconds);
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) == 0)
        return std::to_string(unixSeconds);
    return text;
}

} // namespace twinfold
