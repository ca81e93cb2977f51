// The registry step of the copy run: the product's values with the user's name and organisation put
// in, the system uninstall entry, the shared-file counters, and the uninstall record beside them.
#pragma once
#include <string>

#include "install/InstallHost.h"

namespace quenby {

// The value sections come from the instructions as read at start-up, not from the medium now in the
// drive. Every write is made at once; a failure ends the step there and propagates, leaving what was
// written. Counters already raised for this installation (host.Resume().CountersRaised) are not raised again.
void UpdateRegistry(TInstallHost& host, const std::string& destination);

}  // namespace quenby
