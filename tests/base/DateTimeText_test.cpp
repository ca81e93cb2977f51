#include "base/DateTimeText.h"

#include <gtest/gtest.h>

using quenby::DateTimeText;
using quenby::TDateTime;
using quenby::TDateTimeFormat;

namespace {

TDateTime At(int year, int month, int day, int hour, int minute, int second) {
    TDateTime when;
    when.Year = year;
    when.Month = month;
    when.Day = day;
    when.Hour = hour;
    when.Minute = minute;
    when.Second = second;
    return when;
}

TDateTimeFormat UnitedStates() {
    TDateTimeFormat format;
    format.ShortDate = "M/d/yy";
    format.TimeSeparator = ":";
    format.TwelveHour = true;
    format.Am = "AM";
    format.Pm = "PM";
    return format;
}

}  // namespace

TEST(DateTimeText, UsShortDateWithTwelveHourClock) {
    const TDateTimeFormat us = UnitedStates();
    EXPECT_EQ(DateTimeText(us, At(2026, 12, 6, 16, 13, 10)), "12/6/26 4:13:10 PM");
    EXPECT_EQ(DateTimeText(us, At(2026, 1, 2, 0, 5, 0)), "1/2/26 12:05:00 AM");
    EXPECT_EQ(DateTimeText(us, At(2026, 1, 2, 12, 0, 0)), "1/2/26 12:00:00 PM");
    EXPECT_EQ(DateTimeText(us, At(2026, 1, 2, 11, 59, 59)), "1/2/26 11:59:59 AM");
    EXPECT_EQ(DateTimeText(us, At(2005, 3, 4, 9, 0, 1)), "3/4/05 9:00:01 AM");
}

TEST(DateTimeText, TwentyFourHourLocaleWithLeadingZeros) {
    TDateTimeFormat german;
    german.ShortDate = "dd.MM.yyyy";
    german.TimeSeparator = ":";
    german.HourLeadingZero = true;
    EXPECT_EQ(DateTimeText(german, At(2026, 3, 7, 8, 4, 9)), "07.03.2026 08:04:09");
    EXPECT_EQ(DateTimeText(german, At(2026, 12, 31, 23, 59, 0)), "31.12.2026 23:59:00");
    german.HourLeadingZero = false;
    german.TimeSeparator = ".";
    EXPECT_EQ(DateTimeText(german, At(2026, 3, 7, 8, 4, 9)), "07.03.2026 8.04.09");
}

TEST(DateTimeText, FourDigitYearsNamesAndQuotedText) {
    TDateTimeFormat format = UnitedStates();
    format.ShortDate = "yyyy-MM-dd";
    EXPECT_EQ(DateTimeText(format, At(987, 2, 3, 13, 0, 0)), "0987-02-03 1:00:00 PM");
    format.ShortDate = "d MMM yyyy 'de' ''y''";
    format.ShortMonthNames[1] = "Feb";
    EXPECT_EQ(DateTimeText(format, At(2026, 2, 3, 0, 0, 0)), "3 Feb 2026 de '26'");
    format.ShortDate = "dddd, MMMM d";  // no names known: numbers instead
    EXPECT_EQ(DateTimeText(format, At(2026, 2, 3, 0, 0, 0)), "03, 02 3");
    format.DayNames[2] = "Tuesday";
    format.MonthNames[1] = "February";
    TDateTime tuesday = At(2026, 2, 3, 0, 0, 0);
    tuesday.DayOfWeek = 2;
    EXPECT_EQ(DateTimeText(format, tuesday), "Tuesday, February 3");
}

TEST(DateTimeText, MidnightShowsNoTime) {
    EXPECT_EQ(DateTimeText(UnitedStates(), At(2026, 12, 6, 0, 0, 0)), "12/6/26");
    EXPECT_EQ(DateTimeText(UnitedStates(), At(2026, 12, 6, 0, 0, 1)), "12/6/26 12:00:01 AM");
}

TEST(DateTimeText, FallbacksWhenTheLocaleGivesNothing) {
    TDateTimeFormat empty;
    empty.TwelveHour = true;
    EXPECT_EQ(DateTimeText(empty, At(2026, 12, 6, 16, 13, 10)), "12/6/26 4:13:10 pm");
    EXPECT_EQ(DateTimeText(empty, At(2026, 7, 9, 9, 3, 0)), "7/9/26 9:03:00 am");
}
