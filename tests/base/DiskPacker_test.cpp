// A distribution split over disks so that the installer meets each file on the disk in the drive, and laid out
// on disks or in one folder: refused before anything is written when it could not install; checksums written
// once, kept on every layout, a file damaged since refused; compressed sources renamed. (From its disks:
// tests/e2e/media_test.cpp; compressed: tests/win/compress_ipi_test.sh; real hashers: tests/win/quenby_check_test.sh.)
#include "publish/DiskPacker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeDigest.h"
#include "base/Errors.h"
#include "publish/Compression.h"
#include "publish/DiskLayout.h"
#include "publish/DistributionFolder.h"

namespace fs = std::filesystem;
using quenby::PlanDisks;
using quenby::TPackRequest;
using quenby::test::FakeDigest;
using Items = std::vector<quenby::TPackItem>;
using Names = std::vector<std::string>;

namespace {

const Items kCopyOrder = {{"shared.dl_", 30}, {"prog.ex_", 60}, {"help.tx_", 20}, {"data\\a.da_", 30}};

TPackRequest Request(std::uint64_t size, Items copyOrder = kCopyOrder,
                     Items last = {{"thanks.txt", 5}, {"readme.txt", 10}}) {
    return {size, {{"Setup.exe", 40}, {"Quenby.ipi", 5}, {"terms.txt", 5}}, std::move(copyOrder), std::move(last)};
}

const Names kFirst = {"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_"};

const fs::path kScratch = fs::temp_directory_path() / "quenby-diskpacker-test";

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path) { return quenby::ReadWholeFile(path).value_or("<missing>"); }

}  // namespace

TEST(DiskLayout, DisksFillInCopyOrderAndEveryDiskIsAskedFor) {
    const Items smallData = {{"shared.dl_", 30}, {"prog.ex_", 60}, {"help.tx_", 20}, {"data\\a.da_", 10}};
    Items helpAgain = smallData, again = kCopyOrder;
    helpAgain.push_back({"help.tx_", 20});
    again.insert(again.begin() + 2, {"SHARED.DL_", 30});
    again.push_back({"prog.ex_", 60});
    const std::pair<TPackRequest, std::vector<Names>> cases[] = {
        {Request(100), {kFirst, {"prog.ex_", "help.tx_"}, {"data\\a.da_", "thanks.txt", "readme.txt"}}},
        // Disk 2 full with data\a.da_: a disk of the closing set alone would never be asked for, so it
        // brings the last file with it.
        {Request(100, smallData, {{"thanks.txt", 45}, {"readme.txt", 40}}),
         {kFirst, {"prog.ex_", "help.tx_"}, {"data\\a.da_", "thanks.txt", "readme.txt"}}},
        // The last file also lies on the disk before: the break comes one file earlier.
        {Request(100, helpAgain, {{"thanks.txt", 60}}),
         {kFirst, {"prog.ex_", "help.tx_"}, {"data\\a.da_", "help.tx_", "thanks.txt"}}},
        // A file listed again is put on the disk in the drive unless a copy already lies there.
        {Request(100, again),
         {kFirst, {"prog.ex_", "SHARED.DL_"}, {"help.tx_", "data\\a.da_"}, {"prog.ex_", "thanks.txt", "readme.txt"}}},
    };
    for (const auto& [request, expected] : cases) {
        std::vector<Names> disks;
        for (const quenby::TDisk& disk : PlanDisks(request)) {
            EXPECT_LE(disk.Used, request.DiskSize);
            disks.push_back(disk.Names);
        }
        EXPECT_EQ(disks, expected);
    }
}

TEST(DiskLayout, ImpossibleLayoutsAreRefused) {
    // Also a last file that no file is small enough to bring, and a second disk nothing would ever ask for.
    for (const TPackRequest& request : {Request(49), Request(59), Request(100, kCopyOrder, {{"thanks.txt", 90}}),
                                        Request(60, {}, {{"thanks.txt", 20}})})
        EXPECT_THROW(PlanDisks(request), quenby::Exception) << request.DiskSize;
}

TEST(DiskPacker, RefusesDisksAlreadyThereAndAFileTheInstructionsNameThatIsMissing) {
    fs::remove_all(kScratch);
    for (const char* name : {"Setup.exe", "a.txt", "b.txt"}) Write(kScratch / "flat" / name, name);
    Write(kScratch / "flat" / "Quenby.ipi",
          "[Settings]\nApplication=W\n[FilesIn]\na.txt=\nb.txt=\n[FilesOut]\na.txt=0\nb.txt=0\n[Keys]\nBase="
          "\\Software\\W\n");
    EXPECT_EQ(quenby::MakeDisks(kScratch / "flat", kScratch / "disks", 1000, FakeDigest).size(), 1u);
    EXPECT_THROW(quenby::MakeDisks(kScratch / "flat", kScratch / "disks", 1000, FakeDigest), quenby::Exception);
    fs::remove(kScratch / "flat" / "b.txt");
    EXPECT_THROW(quenby::MakeDisks(kScratch / "flat", kScratch / "other", 1000, FakeDigest), quenby::Exception);
    EXPECT_FALSE(fs::exists(kScratch / "other"));
    fs::remove_all(kScratch);
}

