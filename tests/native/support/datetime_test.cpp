#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "support/datetime.h"
#include "support/host_facts.h"

namespace {

bool SameCivil(const CivilTime& a, const CivilTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.millisecond == b.millisecond;
}

std::string Show(const CivilTime& t)
{
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) + " " +
           std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second) + "." +
           std::to_string(t.millisecond);
}

TEST(DateTime, KnownDayNumbers)
{
    struct Case {
        CivilTime civil;
        TDateTime value;
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1899, 12, 31, 0, 0, 0, 0}, 1.0},
        {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
        {{1900, 3, 1, 0, 0, 0, 0}, 61.0},  // 1900 is no leap year
        {{2000, 1, 1, 0, 0, 0, 0}, 36526.0},
        {{2026, 12, 9, 0, 0, 0, 0}, 46365.0},
        {{2026, 12, 9, 18, 0, 0, 0}, 46365.75},
        {{1899, 12, 30, 12, 0, 0, 0}, 0.5},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25},  // before the epoch: time taken away
        {{1899, 12, 29, 0, 0, 0, 0}, -1.0},
        {{1, 1, 1, 0, 0, 0, 0}, -693593.0},
        {{9999, 12, 31, 0, 0, 0, 0}, 2958465.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(EncodeDateTime(c.civil), c.value) << Show(c.civil);
        EXPECT_TRUE(SameCivil(DecodeDateTime(c.value), c.civil)) << Show(DecodeDateTime(c.value));
    }
    // Between -1 and 0 the day is still 30 December, as the day number is 0.
    EXPECT_TRUE(SameCivil(DecodeDateTime(-0.5), CivilTime{1899, 12, 30, 12, 0, 0, 0}));
}

TEST(DateTime, RoundTripsAcrossTheCalendar)
{
    // Every 13th day from year 1 to 9999, with a time that moves through
    // the day; leap days included.
    for (int64_t day = -693593; day <= 2958465; day += 13) {
        CivilTime t = DecodeDateTime(static_cast<double>(day));
        t.hour = static_cast<int>(day % 24 < 0 ? -(day % 24) : day % 24);
        t.minute = static_cast<int>((day / 7) % 60 < 0 ? -((day / 7) % 60) : (day / 7) % 60);
        t.second = 59;
        t.millisecond = 999;
        CivilTime back = DecodeDateTime(EncodeDateTime(t));
        ASSERT_TRUE(SameCivil(back, t)) << Show(t) << " came back as " << Show(back);
    }
    for (CivilTime t : {CivilTime{2000, 2, 29, 0, 0, 0, 0}, CivilTime{2024, 2, 29, 23, 59, 59, 0},
                        CivilTime{1600, 2, 29, 12, 0, 0, 0}})
        EXPECT_TRUE(SameCivil(DecodeDateTime(EncodeDateTime(t)), t)) << Show(t);
}

TEST(DateTime, FieldsOutOfRangeCarryOver)
{
    struct Case {
        CivilTime given, meant;
    } cases[] = {
        {{2026, 13, 1, 0, 0, 0, 0}, {2027, 1, 1, 0, 0, 0, 0}},
        {{2026, 0, 1, 0, 0, 0, 0}, {2025, 12, 1, 0, 0, 0, 0}},
        {{2026, 12, 32, 0, 0, 0, 0}, {2027, 1, 1, 0, 0, 0, 0}},
        {{1900, 2, 29, 0, 0, 0, 0}, {1900, 3, 1, 0, 0, 0, 0}},
        {{2026, 12, 9, 23, 59, 60, 0}, {2026, 12, 10, 0, 0, 0, 0}},
        {{2026, 12, 9, 0, 0, 0, -1}, {2026, 12, 8, 23, 59, 59, 999}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameCivil(DecodeDateTime(EncodeDateTime(c.given)), c.meant)) << Show(c.given);
}

TEST(DateTime, DecodingRoundsToTheMillisecond)
{
    const double halfMs = 0.5 / 86400000.0;
    // Just short of midnight rounds up into the next calendar day, before
    // the epoch as after it.
    EXPECT_TRUE(SameCivil(DecodeDateTime(46366.0 - halfMs / 4), CivilTime{2026, 12, 10, 0, 0, 0, 0}));
    EXPECT_TRUE(SameCivil(DecodeDateTime(-1.0 - (1.0 - halfMs / 4)), CivilTime{1899, 12, 30, 0, 0, 0, 0}));
    EXPECT_TRUE(SameCivil(DecodeDateTime(-(1.0 - halfMs / 4)), CivilTime{1899, 12, 31, 0, 0, 0, 0}));
    const CivilTime epoch{1899, 12, 30, 0, 0, 0, 0};
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity(), 1e300, -1e300, 3e6, -7e5})
        EXPECT_TRUE(SameCivil(DecodeDateTime(bad), epoch)) << bad;
}

