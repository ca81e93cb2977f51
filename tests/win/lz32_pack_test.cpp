// Files compressed by quenby-pack expand byte for byte through the platform's own LZ32.DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "ConsoleRun.h"
#include "ScratchFolder.h"
#include "win/Lz32.h"

using quenby::test::ReadWholeFile;
using quenby::test::RunBuiltProgram;
using quenby::test::TScratchFolder;

namespace {

std::string Random(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string data(n, '\0');
    for (char& c : data) c = static_cast<char>(random());
    return data;
}

std::uint32_t HeaderSize(const std::string& packed) {
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i)
        size |= static_cast<std::uint32_t>(static_cast<unsigned char>(packed[10 + static_cast<size_t>(i)])) << (8 * i);
    return size;
}

}  // namespace

TEST(Lz32Pack, CompressedFilesExpandByteExactlyThroughTheSystemLibrary) {
    const quenby::TLz32 lz32;
    TScratchFolder folder("quenby-lz32-pack");
    std::string text;
    for (int i = 0; i < 200; ++i) text += "Line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog.\r\n";
    const struct {
        const char* name;
        const char* packedName;
        std::string content;
    } cases[] = {
        {"empty.txt", "empty.tx_", ""},
        {"one.bin", "one.bi_", "Q"},
        {"random.dat", "random.da_", Random(1 << 20, 7)},
        {"same.dat", "same.da_", std::string(1 << 20, '\xA5')},
        {"text.txt", "text.tx_", text},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string source = folder.Write(c.name, c.content);
        quenby::test::TConsoleResult run = RunBuiltProgram("quenby-pack.exe", "compress \"" + source + "\"");
        ASSERT_EQ(run.ExitCode, 0u) << run.Output;

        std::string packed = ReadWholeFile(folder / c.packedName);
        ASSERT_GE(packed.size(), 14u);
        EXPECT_EQ(packed.substr(0, 9), std::string("SZDD\x88\xF0\x27\x33" "A", 9));
        EXPECT_EQ(packed[9], std::string(c.name).back());  // the character the "_" stands for
        EXPECT_EQ(HeaderSize(packed), c.content.size());

        std::string expanded = folder / (std::string(c.name) + ".out");
        EXPECT_NO_THROW(lz32.Expand(folder / c.packedName, expanded));
        EXPECT_TRUE(ReadWholeFile(expanded) == c.content);
    }
    // Highly repetitive data must really be compressed, not stored.
    EXPECT_LT(ReadWholeFile(folder / "same.da_").size(), (1u << 20) / 8);
}
