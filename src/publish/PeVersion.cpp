#include "publish/PeVersion.h"

#include <cstddef>
#include <cstdint>

namespace quenby {

namespace {

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kResourceDirectory = 2;

// Little-endian fields; one past the end reads as 0 and marks the image damaged, so a count read there
// ends its loop at once.
class TImageReader {
public:
    explicit TImageReader(const TBytes& image) : m_image(image) {}
    bool Damaged() const { return m_damaged; }
    std::uint32_t U16(std::uint64_t at) { return Field(at, 2); }
    std::uint32_t U32(std::uint64_t at) { return Field(at, 4); }

private:
    std::uint32_t Field(std::uint64_t at, unsigned size) {
        if (at + size > m_image.size()) {
            m_damaged = true;
            return 0;
        }
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) value = value << 8 | m_image[static_cast<std::size_t>(at) + i];
        return value;
    }
    const TBytes& m_image;
    bool m_damaged = false;
};

}  // namespace

bool HasVersionResource(const TBytes& image) {
    TImageReader read(image);
    if (read.U16(0) != 0x5A4D) return false;  // "MZ"
    const std::uint64_t pe = read.U32(0x3C);
    if (read.U32(pe) != 0x4550) return false;  // "PE\0\0"
    const std::uint64_t header = pe + 4, optional = header + 20;
    const std::uint32_t magic = read.U16(optional);
    // The data directories follow the optional header's fixed part, longer in a 64-bit image.
    const std::uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
    if ((magic != 0x10B && magic != 0x20B) || read.U32(directories - 4) <= kResourceDirectory) return false;
    const std::uint32_t rva = read.U32(directories + 8 * kResourceDirectory);
    if (rva == 0 || read.Damaged()) return false;

    // The section that holds the resources maps their address to a place in the file.
    const std::uint64_t sections = optional + read.U16(header + 16);
    std::uint64_t root = 0;
    for (std::uint32_t i = 0, count = read.U16(header + 2); i < count && !root; ++i) {
        const std::uint64_t section = sections + 40ull * i;
        const std::uint32_t start = read.U32(section + 12), size = read.U32(section + 8), raw = read.U32(section + 16);
        if (rva >= start && rva - start < (size > raw ? size : raw)) root = read.U32(section + 20) + (rva - start);
    }
    if (!root) return false;
    // The root lists the resource types: named ones first, then those by number.
    const std::uint32_t entries = read.U16(root + 12) + read.U16(root + 14);
    for (std::uint32_t i = 0; i < entries && !read.Damaged(); ++i)
        if (read.U32(root + 16 + 8ull * i) == kVersionType) return true;
    return false;
}

}  // namespace quenby
