// Splitting a distribution over disks so that the installer meets each file on the disk in the drive.
#include "publish/DiskLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Errors.h"

using quenby::PlanDisks;
using quenby::TPackRequest;
using Items = std::vector<quenby::TPackItem>;
using Names = std::vector<std::string>;

namespace {

const Items kCopyOrder = {{"shared.dl_", 30}, {"prog.ex_", 60}, {"help.tx_", 20}, {"data\\a.da_", 30}};

TPackRequest Request(std::uint64_t size, Items copyOrder = kCopyOrder,
                     Items last = {{"thanks.txt", 5}, {"readme.txt", 10}}) {
    return {size, {{"Setup.exe", 40}, {"Quenby.ipi", 5}, {"terms.txt", 5}}, std::move(copyOrder), std::move(last)};
}

const Names kFirst = {"Setup.exe", "Quenby.ipi", "terms.txt", "shared.dl_"};

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
