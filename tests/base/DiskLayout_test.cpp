// Splitting a distribution over disks so that the installer meets each file on the disk in the drive.
#include "publish/DiskLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Errors.h"

using quenby::PlanDisks;
using quenby::TDisk;
using quenby::TPackRequest;
using Names = std::vector<std::string>;

namespace {

TPackRequest Request(std::uint64_t size) {
    TPackRequest request;
    request.DiskSize = size;
    request.First = {{"Setup.exe", 40}, {"Quenby.ipi", 5}, {"terms.txt", 5}};
    request.CopyOrder = {{"shared.dl_", 30}, {"prog.ex_", 60}, {"help.tx_", 20}, {"data\\a.da_", 30}};
    request.Last = {{"thanks.txt", 5}, {"readme.txt", 10}};
    return request;
}

std::vector<Names> NamesOf(const std::vector<TDisk>& disks) {
    std::vector<Names> names;
    for (const TDisk& disk : disks) names.push_back(disk.Names);
    return names;
}

}  // namespace

TEST(DiskLayout, EverythingOnOneDiskWhenItFits) {
    std::vector<TDisk> disks = PlanDisks(Request(1000));
    ASSERT_EQ(disks.size(), 1u);
    EXPECT_EQ(disks[0].Names, Names({"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_", "prog.ex_", "help.tx_",
                                     "data\\a.da_", "thanks.txt", "readme.txt"}));
    EXPECT_EQ(disks[0].Used, 205u);
}

TEST(DiskLayout, DisksFillInCopyOrderAndTheClosingSetGoesLast) {
    std::vector<TDisk> disks = PlanDisks(Request(100));
    EXPECT_EQ(NamesOf(disks), std::vector<Names>({{"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_"},
                                                  {"prog.ex_", "help.tx_"},
                                                  {"data\\a.da_", "thanks.txt", "readme.txt"}}));
    for (const TDisk& disk : disks) EXPECT_LE(disk.Used, 100u);
}

TEST(DiskLayout, ClosingSetThatDoesNotFitTakesTheLastFileOntoAnExtraDisk) {
    TPackRequest request = Request(100);
    request.CopyOrder.back().Size = 10;
    request.Last = {{"thanks.txt", 45}, {"readme.txt", 40}};
    // Filled greedily, disk 2 holds prog.ex_, help.tx_ and data\a.da_ (90): no room for 85 more. A disk of
    // the closing set alone would never be asked for, so it brings the last file with it.
    std::vector<TDisk> disks = PlanDisks(request);
    EXPECT_EQ(NamesOf(disks), std::vector<Names>({{"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_"},
                                                  {"prog.ex_", "help.tx_"},
                                                  {"data\\a.da_", "thanks.txt", "readme.txt"}}));

    // When the last file is found on the disk before (listed twice), moving it would bring a disk that is
    // never asked for: the break comes one file earlier.
    request.CopyOrder.push_back({"help.tx_", 20});
    request.Last = {{"thanks.txt", 60}};
    disks = PlanDisks(request);
    EXPECT_EQ(NamesOf(disks), std::vector<Names>({{"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_"},
                                                  {"prog.ex_", "help.tx_"},
                                                  {"data\\a.da_", "help.tx_", "thanks.txt"}}));
}

TEST(DiskLayout, FileAlreadyOnTheDiskInTheDriveIsNotPutTwice) {
    TPackRequest request = Request(100);
    request.CopyOrder.insert(request.CopyOrder.begin() + 2, {"SHARED.DL_", 30});
    request.CopyOrder.push_back({"prog.ex_", 60});
    std::vector<TDisk> disks = PlanDisks(request);
    // shared.dl_ again while disk 2 is in the drive: put there as well; prog.ex_ again at the end: a copy
    // on the disk in the drive by then.
    EXPECT_EQ(NamesOf(disks), std::vector<Names>({{"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_"},
                                                  {"prog.ex_", "SHARED.DL_"},
                                                  {"help.tx_", "data\\a.da_"},
                                                  {"prog.ex_", "thanks.txt", "readme.txt"}}));
}

TEST(DiskLayout, ImpossibleLayoutsAreRefusedWithTheReason) {
    TPackRequest request = Request(49);
    EXPECT_THROW(PlanDisks(request), quenby::Exception);  // Setup.exe, Quenby.ipi, terms.txt: 50
    request = Request(59);
    try {
        PlanDisks(request);
        ADD_FAILURE() << "a 60-byte file on 59-byte disks";
    } catch (const quenby::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("prog.ex_"), std::string::npos) << e.what();
    }
    request = Request(100);
    request.Last = {{"thanks.txt", 90}};
    EXPECT_THROW(PlanDisks(request), quenby::Exception);  // no file is small enough to bring it
    request = Request(60);
    request.CopyOrder.clear();
    request.Last = {{"thanks.txt", 20}};
    EXPECT_THROW(PlanDisks(request), quenby::Exception);  // nothing would ever ask for a second disk
}