TEST(DosDateTime, PacksDateHighAndTimeLow)
{
    const CivilTime t{2026, 12, 9, 13, 5, 7, 500};
    const uint32_t dos = CivilToDosDateTime(t);
    EXPECT_EQ(dos >> 16, (46u << 9) | (12u << 5) | 9u);
    EXPECT_EQ(dos & 0xFFFF, (13u << 11) | (5u << 5) | 3u);
    // Two-second resolution, no milliseconds.
    EXPECT_TRUE(SameCivil(DosDateTimeToCivil(dos), CivilTime{2026, 12, 9, 13, 5, 6, 0}));
    EXPECT_TRUE(SameCivil(DosDateTimeToCivil(CivilToDosDateTime({1980, 1, 1, 0, 0, 0, 0})),
                          CivilTime{1980, 1, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(SameCivil(DosDateTimeToCivil(CivilToDosDateTime({2107, 12, 31, 23, 59, 58, 0})),
                          CivilTime{2107, 12, 31, 23, 59, 58, 0}));
    // Years the format cannot hold are held to its range instead of spilling
    // into other fields.
    EXPECT_EQ(DosDateTimeToCivil(CivilToDosDateTime({1970, 6, 15, 0, 0, 0, 0})).year, 1980);
    EXPECT_EQ(DosDateTimeToCivil(CivilToDosDateTime({2200, 6, 15, 0, 0, 0, 0})).year, 2107);
    EXPECT_EQ(DosDateTimeToCivil(CivilToDosDateTime({2200, 6, 15, 0, 0, 0, 0})).month, 6);
}

TEST(Seconds, WholeSecondsSinceTheEpoch)
{
    struct Case {
        TDateTime value;
        int64_t seconds;
    } cases[] = {
        {0.0, 0},
        {1.0, 86400},
        {0.5, 43200},
        {46365.0 + 47100.0 / 86400, 46365 * INT64_C(86400) + 47100},
        {1.0 / 256, 338},             // 337.5: ties go to even
        {3.0 / 256, 1012},            // 1012.5
        {-1.25, -64800},              // 29 December 06:00
        {-1.0 - 1.0 / 256, -86062},   // -86062.5, 29 December
        {-1.0 / 256, 338},            // still 30 December
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateTimeToSeconds(c.value), c.seconds) << c.value;
    EXPECT_EQ(DateTimeToSeconds(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_GT(DateTimeToSeconds(1e300), 0);  // held in range, no overflow
    EXPECT_LT(DateTimeToSeconds(-1e300), 0);

    for (int64_t s : {INT64_C(0), INT64_C(1), INT64_C(-1), INT64_C(43199), INT64_C(-64800), INT64_C(-86401),
                      INT64_C(4006022700), INT64_C(255611289599), INT64_C(-59926521600)})
        EXPECT_EQ(DateTimeToSeconds(SecondsToDateTime(s)), s) << s;
    EXPECT_DOUBLE_EQ(SecondsToDateTime(-64800), -1.25);
    EXPECT_DOUBLE_EQ(SecondsToDateTime(43200), 0.5);
}

class DateTextTest : public ::testing::Test {
protected:
    void TearDown() override { SetLocaleSeparators("/", ":"); }
};

TEST_F(DateTextTest, FormatsWithTheLocaleSeparators)
{
    const TDateTime day = EncodeDateTime({2026, 12, 9, 0, 0, 0, 0});
    const TDateTime afternoon = EncodeDateTime({2026, 12, 9, 13, 5, 0, 0});
    EXPECT_EQ(DateText(day), "09-DEC-2026");
    EXPECT_EQ(DateText(afternoon), "09-DEC-2026");
    EXPECT_EQ(DateText(EncodeDateTime({5, 1, 31, 0, 0, 0, 0})), "31-JAN-0005");
    EXPECT_EQ(DateTimeText(afternoon), "09-DEC-2026  13:05:00");
    EXPECT_EQ(ShortDateTimeText(afternoon), "09/12/26 13:05:00");
    EXPECT_EQ(ShortDateTimeText(EncodeDateTime({2001, 2, 3, 4, 5, 6, 999})), "03/02/01 04:05:06");
    // 13:04:59.9996 is 13:05:00.000 to the millisecond.
    EXPECT_EQ(DateTimeText(afternoon - 0.0004 / 86400), "09-DEC-2026  13:05:00");

    SetLocaleSeparators("-", ".");
    EXPECT_EQ(DateTimeText(afternoon), "09-DEC-2026  13.05.00");
    EXPECT_EQ(ShortDateTimeText(afternoon), "09-12-26 13.05.00");
    EXPECT_EQ(DateText(afternoon), "09-DEC-2026");
}

}  // namespace
