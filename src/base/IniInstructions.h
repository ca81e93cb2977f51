// The installation instructions read from a Quenby.ipi text without the system's profile functions,
// entry for entry as the installer reads them; for the publisher tools' native build.
#pragma once
#include <string>

#include "Instructions.h"
#include "base/IniFile.h"

namespace quenby {

// sourceDir ends in a separator; Missing is cleared.
TInstructions ReadInstructions(const TIniFile& file, const std::string& sourceDir);

}  // namespace quenby
