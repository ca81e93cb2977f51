// Room for the copy step, checked per drive before anything is written (and again after each disk prompt,
// for the disk then in hand): a copy that fails half-way for want of room would leave half an installation.
#pragma once
#include <string>

#include "base/Instructions.h"
#include "install/Installation.h"

namespace quenby {

// Every source from `resume` on that the medium in hand holds, at its expanded size in whole clusters of
// its target's drive, with the record and the log on the destination's, and the copies the run keeps of the
// files it would overwrite on the private folders' drive. Raises EDiskFull for the first drive that has less
// free; a drive that gives no figure is not refused.
void CheckRoom(const TInstructions& instructions, const std::string& destination, const std::string& windowsDir,
               const TCopyResume& resume);

}  // namespace quenby
