// One spelling of a folder, so that one folder never gets two seals, two entries or two records: the full
// path without "." and ".." components, with the long name of every part that exists (the rest as typed).
#pragma once
#include <string>

namespace quenby {

// The path as given when the system cannot make it full.
std::string OneSpelling(const std::string& path);

}  // namespace quenby
