#include "platform/DosTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

using namespace twinfold;

namespace
{

// Runs a test under a fixed local time zone and restores the process's own afterwards.
class LocalZone
{
public:
    explicit LocalZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_saved = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone()
    {
        if (m_saved)
            setenv("TZ", m_saved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    std::optional<std::string> m_saved;
};

constexpr const char* Utc = "UTC0";
// Central European time with its DST rules, spelled out so no zone database is needed.
constexpr const char* CentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

std::int64_t utcSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return static_cast<std::int64_t>(timegm(&t));
}

} // namespace

TEST(DosTime, PacksFieldsInTheirBits)
{
    const LocalZone zone(Utc);
    EXPECT_EQ(packTimeValue(utcSeconds(1980, 1, 1)), 0x00210000);
    EXPECT_EQ(packTimeValue(utcSeconds(2001, 2, 3, 4, 5, 6)),
              (21 << 25) | (2 << 21) | (3 << 16) | (4 << 11) | (5 << 5) | 3);
}

TEST(DosTime, PackingUsesLocalTime)
{
    const LocalZone zone(CentralEurope);
    // 23:30 UTC on 31 December 1999 is already 2000 in Central Europe.
    const TimeValue value = packTimeValue(utcSeconds(1999, 12, 31, 23, 30));
    EXPECT_EQ(value >> 25, 20);
    EXPECT_EQ(value & 0xFFFF, 30 << 5); // 00:30:00
}

TEST(DosTime, RoundTripsEvenSeconds)
{
    for (const char* name : {Utc, CentralEurope}) {
        const LocalZone zone(name);
        for (const std::int64_t t :
             {utcSeconds(1980, 1, 1, 12), utcSeconds(1999, 12, 31, 23, 59, 58),
              utcSeconds(2024, 2, 29, 10, 20, 30), utcSeconds(2043, 12, 31, 12),
              utcSeconds(2044, 6, 1, 8, 0, 2), utcSeconds(2107, 12, 31, 12)}) {
            const TimeValue value = packTimeValue(t);
            ASSERT_NE(value, NoTimeValue) << name << " " << t;
            EXPECT_EQ(unpackTimeValue(value), t) << name << " " << t;
        }
    }
}

TEST(DosTime, KeepsTwoSecondSteps)
{
    const LocalZone zone(Utc);
    const std::int64_t even = utcSeconds(2010, 5, 6, 7, 8, 10);
    EXPECT_EQ(packTimeValue(even + 1), packTimeValue(even));
    EXPECT_LT(packTimeValue(even + 1), packTimeValue(even + 2));
    EXPECT_EQ(unpackTimeValue(packTimeValue(even + 1)), even);
    EXPECT_EQ(roundDownToTwoSeconds(even), even);
    EXPECT_EQ(roundDownToTwoSeconds(even + 1), even);
}

TEST(DosTime, RoundingStaysInsideTheRepeatedHour)
{
    const LocalZone zone(CentralEurope);
    // On 31 October 2021 local time ran 02:00-03:00 twice; these are 02:30:01 CEST and CET.
    const std::int64_t summer = utcSeconds(2021, 10, 31, 0, 30, 1);
    const std::int64_t winter = utcSeconds(2021, 10, 31, 1, 30, 1);
    EXPECT_EQ(packTimeValue(summer), packTimeValue(winter));
    EXPECT_EQ(roundDownToTwoSeconds(summer), summer - 1);
    EXPECT_EQ(roundDownToTwoSeconds(winter), winter - 1);
}

TEST(DosTime, TimesOutsideTheRangeCannotBePacked)
{
    const LocalZone zone(Utc);
    EXPECT_EQ(packTimeValue(utcSeconds(1979, 12, 31, 23, 59, 59)), NoTimeValue);
    EXPECT_EQ(packTimeValue(0), NoTimeValue);
    EXPECT_EQ(packTimeValue(-1), NoTimeValue);
    EXPECT_EQ(packTimeValue(utcSeconds(2108, 1, 1)), NoTimeValue);
    EXPECT_NE(packTimeValue(utcSeconds(2107, 12, 31, 23, 59, 58)), NoTimeValue);
}

TEST(DosTime, LaterCenturyTimesOrderAfterEarlierOnes)
{
    const LocalZone zone(Utc);
    const TimeValue late2043 = packTimeValue(utcSeconds(2043, 12, 31, 23, 59, 58));
    const TimeValue early2044 = packTimeValue(utcSeconds(2044, 1, 1));
    const TimeValue in2100 = packTimeValue(utcSeconds(2100, 7, 1));
    const TimeValue in1980 = packTimeValue(utcSeconds(1980, 1, 1));
    EXPECT_GT(early2044, late2043);
    EXPECT_GT(in2100, early2044);
    EXPECT_GT(early2044, in1980);
    EXPECT_GT(early2044, 0);
    EXPECT_LE(in2100, 0xFFFFFFFF);
}

TEST(DosTime, InvalidPackedValuesDoNotUnpack)
{
    const LocalZone zone(Utc);
    EXPECT_EQ(unpackTimeValue(NoTimeValue), NoTimeValue);
    EXPECT_EQ(unpackTimeValue(0), NoTimeValue); // month 0, day 0
    EXPECT_EQ(unpackTimeValue(0x100000000LL), NoTimeValue);
    const TimeValue feb30 = (1 << 25) | (2 << 21) | (30 << 16);
    EXPECT_EQ(unpackTimeValue(feb30), NoTimeValue);
    const TimeValue hour24 = (1 << 25) | (1 << 21) | (1 << 16) | (24 << 11);
    EXPECT_EQ(unpackTimeValue(hour24), NoTimeValue);
    const TimeValue leapDay = (20 << 25) | (2 << 21) | (29 << 16);
    EXPECT_EQ(unpackTimeValue(leapDay), utcSeconds(2000, 2, 29));
}
