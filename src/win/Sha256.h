// SHA-256 through the system's CryptoAPI (advapi32, the AES provider without a key container), which every
// Windows since 2000 has: nothing hand-made.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quenby {

// Of an open file's bytes from its current position to its end, in lower-case hex; nothing, with the
// system's error as the last error, when the provider or a read fails.
std::optional<std::string> Sha256OfFile(HANDLE file);

// The 32 raw bytes of the data's digest; raises Exception when the system cannot hash.
std::string Sha256(std::string_view data);

}  // namespace quenby
