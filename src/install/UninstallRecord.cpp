#include "install/UninstallRecord.h"

#include <windows.h>

#include "base/NumberRule.h"

namespace quenby {

namespace {

// Empty when the locale gives nothing.
std::string LocaleText(LCTYPE field) {
    char buffer[128] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, field, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer) : std::string();
}

}  // namespace

TDateTimeFormat UserDateTimeFormat() {
    TDateTimeFormat format;
    format.ShortDate = LocaleText(LOCALE_SSHORTDATE);
    format.TimeSeparator = LocaleText(LOCALE_STIME);
    format.TwelveHour = ReadNumber(LocaleText(LOCALE_ITIME), 0) == 0;
    format.HourLeadingZero = ReadNumber(LocaleText(LOCALE_ITLZERO), 0) != 0;
    format.Am = LocaleText(LOCALE_S1159);
    format.Pm = LocaleText(LOCALE_S2359);
    for (LCTYPE i = 0; i < 7; ++i) {
        // The locale counts the days from Monday; the format from Sunday.
        const std::size_t day = (i + 1) % 7;
        format.ShortDayNames[day] = LocaleText(LOCALE_SABBREVDAYNAME1 + i);
        format.DayNames[day] = LocaleText(LOCALE_SDAYNAME1 + i);
    }
    for (LCTYPE i = 0; i < 12; ++i) {
        format.ShortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i);
        format.MonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i);
    }
    return format;
}

namespace {

// Read as the program starts, so that every date the installation writes has the same form however the
// user's settings change meanwhile.
const TDateTimeFormat kStartupFormat = UserDateTimeFormat();

}  // namespace

std::string InstallationDateText() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    TDateTime when;
    when.Year = now.wYear;
    when.Month = now.wMonth;
    when.Day = now.wDay;
    when.DayOfWeek = now.wDayOfWeek;
    when.Hour = now.wHour;
    when.Minute = now.wMinute;
    when.Second = now.wSecond;
    return DateTimeText(kStartupFormat, when);
}

}  // namespace quenby
