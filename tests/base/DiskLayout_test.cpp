// Splitting a distribution over disks so that the installer meets each file on the disk in the drive.
#include "publish/DiskLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Errors.h"

using quenby::PlanDisks;
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

const Names kFirst = {"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_"};

}  // namespace

TEST(DiskLayout, DisksFillInCopyOrderAndEveryDiskIsAskedFor) {
    TPackRequest closingTooLarge = Request(100);
    closingTooLarge.CopyOrder.back().Size = 10;
    closingTooLarge.Last = {{"thanks.txt", 45}, {"readme.txt", 40}};
    TPackRequest lastFileTwice = closingTooLarge;
    lastFileTwice.CopyOrder.push_back({"help.tx_", 20});
    lastFileTwice.Last = {{"thanks.txt", 60}};
    TPackRequest again = Request(100);
    again.CopyOrder.insert(again.CopyOrder.begin() + 2, {"SHARED.DL_", 30});
    again.CopyOrder.push_back({"prog.ex_", 60});
    const struct {
        TPackRequest request;
        std::vector<Names> disks;
    } cases[] = {
        {Request(100), {kFirst, {"prog.ex_", "help.tx_"}, {"data\\a.da_", "thanks.txt", "readme.txt"}}},
        // Disk 2 full with data\a.da_: a disk of the closing set alone would never be asked for, so it
        // brings the last file with it.
        {closingTooLarge, {kFirst, {"prog.ex_", "help.tx_"}, {"data\\a.da_", "thanks.txt", "readme.txt"}}},
        // The last file also lies on the disk before: the break comes one file earlier.
        {lastFileTwice, {kFirst, {"prog.ex_", "help.tx_"}, {"data\\a.da_", "help.tx_", "thanks.txt"}}},
        // A file listed again is put on the disk in the drive unless a copy already lies there.
        {again,
         {kFirst, {"prog.ex_", "SHARED.DL_"}, {"help.tx_", "data\\a.da_"}, {"prog.ex_", "thanks.txt", "readme.txt"}}},
    };
    for (const auto& c : cases) {
        std::vector<Names> disks;
        for (const quenby::TDisk& disk : PlanDisks(c.request)) {
            EXPECT_LE(disk.Used, c.request.DiskSize);
            disks.push_back(disk.Names);
        }
        EXPECT_EQ(disks, c.disks);
    }
}

TEST(DiskLayout, ImpossibleLayoutsAreRefused) {
    TPackRequest noBringer = Request(100);
    noBringer.Last = {{"thanks.txt", 90}};  // no file is small enough to bring it
    TPackRequest nothingAsks = Request(60);
    nothingAsks.CopyOrder.clear();
    nothingAsks.Last = {{"thanks.txt", 20}};  // nothing would ever ask for a second disk
    for (const TPackRequest& request : {Request(49), Request(59), noBringer, nothingAsks})
        EXPECT_THROW(PlanDisks(request), quenby::Exception) << request.DiskSize;
}
