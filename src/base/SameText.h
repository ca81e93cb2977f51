// Names the profile functions match (sections, keys): ASCII letters in either case, every other byte exact.
#pragma once
#include <string>
#include <string_view>

namespace quenby {

bool SameTextIgnoringCase(std::string_view a, std::string_view b);
// The text with A to Z in lower case, as SameTextIgnoringCase compares it.
std::string AsciiLower(std::string_view text);

}  // namespace quenby
