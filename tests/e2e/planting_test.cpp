// A planted lz32.dll beside Setup.exe on the medium (tests/programs/planted_lz32.cpp). ctest runs this
// with lz32=n,b, so that Wine searches the program's folder first as Windows does; the first test shows
// that a static import then does load the planted DLL.
// ctest env QUENBY_DLLOVERRIDES=lz32=n,b
// ctest .i686 shipped *
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "Prefix.h"
#include "RandomBytes.h"
#include "Wizard.h"
#include "publish/Szdd.h"

namespace quenby {
namespace {

using namespace drive;
using test::kStartMs;

// A medium with the planted DLL and a copy of the named program beside it; returns the program's path.
std::string PlantBeside(const test::TScratchFolder& medium, const std::string& program) {
    const std::string copy = medium / program.substr(program.find_last_of('\\') + 1);
    EXPECT_TRUE(CopyFileA(program.c_str(), copy.c_str(), FALSE)) << program;
    const std::string planted = test::SetupBuildDir() + "\\planted\\lz32.dll";
    EXPECT_TRUE(CopyFileA(planted.c_str(), (medium / "lz32.dll").c_str(), FALSE)) << planted;
    return copy;
}

TEST(PlantedLz32, IsLoadedByAProgramThatImportsLz32Statically) {
    test::TScratchFolder medium("quenby-plant-static");
    const std::string program = PlantBeside(medium, test::SetupBuildDir() + "\\lz32_static_import.exe");
    TDriver run(program, medium.Path());
    EXPECT_EQ(run.WaitExit(kStartMs), 0u);
    EXPECT_TRUE(test::Exists(medium / "planted_lz32.loaded"))
        << "without the planted DLL loaded, this run cannot tell a safe Setup.exe from an unsafe one";
}

// The destination of 200 characters is past what LZOpenFileA keeps of a path.
TEST(PlantedLz32, SetupExpandsWithTheSystemLibraryIntoALongDestinationAndNeverLoadsThePlantedOne) {
    test::TScratchFolder medium("quenby-plant-setup");
    test::TScratchFolder target("quenby-plant-target");
    const std::string setup = PlantBeside(medium, test::SetupExe());
    const std::string text = test::RandomBytes(30000, 4) + "expanded by the system's own LZ32.DLL\r\n";
    const std::string destination = target.Path() + "\\" + std::string(199 - target.Path().size(), 'L');
    const TBytes compressed = SzddCompress(TBytes(text.begin(), text.end()), 't');
    medium.Write("notes.tx_", std::string(compressed.begin(), compressed.end()));
    medium.Write("Quenby.ipi",
                 "[Settings]\r\nApplication=Planted\r\nVersion=1.0\r\nExpand=1\r\n"
                 "[FilesIn]\r\nnotes.tx_=\r\n[FilesOut]\r\nnotes.txt=0\r\n"
                 "[Keys]\r\nBase=\\Software\\Norvale Tests\\Planted\r\n");
    test::TWizard wizard(setup, medium.Path());
    wizard.ToDestinationPage();
    wizard.StartCopyInto(destination);
    wizard.WaitInfo("Planted 1.0 was installed successfuly. Please select next to continue.");

    EXPECT_TRUE(test::ReadFile(destination + "\\notes.txt") == text);
    EXPECT_FALSE(test::Exists(medium / "planted_lz32.loaded"));
}

}  // namespace
}  // namespace quenby
