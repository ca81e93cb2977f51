// Quenby.ipi read with the system's profile functions, as Setup.exe and quenby-check read it.
#pragma once
#include <string>

#include "base/Instructions.h"

namespace quenby {

// From a source directory ending in a backslash. A missing file only sets Missing; one that cannot be
// read raises "Cannot read the installation instructions %s: <reason>".
TInstructions ReadInstructionsFile(const std::string& sourceDir);
// From the current directory (the medium).
TInstructions ReadInstructionsFromMedium();

}  // namespace quenby
