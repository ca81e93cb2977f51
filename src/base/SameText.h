// Names the profile functions match (sections, keys): ASCII letters in either case, every other byte exact.
#pragma once
#include <string>

namespace quenby {

bool SameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace quenby
