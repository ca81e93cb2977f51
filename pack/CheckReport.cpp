#include "CheckReport.h"

#include <cstdio>

#include "publish/DiskPacker.h"

namespace quenby {

int PrintCheck(const TInstructions& in, const TDistributionMedia& media, const std::string& firstDisk, bool quiet) {
    const std::vector<TFinding> findings = CheckInstructions(in, media, firstDisk);
    std::fputs(FindingsReport(findings, quiet).c_str(), stdout);
    return HasErrors(findings) ? 1 : 0;
}

}  // namespace quenby
