#include "support/datetime.h"

#include <cmath>

#include "support/host_facts.h"
#include "support/lists.h"
#include "support/numbers.h"

namespace {

const int64_t MsPerDay = 86400000;
const int64_t SecondsPerDay = 86400;
// Days from 30 December 1899 to 1 January 1970.
const int64_t UnixEpochDay = 25569;
// 1 January 0001 and the day after 31 December 9999.
const double FirstDay = -693593.0;
const double EndDay = 2958466.0;

// The month list has a dummy empty item so that January is item 1.
const char MonthList[] = "||JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC|";

int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int64_t FloorMod(int64_t a, int64_t b)
{
    return a - FloorDiv(a, b) * b;
}

// Proleptic Gregorian calendar; days relative to 1 January 1970.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    month = static_cast<int>(m);
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
}

// Day number and time of day put together the system's way: before the
// epoch the time of day is taken away from the (negative) day number.
TDateTime Compose(int64_t dayNumber, double dayFraction)
{
    const double d = static_cast<double>(dayNumber);
    return dayNumber >= 0 ? d + dayFraction : d - dayFraction;
}

// Days since the epoch on a straight line: -1.25 (29 December 06:00) is
// -0.75.
double LinearDays(TDateTime value)
{
    const double whole = std::trunc(value);
    return whole + std::fabs(value - whole);
}

std::string TimeText(const CivilTime& t)
{
    const std::string sep = LocaleTimeSeparator();
    return ZeroPad(t.hour, 2) + sep + ZeroPad(t.minute, 2) + sep + ZeroPad(t.second, 2);
}

}  // namespace

TDateTime EncodeDateTime(const CivilTime& t)
{
    const int64_t monthIndex = static_cast<int64_t>(t.month) - 1;
    const int64_t year = t.year + FloorDiv(monthIndex, 12);
    const int64_t month = FloorMod(monthIndex, 12) + 1;
    int64_t dayNumber = DaysFromCivil(year, month, 1) + UnixEpochDay + (static_cast<int64_t>(t.day) - 1);
    int64_t ms = ((static_cast<int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
    dayNumber += FloorDiv(ms, MsPerDay);
    ms = FloorMod(ms, MsPerDay);
    return Compose(dayNumber, static_cast<double>(ms) / MsPerDay);
}

CivilTime DecodeDateTime(TDateTime value)
{
    if (!std::isfinite(value) || std::trunc(value) < FirstDay || value >= EndDay)
        value = 0;
    const double whole = std::trunc(value);
    int64_t dayNumber = static_cast<int64_t>(whole);
    int64_t ms = static_cast<int64_t>(std::floor(std::fabs(value - whole) * MsPerDay + 0.5));
    if (ms >= MsPerDay) {
        // Rounded up to midnight: the next calendar day.
        ms -= MsPerDay;
        ++dayNumber;
    }
    CivilTime t{};
    CivilFromDays(dayNumber - UnixEpochDay, t.year, t.month, t.day);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

uint32_t CivilToDosDateTime(const CivilTime& t)
{
    int year = t.year < 1980 ? 1980 : (t.year > 2107 ? 2107 : t.year);
    uint32_t date = (static_cast<uint32_t>(year - 1980) << 9) | ((static_cast<uint32_t>(t.month) & 15) << 5) |
                    (static_cast<uint32_t>(t.day) & 31);
    uint32_t time = ((static_cast<uint32_t>(t.hour) & 31) << 11) | ((static_cast<uint32_t>(t.minute) & 63) << 5) |
                    ((static_cast<uint32_t>(t.second) / 2) & 31);
    return (date << 16) | time;
}

CivilTime DosDateTimeToCivil(uint32_t dos)
{
    const uint32_t date = dos >> 16;
    const uint32_t time = dos & 0xFFFF;
    CivilTime t{};
    t.year = static_cast<int>(date >> 9) + 1980;
    t.month = static_cast<int>((date >> 5) & 15);
    t.day = static_cast<int>(date & 31);
    t.hour = static_cast<int>(time >> 11);
    t.minute = static_cast<int>((time >> 5) & 63);
    t.second = static_cast<int>(time & 31) * 2;
    t.millisecond = 0;
    return t;
}

int64_t DateTimeToSeconds(TDateTime value)
{
    if (!std::isfinite(value))
        return 0;
    const double x = LinearDays(value) * SecondsPerDay;
    // Beyond +-2^62 seconds nothing is a date any more; hold the result in
    // range rather than overflow the conversion.
    const double limit = 4611686018427387904.0;
    if (x >= limit)
        return INT64_C(4611686018427387904);
    if (x <= -limit)
        return -INT64_C(4611686018427387904);
    const double below = std::floor(x);
    int64_t result = static_cast<int64_t>(below);
    const double rest = x - below;
    if (rest > 0.5 || (rest == 0.5 && (result & 1) != 0))
        ++result;
    return result;
}

TDateTime SecondsToDateTime(int64_t seconds)
{
    return Compose(FloorDiv(seconds, SecondsPerDay),
                   static_cast<double>(FloorMod(seconds, SecondsPerDay)) / SecondsPerDay);
}

std::string DateText(TDateTime value)
{
    const CivilTime t = DecodeDateTime(value);
    return ZeroPad(t.day, 2) + "-" + ListItem(MonthList, t.month, std::string()) + "-" + ZeroPad(t.year, 4);
}

std::string DateTimeText(TDateTime value)
{
    return DateText(value) + "  " + TimeText(DecodeDateTime(value));
}

std::string ShortDateTimeText(TDateTime value)
{
    const CivilTime t = DecodeDateTime(value);
    const std::string sep = LocaleDateSeparator();
    return ZeroPad(t.day, 2) + sep + ZeroPad(t.month, 2) + sep + ZeroPad(t.year % 100, 2) + " " + TimeText(t);
}
