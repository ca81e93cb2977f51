#include "publish/Szdd.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

using quenby::TBytes;

namespace {

TBytes Text(const std::string& s) { return TBytes(s.begin(), s.end()); }

TBytes Random(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    TBytes data(n);
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    return data;
}

void ExpectRoundTrip(const TBytes& data) {
    TBytes packed = quenby::SzddCompress(data, 't');
    ASSERT_TRUE(quenby::IsSzdd(packed));
    auto back = quenby::SzddExpand(packed);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, data);
}

}  // namespace

TEST(Szdd, RoundTripsEveryKindOfContent) {
    ExpectRoundTrip({});
    ExpectRoundTrip({0x41});
    ExpectRoundTrip(Text("Quenby installs what its instructions file names, nothing else.\r\n"));
    ExpectRoundTrip(TBytes(1 << 20, 0xAB));  // long runs: overlapping matches
    ExpectRoundTrip(Random(1 << 20, 1));
    TBytes mixed = Random(9000, 2);
    mixed.insert(mixed.end(), mixed.begin(), mixed.begin() + 5000);  // repeats far back in the ring
    ExpectRoundTrip(mixed);
}

TEST(Szdd, RejectsDamagedFiles) {
    TBytes packed = quenby::SzddCompress(Random(5000, 3), 'e');
    TBytes cut(packed.begin(), packed.begin() + static_cast<long>(packed.size() / 2));
    EXPECT_FALSE(quenby::SzddExpand(cut).has_value());
    EXPECT_FALSE(quenby::SzddExpand(Text("plain text, no header")).has_value());
    EXPECT_FALSE(quenby::IsSzdd(Text("SZDD")));
}

// The header and the compression ratio are checked against LZ32.DLL (tests/win/lz32_pack_test.cpp).

// Debian's msexpand is an independent expander of the same format.
TEST(Szdd, ExpandsByteExactlyWithMsexpand) {
#ifdef _WIN32
    GTEST_SKIP() << "msexpand is a Linux program; the Windows build checks against LZ32.DLL instead";
#endif
    if (std::ifstream("/usr/bin/msexpand").fail()) GTEST_SKIP() << "msexpand not installed";
    TBytes data = Random(70000, 4);
    data.insert(data.end(), 30000, 'z');
    TBytes packed = quenby::SzddCompress(data, 'n');
    std::string dir = testing::TempDir();
    std::string packedPath = dir + "/szdd_msexpand.bi_";
    std::string plainPath = dir + "/szdd_msexpand.bin";
    std::ofstream(packedPath, std::ios::binary).write(reinterpret_cast<const char*>(packed.data()),
                                                     static_cast<std::streamsize>(packed.size()));
    std::remove(plainPath.c_str());
    ASSERT_EQ(std::system(("msexpand < " + packedPath + " > " + plainPath).c_str()), 0);
    std::ifstream in(plainPath, std::ios::binary);
    TBytes back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(back, data);
}
