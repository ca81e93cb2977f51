// How the copy step shows a path in its one-line source and destination labels.
#pragma once
#include <string>

namespace quenby {

// The path itself up to 60 characters; a longer one as its drive part, "\...", and the tail of its
// last 52 characters from their first backslash on.
std::string PathLabel(const std::string& path);

}  // namespace quenby
