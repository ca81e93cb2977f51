#include "publish/DiskLayout.h"

#include <optional>

#include "base/Errors.h"
#include "publish/IniFile.h"

namespace quenby {

namespace {

bool Holds(const TDisk& disk, const std::string& name) {
    for (const std::string& held : disk.Names)
        if (SameTextIgnoringCase(held, name)) return true;
    return false;
}

void Put(TDisk& disk, const TPackItem& item) {
    if (Holds(disk, item.Name)) return;
    disk.Names.push_back(item.Name);
    disk.Used += item.Size;
}

std::uint64_t ExtraSize(const TDisk& disk, const std::vector<TPackItem>& items) {
    std::uint64_t size = 0;
    TDisk probe = disk;
    for (const TPackItem& item : items) {
        if (!Holds(probe, item.Name)) size += item.Size;
        Put(probe, item);
    }
    return size;
}

// Fills disks in copy order, each as full as it goes; the file at `breakAt` starts a new disk. A file
// already on the disk in the drive is found there again and takes no room; a break at such a file would
// bring a disk that is never asked for, so that layout is none.
std::optional<std::vector<TDisk>> Fill(const TPackRequest& request, std::optional<size_t> breakAt) {
    std::vector<TDisk> disks(1);
    for (const TPackItem& item : request.First) Put(disks[0], item);
    if (disks[0].Used > request.DiskSize)
        throw Exception("Setup.exe, Quenby.ipi and the start notices take " + std::to_string(disks[0].Used) +
                        " bytes, more than one disk holds");
    for (size_t i = 0; i < request.CopyOrder.size(); ++i) {
        const TPackItem& item = request.CopyOrder[i];
        if (item.Size > request.DiskSize)
            throw Exception(item.Name + " takes " + std::to_string(item.Size) +
                            " bytes, more than one disk holds; the installer cannot split a file");
        bool forced = breakAt && i == *breakAt;
        if (Holds(disks.back(), item.Name)) {
            if (forced) return std::nullopt;
            continue;
        }
        if (forced || disks.back().Used + item.Size > request.DiskSize) disks.emplace_back();
        Put(disks.back(), item);
    }
    return disks;
}

}  // namespace

std::vector<TDisk> PlanDisks(const TPackRequest& request) {
    // Filling each disk as far as it goes leaves the fewest files for the last disk, so when the closing
    // set does not fit there, no layout with that many disks holds it.
    auto fits = [&](const std::optional<std::vector<TDisk>>& disks) {
        return disks && disks->back().Used + ExtraSize(disks->back(), request.Last) <= request.DiskSize;
    };
    std::optional<std::vector<TDisk>> disks = Fill(request, std::nullopt);
    // A disk is only ever inserted to bring a file: when the closing set does not fit, the last disk
    // starts earlier, bringing the last files with it.
    for (size_t breakAt = request.CopyOrder.size(); !fits(disks) && breakAt > 0;) disks = Fill(request, --breakAt);
    if (!fits(disks))
        throw Exception(
            "the closing notices and add-on documents do not fit on one disk together with a file "
            "to copy (a disk is only asked for when it brings a file)");
    for (const TPackItem& item : request.Last) Put(disks->back(), item);
    return *disks;
}

}  // namespace quenby
