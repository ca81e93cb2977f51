// Names the profile functions match (sections, keys): ASCII letters in either case, every other byte exact.
#pragma once
#include <string_view>

namespace quenby {

bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace quenby
