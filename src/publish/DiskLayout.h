// How a distribution is split over disks of a given size so that the installer finds each file on the
// disk in the drive: the copy order fills the disks one after another; what is read before copying
// stays on disk 1, and what is read after copying goes on the disk in the drive at the end.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quenby {

struct TPackItem {
    std::string Name;  // as the instructions name it, relative to the source directory
    std::uint64_t Size = 0;
};

struct TPackRequest {
    std::uint64_t DiskSize = 0;
    std::vector<TPackItem> First;      // Setup.exe, Quenby.ipi, the start notices
    std::vector<TPackItem> CopyOrder;  // system files, then product files
    std::vector<TPackItem> Last;       // closing notices and add-on documents
};

struct TDisk {
    std::vector<std::string> Names;
    std::uint64_t Used = 0;
};

// Raises Exception with the reason when the set cannot be laid out.
std::vector<TDisk> PlanDisks(const TPackRequest& request);

}  // namespace quenby
