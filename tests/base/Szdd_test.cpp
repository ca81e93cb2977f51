// The publisher's SZDD compressor on inputs too large for the fuzz target (which round-trips small
// ones), damaged files, and an independent expander. (LZ32.DLL: tests/win/lz32_pack_test.cpp.)
#include "publish/Szdd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "RandomBytes.h"

using quenby::TBytes;

namespace {

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

}  // namespace

TEST(Szdd, RoundTripsLongRunsAndRepeatsFarBackInTheRingAndRejectsDamagedFiles) {
    const std::string random = quenby::test::RandomBytes(9000, 2);
    for (const TBytes& data : {TBytes(1 << 20, 0xAB), Bytes(random + random.substr(0, 5000))}) {
        auto back = quenby::SzddExpand(quenby::SzddCompress(data, 't'));
        ASSERT_TRUE(back.has_value());
        EXPECT_TRUE(*back == data);
    }
    TBytes packed = quenby::SzddCompress(Bytes(quenby::test::RandomBytes(5000, 3)), 'e');
    packed.resize(packed.size() / 2);
    EXPECT_FALSE(quenby::SzddExpand(packed).has_value());
    EXPECT_FALSE(quenby::SzddExpand(Bytes("plain text, no header")).has_value());
    EXPECT_FALSE(quenby::IsSzdd(Bytes("SZDD")));
}

TEST(Szdd, ExpandsByteExactlyWithMsexpand) {
#ifdef _WIN32
    GTEST_SKIP() << "msexpand is a Linux program; the Windows build checks against LZ32.DLL instead";
#endif
    ASSERT_FALSE(std::ifstream("/usr/bin/msexpand").fail()) << "msexpand missing: scripts/setup.sh installs it";
    const std::string data = quenby::test::RandomBytes(70000, 4) + std::string(30000, 'z');
    const TBytes packed = quenby::SzddCompress(Bytes(data), 'n');
    const std::string packedPath = testing::TempDir() + "/szdd_msexpand.bi_";
    const std::string plainPath = testing::TempDir() + "/szdd_msexpand.bin";
    std::ofstream(packedPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
    ASSERT_EQ(std::system(("msexpand < " + packedPath + " > " + plainPath).c_str()), 0);
    std::ifstream in(plainPath, std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == data);
}
