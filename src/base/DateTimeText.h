// The installation's date-time text, built from the fields of a locale so that it can be checked on
// any locale without the platform.
#pragma once
#include <array>
#include <string>

namespace quenby {

struct TDateTimeFormat {
    std::string ShortDate;      // a short date pattern such as "M/d/yyyy"; empty gives m/d/yy
    std::string TimeSeparator;  // empty gives ":"
    bool TwelveHour = false;
    bool HourLeadingZero = false;
    std::string Am, Pm;  // empty gives "am" and "pm"
    // Names for the pattern's ddd, dddd, MMM and MMMM fields; a missing name gives the number.
    std::array<std::string, 7> ShortDayNames, DayNames;  // Sunday first
    std::array<std::string, 12> ShortMonthNames, MonthNames;
};

struct TDateTime {
    int Year = 0, Month = 1, Day = 1;  // Month 1 to 12, Day 1 to 31
    int DayOfWeek = 0;                 // 0 = Sunday
    int Hour = 0, Minute = 0, Second = 0;
};

// The date by the short date pattern, then, unless the time is exactly midnight, a blank and the time.
std::string DateTimeText(const TDateTimeFormat& format, const TDateTime& when);

}  // namespace quenby
