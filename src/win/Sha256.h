// SHA-256 from the system's CryptoAPI (advapi32, the AES provider, no key container): nothing hand-made.
#pragma once
#include <string>
#include <string_view>

namespace quenby {

// The 32 raw bytes; raises Exception when the system cannot hash.
std::string Sha256(std::string_view data);

}  // namespace quenby
