// Laying a distribution folder out on disks refuses, before it writes anything, what would leave a set
// that cannot install. (The sample laid out and installed from its disks: tests/e2e/road_test.cpp.)
#include "publish/DiskPacker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Errors.h"

namespace fs = std::filesystem;

TEST(DiskPacker, RefusesDisksAlreadyThereAndAFileTheInstructionsNameThatIsMissing) {
    const fs::path scratch = fs::temp_directory_path() / "quenby-diskpacker-test";
    fs::remove_all(scratch);
    for (const char* name : {"Setup.exe", "a.txt", "b.txt"}) {
        fs::create_directories(scratch / "flat");
        std::ofstream(scratch / "flat" / name) << name;
    }
    std::ofstream(scratch / "flat" / "Quenby.ipi")
        << "[Settings]\nApplication=W\n[FilesIn]\na.txt=\nb.txt=\n[FilesOut]\na.txt=0\nb.txt=0\n"
           "[Keys]\nBase=\\Software\\W\n";
    EXPECT_EQ(quenby::MakeDisks(scratch / "flat", scratch / "disks", 1000).size(), 1u);
    EXPECT_THROW(quenby::MakeDisks(scratch / "flat", scratch / "disks", 1000), quenby::Exception);
    fs::remove(scratch / "flat" / "b.txt");
    EXPECT_THROW(quenby::MakeDisks(scratch / "flat", scratch / "other", 1000), quenby::Exception);
    EXPECT_FALSE(fs::exists(scratch / "other"));
    fs::remove_all(scratch);
}
