#include "base/DateTimeText.h"

#include <gtest/gtest.h>

using quenby::DateTimeText;
using quenby::TDateTime;
using quenby::TDateTimeFormat;

TEST(DateTimeText, LocaleFieldsShapeTheText) {
    TDateTimeFormat us, german, empty;
    us.ShortDate = "M/d/yy";
    us.TimeSeparator = german.TimeSeparator = ":";
    us.TwelveHour = empty.TwelveHour = true;
    us.Am = "AM";
    us.Pm = "PM";
    german.ShortDate = "dd.MM.yyyy";
    german.HourLeadingZero = true;
    TDateTimeFormat quoted = us, unnamed = us;
    quoted.ShortDate = "d MMM yyyy 'de' ''y''";
    quoted.ShortMonthNames[1] = "Feb";
    unnamed.ShortDate = "dddd, MMMM d";  // no names known: numbers instead
    const std::tuple<const TDateTimeFormat&, TDateTime, const char*> cases[] = {
        {us, {.Year = 2026, .Month = 12, .Day = 6, .Hour = 16, .Minute = 13, .Second = 10}, "12/6/26 4:13:10 PM"},
        {us, {.Year = 2026, .Month = 1, .Day = 2, .Hour = 0, .Minute = 5}, "1/2/26 12:05:00 AM"},
        {us, {.Year = 2026, .Month = 1, .Day = 2, .Hour = 12}, "1/2/26 12:00:00 PM"},
        {us, {.Year = 2026, .Month = 12, .Day = 6}, "12/6/26"},  // midnight shows no time
        {german, {.Year = 2026, .Month = 3, .Day = 7, .Hour = 8, .Minute = 4, .Second = 9}, "07.03.2026 08:04:09"},
        {quoted, {.Year = 2026, .Month = 2, .Day = 3, .Hour = 13}, "3 Feb 2026 de '26' 1:00:00 PM"},
        {unnamed, {.Year = 2026, .Month = 2, .Day = 3}, "03, 02 3"},
        {empty, {.Year = 2026, .Month = 7, .Day = 9, .Hour = 9, .Minute = 3}, "7/9/26 9:03:00 am"},
    };
    for (const auto& [format, when, text] : cases) EXPECT_EQ(DateTimeText(format, when), text);
}
