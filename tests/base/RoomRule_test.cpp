// What a file takes on a drive, for the room check before the copy step.
#include "base/RoomRule.h"

#include <gtest/gtest.h>

namespace quenby {

TEST(RoomRule, ExpandedSizeFromTheHeaderAndWholeClusters) {
    const std::string header(
        "SZDD\x88\xf0\x27\x33"
        "A_\xa0\x86\x01\x00",
        14);  // 100,000 bytes expanded
    EXPECT_EQ(SzddExpandedSize(header), 100000u);
    EXPECT_EQ(SzddExpandedSize(header.substr(0, 13)), std::nullopt);
    EXPECT_EQ(SzddExpandedSize("MZ" + header.substr(2)), std::nullopt);
    const struct {
        std::uint64_t size, cluster, taken;
    } cases[] = {{0, 4096, 0}, {1, 4096, 4096}, {4096, 4096, 4096}, {4097, 4096, 8192}, {5, 0, 5}};
    for (const auto& c : cases) EXPECT_EQ(ClusterBytes(c.size, c.cluster), c.taken) << c.size;
    EXPECT_EQ(KilobytesUp(1025), 2u);
}

}  // namespace quenby
