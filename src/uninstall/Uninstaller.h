// Uninstall.exe's run: check the installation log, ask, undo what the log names, say what was left.
#pragma once
#include <string>

namespace quenby {

// Exit codes, for the programs that start the uninstaller.
enum TUninstallResult { kRemoved = 0, kNothingRemoved = 1, kDeclined = 2 };

// The command line is the destination directory (quotes around it accepted).
TUninstallResult RunUninstaller(const std::string& commandLine);

}  // namespace quenby
