// The publisher tools' work on folders: laying a distribution out on disk folders and reporting the
// checks' findings.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "publish/DiskLayout.h"
#include "publish/DistributionCheck.h"

namespace quenby {

// Reads the distribution in `dir` (one folder, or disk folders), writes `out`/disk1, disk2, ... of at
// most `diskSize` bytes each and returns what went where. Raises Exception with the reason.
std::vector<TDisk> MakeDisks(const std::filesystem::path& dir, const std::filesystem::path& out,
                             std::uint64_t diskSize);

// One line per finding, errors first; warnings left out when `quiet`.
std::string FindingsReport(const std::vector<TFinding>& findings, bool quiet);
bool HasErrors(const std::vector<TFinding>& findings);

// Prints the findings, or that the instructions are missing, and returns the tools' exit code.
int PrintCheck(const TInstructions& in, const TDistributionMedia& media, const std::string& firstDisk, bool quiet);

// The tool commands: print to stdout/stderr and return the exit code.
int PackDisks(const std::string& sizeText, const std::string& dir, const std::string& out);
int CheckFolder(const std::string& dir, bool quiet);

}  // namespace quenby
