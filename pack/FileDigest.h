// The publisher tools' SHA-256 of a file: OpenSSL's libcrypto in the native build
// (FileDigestOpenSsl.cpp), the system's CNG library in the Windows build (FileDigestBcrypt.cpp).
#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace quenby {

// Lower-case hex; empty when the file cannot be read.
std::optional<std::string> Sha256OfFile(const std::filesystem::path& path);

}  // namespace quenby
