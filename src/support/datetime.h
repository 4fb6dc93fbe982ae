// The system's date-time value: days since 30 December 1899 00:00 local time
// with the time of day as the fraction. Dates before that day have a
// negative day number and the time of day as a positive fraction taken away
// from it: -1.25 is 29 December 1899 06:00.
#pragma once

#include <cstdint>
#include <string>

using TDateTime = double;

struct CivilTime {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
    int millisecond;
};

// Fields out of their usual range carry over, as 32 December is 1 January
// of the next year and minute 60 is the next hour.
TDateTime EncodeDateTime(const CivilTime& t);
// Rounded to the millisecond. A value that is not a finite date in years
// 1 to 9999 decodes as 30 December 1899 00:00.
CivilTime DecodeDateTime(TDateTime value);

// Packed DOS date-time: date in the high 16 bits, time in the low 16, two
// seconds resolution. Years are held to 1980..2107, the range the format
// can hold; other fields are masked to their bits.
uint32_t CivilToDosDateTime(const CivilTime& t);
CivilTime DosDateTimeToCivil(uint32_t dos);

// Whole seconds since 30 December 1899 00:00, rounded to the nearest second
// with ties to even.
int64_t DateTimeToSeconds(TDateTime value);
TDateTime SecondsToDateTime(int64_t seconds);

// "09-DEC-2026".
std::string DateText(TDateTime value);
// "09-DEC-2026  13:05:00", with the locale time separator.
std::string DateTimeText(TDateTime value);
// "09/12/26 13:05:00", with the locale date and time separators.
std::string ShortDateTimeText(TDateTime value);
