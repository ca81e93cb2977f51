// What both publisher tools print for the checks of a distribution, and the exit code it makes.
#pragma once
#include <string>

#include "publish/DistributionCheck.h"

namespace quenby {

// The findings on stdout (only the errors when `quiet`); 1 when there is an error, else 0.
int PrintCheck(const TInstructions& in, const TDistributionMedia& media, const std::string& firstDisk, bool quiet);

}  // namespace quenby
