// The publisher tools' work on folders: laying a distribution out on disk folders or in one folder,
// writing its checksums, and the report of the checks' findings. `digest` is the tool's SHA-256 of a file.
// The tools (pack/) print the results and choose the exit codes.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "publish/Checksums.h"
#include "publish/DiskLayout.h"
#include "publish/DistributionCheck.h"

namespace quenby {

// Reads the distribution in `dir` (one folder, or disk folders), writes `out`/disk1, disk2, ... of at
// most `diskSize` bytes each, with [Checksums] in disk 1's Quenby.ipi, and returns what went where. A
// source file that its set's [Checksums] lists with another digest is refused. Raises Exception with the
// reason.
std::vector<TDisk> MakeDisks(const std::filesystem::path& dir, const std::filesystem::path& out, std::uint64_t diskSize,
                             const TFileDigest& digest);
// The same laid out as one folder `out` (for installing from a network share): no disk change.
TDisk MakeImage(const std::filesystem::path& dir, const std::filesystem::path& out, const TFileDigest& digest);
// Writes [Checksums] into disk 1's Quenby.ipi of the set in `dir` as it lies, each file taken from the disk
// the installer reads it from; a file on no disk is left out (the checks report it).
void WriteChecksums(const std::filesystem::path& dir, const TFileDigest& digest);

// The checks' findings, or the one error that the instructions are missing from `firstDisk`.
std::vector<TFinding> CheckInstructions(const TInstructions& in, const TDistributionMedia& media,
                                        const std::string& firstDisk);
// One line per finding, errors first, then how many of each ("1 error, no warnings"); only the errors'
// lines when `quiet`.
std::string FindingsReport(const std::vector<TFinding>& findings, bool quiet);
bool HasErrors(const std::vector<TFinding>& findings);

}  // namespace quenby
