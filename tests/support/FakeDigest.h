// A stand-in for SHA-256 in the portable tests, which link no hashing library (the tools' hashers meet in
// the quenby-check test): 64 hex digits that change with every byte.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "publish/Checksums.h"
#include "publish/DistributionFolder.h"

namespace quenby::test {

inline std::string FakeDigestOf(const std::string& bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    std::string hex = HexDigest(reinterpret_cast<const unsigned char*>(&hash), sizeof hash);
    return hex + hex + hex + hex;
}

inline std::optional<std::string> FakeDigest(const std::filesystem::path& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return FakeDigestOf(*bytes);
}

}  // namespace quenby::test
