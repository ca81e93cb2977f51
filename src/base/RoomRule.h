// What a file takes on a drive: its size once expanded (an LZ-compressed source's header says it), rounded
// up to whole clusters.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace quenby {

// The expanded size an SZDD header (the file's first 14 bytes) gives; none when the bytes are no header.
std::optional<std::uint32_t> SzddExpandedSize(std::string_view header);
// The bytes a file of `size` takes in clusters of `cluster` bytes (none for an empty file).
std::uint64_t ClusterBytes(std::uint64_t size, std::uint64_t cluster);
// Whole kilobytes, rounded up.
std::uint64_t KilobytesUp(std::uint64_t bytes);

}  // namespace quenby
