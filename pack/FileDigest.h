// The publisher tools' SHA-256 of a file: OpenSSL's libcrypto in the native build (FileDigestOpenSsl.cpp),
// Setup.exe's own CryptoAPI hash (win/Sha256.h) in the Windows build (FileDigestWin.cpp).
#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace quenby {

// Lower-case hex; empty when the file cannot be read.
std::optional<std::string> DigestOfFile(const std::filesystem::path& path);

}  // namespace quenby
