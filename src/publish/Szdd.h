// The classic LZ (SZDD) file format that the platform's LZ32.DLL expands: a 14-byte header, then
// LZSS over a 4,096-byte ring buffer that starts filled with blanks.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace quenby {

using TBytes = std::vector<std::uint8_t>;

// missingChar is the last character of the original name, which the compressed name replaces by "_".
TBytes SzddCompress(const TBytes& data, char missingChar);

bool IsSzdd(const TBytes& file);
// Empty when the file is not SZDD or is damaged (truncated, size in the header not reached).
std::optional<TBytes> SzddExpand(const TBytes& file);

}  // namespace quenby
