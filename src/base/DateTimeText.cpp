#include "base/DateTimeText.h"

namespace quenby {

namespace {

std::string Number(int value, std::size_t minDigits) {
    std::string text = std::to_string(value);
    if (text.size() < minDigits) text.insert(0, minDigits - text.size(), '0');
    return text;
}

std::string NameOr(const std::string& name, int number, std::size_t minDigits) {
    return name.empty() ? Number(number, minDigits) : name;
}

// One run of the same pattern letter, as the platform's date formatting reads it.
std::string DateField(const TDateTimeFormat& format, const TDateTime& when, char letter, std::size_t count) {
    const auto day = static_cast<std::size_t>(when.DayOfWeek % 7);
    const auto month = static_cast<std::size_t>((when.Month + 11) % 12);
    switch (letter) {
        case 'd':
            if (count <= 2) return Number(when.Day, count);
            return NameOr(count == 3 ? format.ShortDayNames[day] : format.DayNames[day], when.Day, 2);
        case 'M':
            if (count <= 2) return Number(when.Month, count);
            return NameOr(count == 3 ? format.ShortMonthNames[month] : format.MonthNames[month], when.Month, 2);
        case 'y':
            if (count == 1) return Number(when.Year % 100, 1);
            if (count == 2) return Number(when.Year % 100, 2);
            return Number(when.Year, 4);
        default:  // the era: nothing for the Gregorian calendar
            return {};
    }
}

std::string DateText(const TDateTimeFormat& format, const TDateTime& when) {
    const std::string& pattern = format.ShortDate.empty() ? std::string("M/d/yy") : format.ShortDate;
    std::string text;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'' && i + 1 < pattern.size() && pattern[i + 1] == '\'') {  // two quotes stand for one
            text += '\'';
            i += 2;
        } else if (c == '\'') {  // quoted text
            std::size_t j = i + 1;
            for (; j < pattern.size(); ++j) {
                if (pattern[j] != '\'') {
                    text += pattern[j];
                } else if (j + 1 < pattern.size() && pattern[j + 1] == '\'') {
                    text += '\'';
                    ++j;
                } else {
                    break;
                }
            }
            i = j + 1;
        } else if (c == 'd' || c == 'M' || c == 'y' || c == 'g') {
            std::size_t j = i;
            while (j < pattern.size() && pattern[j] == c) ++j;
            text += DateField(format, when, c, j - i);
            i = j;
        } else {
            text += c;
            ++i;
        }
    }
    return text;
}

std::string TimeText(const TDateTimeFormat& format, const TDateTime& when) {
    const std::string separator = format.TimeSeparator.empty() ? ":" : format.TimeSeparator;
    int hour = when.Hour;
    if (format.TwelveHour) {
        hour %= 12;
        if (hour == 0) hour = 12;
    }
    std::string text = Number(hour, format.HourLeadingZero ? 2 : 1) + separator + Number(when.Minute, 2) + separator +
                       Number(when.Second, 2);
    if (format.TwelveHour) {
        const bool morning = when.Hour < 12;
        const std::string& marker = morning ? format.Am : format.Pm;
        text += ' ';
        text += marker.empty() ? (morning ? "am" : "pm") : marker;
    }
    return text;
}

}  // namespace

std::string DateTimeText(const TDateTimeFormat& format, const TDateTime& when) {
    std::string text = DateText(format, when);
    if (when.Hour != 0 || when.Minute != 0 || when.Second != 0) text += ' ' + TimeText(format, when);
    return text;
}

}  // namespace quenby
