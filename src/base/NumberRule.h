// How the installer reads a whole number from a text (instructions, registry counters, add-on kinds).
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace quenby {

// Decimal with an optional sign, or hexadecimal after "$" / "0x" / "0X" taken as a 32-bit pattern;
// leading blanks are skipped, nothing may follow the digits. Empty when the text is no such number.
std::optional<std::int32_t> ParseNumber(std::string_view text);

// The number, or the default when the text is not one.
std::int32_t ReadNumber(std::string_view text, std::int32_t defaultValue);

// The number, or EConvertError ("'%s' is not a valid integer value").
std::int32_t StrToInt(std::string_view text);

// A product version's first two numbers, as the uninstall entry's VersionMajor and VersionMinor give them:
// "1.4" gives 1 and 4, "2" gives 2 and 0, "1.4.2" gives 1 and 4. Empty unless the text is decimal digits
// only, in parts of at most 32 bits joined by single dots: a guessed number would be shown as the version.
struct TVersionNumbers {
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    bool operator==(const TVersionNumbers&) const = default;
};
std::optional<TVersionNumbers> VersionNumbers(std::string_view version);

}  // namespace quenby
