// Files compressed by quenby-pack (laid out by the prepare script beside this file) expand byte for byte
// through the system's own LZ32.DLL, under the names the installer lists them by.
#include <gtest/gtest.h>

#include "Prefix.h"
#include "win/Lz32.h"

namespace quenby {
namespace {

TEST(Lz32Pack, CompressedFilesExpandByteExactlyThroughTheSystemLibrary) {
    const TLz32 lz32;
    for (const auto& [name, packed] :
         {std::pair{"empty.txt", "empty.tx_"}, std::pair{"one.bin", "one.bi_"}, std::pair{"random.dat", "random.da_"},
          std::pair{"same.dat", "same.da_"}, std::pair{"text.txt", "text.tx_"}}) {
        SCOPED_TRACE(name);
        const std::string folder = "C:\\lz\\";
        ASSERT_TRUE(test::Exists(folder + packed));
        lz32.Expand(folder + packed, folder + name + ".out");
        EXPECT_TRUE(test::ReadFile(folder + name + ".out") == test::ReadFile(folder + name));
    }
    // Long runs must really be compressed, not stored.
    EXPECT_LT(test::ReadFile("C:\\lz\\same.da_").size(), (1u << 20) / 8);
}

}  // namespace
}  // namespace quenby
