// The registry step of the copy run: the product's values with the user's name and organisation put
// in, the system uninstall entry, the shared-file counters, and the uninstall record beside them.
#pragma once
#include <string>

#include "base/Instructions.h"
#include "install/InstallLogWriter.h"
#include "install/InstallSink.h"
#include "install/Installation.h"

namespace quenby {

// The value sections come from the instructions as read at start-up, not from the medium now in the
// drive. Every write is made at once and noted in the log first; a failure ends the step there and
// propagates, leaving what was written. Counts already raised for this installation (countersRaised: two
// steps a shared file, its count for the user and its machine-wide count) are not raised again.
void UpdateRegistry(const TInstructions& instructions, const TUserAnswers& answers, const std::string& destination,
                    int& countersRaised, TInstallLogWriter& log, TInstallSink& sink);

}  // namespace quenby
