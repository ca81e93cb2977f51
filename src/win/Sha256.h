// The SHA-256 of a file through the system's CryptoAPI (advapi32), which every Windows since 2000 has.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace quenby {

// Of an open file's bytes from its current position to its end, in lower-case hex; nothing, with the
// system's error as the last error, when the provider or a read fails.
std::optional<std::string> Sha256OfFile(HANDLE file);

}  // namespace quenby
