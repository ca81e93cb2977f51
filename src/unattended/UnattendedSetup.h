// Setup.exe under /SILENT or /VERYSILENT: the installation from the current directory's instructions,
// with the answers from the command line, the answers file or what the wizard would propose, through the
// unattended sink. Returns the exit code; the log ends with it.
#pragma once
#include <string>

#include "base/CommandLine.h"

namespace quenby {

int RunUnattendedSetup(const TSetupOptions& options, const std::string& commandLine);

}  // namespace quenby
