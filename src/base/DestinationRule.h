// What the copy step accepts as a destination directory and as a path it hands to the platform.
#pragma once
#include <string>

namespace quenby {

// The longest path the copy step hands to the platform (a 260-byte buffer with its zero byte).
constexpr std::size_t kMaxPathLength = 259;

// A full path: "X:\" or "\\server\share" (then the end or a backslash) at its start, and no character
// that Windows forbids in a path anywhere (control characters, < > " | ? * and a colon after the drive). A
// device path or a drive's administrative share is none: the folder has a plain spelling.
bool IsFullDirectoryPath(const std::string& path);

}  // namespace quenby
