#include "base/RoomRule.h"

namespace quenby {

std::optional<std::uint32_t> SzddExpandedSize(std::string_view header) {
    constexpr std::string_view kMagic("SZDD\x88\xf0\x27\x33", 8);
    if (header.size() < 14 || header.substr(0, 8) != kMagic || header[8] != 'A') return std::nullopt;
    std::uint32_t size = 0;
    for (int i = 13; i >= 10; --i) size = size << 8 | static_cast<unsigned char>(header[static_cast<std::size_t>(i)]);
    return size;
}

std::uint64_t ClusterBytes(std::uint64_t size, std::uint64_t cluster) {
    if (cluster == 0) return size;
    return (size + cluster - 1) / cluster * cluster;
}

std::uint64_t KilobytesUp(std::uint64_t bytes) { return (bytes + 1023) / 1024; }

}  // namespace quenby