TEST(DiskPacker, ChecksumsAreWrittenOnceKeptOnEveryLayoutAndADamagedSourceIsRefused) {
    fs::remove_all(kScratch);
    const fs::path flat = kScratch / "flat";
    for (const char* name : {"Setup.exe", "sys.dl_", "a.txt", "sub/b.txt"})
        Write(flat / name, std::string(300, name[1]));
    const std::string head = "[Settings]\r\nApplication=W\r\n[Dirs]\r\nsub=0\r\n";
    const std::string rest =
        "[SysFilesIn]\r\nsys.dl_=\r\n[SysFilesOut]\r\nsys.dll=0\r\n[FilesIn]\r\na.txt=\r\nsub\\b.txt=\r\n"
        "a.txt=\r\n[FilesOut]\r\na.txt=0\r\nsub\\b.txt=0\r\na2.txt=0\r\n[Keys]\r\nBase=\\Software\\W\r\n";
    // An old section in the middle: its stale entries would be the ones the profile functions read.
    Write(flat / "Quenby.ipi", head + "[Checksums]\r\nold.txt=00\r\n" + rest);
    // Disk 1 holds the instructions with their checksums and the system file, disk 2 the rest.
    const std::vector<quenby::TDisk> disks = quenby::MakeDisks(flat, kScratch / "disks", 1150, FakeDigest);
    ASSERT_EQ(disks.size(), 2u);
    const std::string written = Read(kScratch / "disks" / "disk1" / "Quenby.ipi");
    EXPECT_EQ(written, head + rest + "\r\n[Checksums]\r\nsys.dl_=" + *FakeDigest(flat / "sys.dl_") + "\r\na.txt=" +
                           *FakeDigest(flat / "a.txt") + "\r\nsub\\b.txt=" + *FakeDigest(flat / "sub/b.txt") + "\r\n");

    // One folder from the disks: every file, the same instructions, nothing for the checks to find.
    const quenby::TDisk image = quenby::MakeImage(kScratch / "disks", kScratch / "image", FakeDigest);
    EXPECT_EQ(image.Names.size(), 5u);
    EXPECT_EQ(Read(kScratch / "image" / "Quenby.ipi"), written);
    EXPECT_EQ(Read(kScratch / "image" / "sub" / "b.txt"), std::string(300, 'u'));
    quenby::TIniDistribution laidOut(kScratch / "image", FakeDigest);
    EXPECT_FALSE(quenby::HasErrors(quenby::CheckDistribution(laidOut.Instructions(), laidOut)));

    Write(kScratch / "disks" / "disk2" / "a.txt", std::string(299, 'a') + "b");
    EXPECT_THROW(quenby::MakeImage(kScratch / "disks", kScratch / "again", FakeDigest), quenby::Exception);
    fs::remove_all(kScratch);
}

TEST(DiskPacker, CompressedSourcesAreRenamedOnlyWhereSetupReadsSourcesAndEveryOtherByteIsKept) {
    const std::vector<quenby::TRename> renames = {{"orrery.exe", "orrery.ex_"}, {"Data\\Moons.txt", "Data\\Moons.tx_"}};
    const struct {
        std::string before;
        std::string after;
    } cases[] = {
        // Letter case ignored, blanks and line ends kept, every entry of the name renamed.
        {"[FilesIn]\r\n ORRERY.EXE = \r\ndata\\moons.txt=\r\norrery.exe=\r\n",
         "[FilesIn]\r\n orrery.ex_ = \r\nData\\Moons.tx_=\r\norrery.ex_=\r\n"},
        // Targets, items, comments and a key without a value are no sources.
        {"[FilesOut]\norrery.exe=0\n[Items]\norrery.exe=O\n[SysFilesIn]\n;orrery.exe=\norrery.exe\n",
         "[FilesOut]\norrery.exe=0\n[Items]\norrery.exe=O\n[SysFilesIn]\n;orrery.exe=\norrery.exe\n"},
        {"[ sysfilesin ]\norrery.exe=", "[ sysfilesin ]\norrery.ex_="},
    };
    for (const auto& c : cases) EXPECT_EQ(quenby::WithSourcesRenamed(c.before, renames), c.after);
}
