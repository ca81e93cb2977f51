// The copy step: the whole installation run by one press of Next on the destination page.
#pragma once
#include "install/InstallHost.h"

namespace quenby {

// Creates the directories, copies (or expands) the system and product files, then runs the program
// group, registry and add-on steps. A missing source ends the run with the disk prompt and leaves
// host.Resume() at that file; any other failure propagates with the wizard state left unchanged, and the
// next run on the same destination carries on from the part that failed (host.Resume().Part).
void CopyFiles(TInstallHost& host);

}  // namespace quenby
