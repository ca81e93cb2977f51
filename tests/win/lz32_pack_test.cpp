// Files compressed by quenby-pack expand byte for byte through the platform's own LZ32.DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "ConsoleRun.h"
#include "ScratchFolder.h"

using quenby::test::ReadWholeFile;
using quenby::test::RunBuiltProgram;
using quenby::test::TScratchFolder;

namespace {

using LZOpenFileAProc = INT(WINAPI*)(LPSTR, LPOFSTRUCT, WORD);
using LZCopyProc = LONG(WINAPI*)(INT, INT);
using LZCloseProc = void(WINAPI*)(INT);

// The system's lz32.dll, loaded by full path as the installer loads it.
class TLz32 {
public:
    TLz32() {
        char system[MAX_PATH + 1] = {};
        GetSystemDirectoryA(system, sizeof system);
        m_module = LoadLibraryA((std::string(system) + "\\lz32.dll").c_str());
        if (!m_module) return;
        Open = reinterpret_cast<LZOpenFileAProc>(reinterpret_cast<void*>(GetProcAddress(m_module, "LZOpenFileA")));
        Copy = reinterpret_cast<LZCopyProc>(reinterpret_cast<void*>(GetProcAddress(m_module, "LZCopy")));
        Close = reinterpret_cast<LZCloseProc>(reinterpret_cast<void*>(GetProcAddress(m_module, "LZClose")));
    }
    TLz32(const TLz32&) = delete;
    TLz32& operator=(const TLz32&) = delete;
    ~TLz32() {
        if (m_module) FreeLibrary(m_module);
    }
    bool Loaded() const { return Open && Copy && Close; }

    // Expands source into a new destination file; the bytes written, or the library's error code.
    LONG Expand(const std::string& source, const std::string& destination) const {
        OFSTRUCT sourceInfo{}, destinationInfo{};
        std::string sourceName = source, destinationName = destination;
        TLzHandle in(*this, Open(sourceName.data(), &sourceInfo, OF_READ));
        TLzHandle out(*this, Open(destinationName.data(), &destinationInfo, OF_CREATE | OF_SHARE_DENY_WRITE));
        if (in.Get() < 0 || out.Get() < 0) return -1000;
        return Copy(in.Get(), out.Get());
    }

    LZOpenFileAProc Open = nullptr;
    LZCopyProc Copy = nullptr;
    LZCloseProc Close = nullptr;

private:
    class TLzHandle {
    public:
        TLzHandle(const TLz32& library, INT handle) : m_library(library), m_handle(handle) {}
        TLzHandle(const TLzHandle&) = delete;
        TLzHandle& operator=(const TLzHandle&) = delete;
        ~TLzHandle() {
            if (m_handle >= 0) m_library.Close(m_handle);
        }
        INT Get() const { return m_handle; }

    private:
        const TLz32& m_library;
        INT m_handle;
    };

    HMODULE m_module = nullptr;
};

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
    TLz32 lz32;
    ASSERT_TRUE(lz32.Loaded());
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
        EXPECT_EQ(lz32.Expand(folder / c.packedName, expanded), static_cast<LONG>(c.content.size()));
        EXPECT_TRUE(ReadWholeFile(expanded) == c.content);
    }
    // Highly repetitive data must really be compressed, not stored.
    EXPECT_LT(ReadWholeFile(folder / "same.da_").size(), (1u << 20) / 8);
}
