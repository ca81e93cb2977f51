// The smallest 32-bit PE image the version reader takes: one section of resources whose root lists one type.
#pragma once
#include <cstdint>
#include <string>

namespace quenby::test {

inline std::string TinyPeImage(std::uint32_t resourceType) {
    std::string image(0x400, '\0');
    auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) image[at + i] = static_cast<char>(value >> (8 * i));
    };
    put(0, 0x5A4D, 2), put(0x3C, 0x40, 4), put(0x40, 0x4550, 4);  // "MZ", where "PE\0\0" is
    put(0x46, 1, 2), put(0x54, 0xE0, 2), put(0x58, 0x10B, 2);     // one section; a 32-bit optional header
    put(0x58 + 92, 16, 4), put(0x58 + 112, 0x1000, 4);            // 16 directories; resources at 0x1000
    put(0x138 + 8, 0x200, 4), put(0x138 + 12, 0x1000, 4);         // the section: its size and address,
    put(0x138 + 16, 0x200, 4), put(0x138 + 20, 0x200, 4);         // in the file at 0x200
    put(0x200 + 14, 1, 2), put(0x210, resourceType, 4);           // the root: one type, by number
    return image;
}

}  // namespace quenby::test
