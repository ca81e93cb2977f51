// Uninstall.exe's run: check the installation log, ask, undo what the log names, say what was left.
#pragma once
#include <string>

namespace quenby {

// Exit codes, for the programs that start the uninstaller.
enum TUninstallResult { kRemoved = 0, kRemovedAfterRestart = 3010, kDeclined = 1602, kNothingRemoved = 1603 };

// The command line is the destination directory (quotes around it accepted). `original`: the file of the
// Uninstall.exe that started this copy, empty when this is no copy; `removeOriginal` is set when it is to
// be removed once it has ended.
TUninstallResult RunUninstaller(const std::string& commandLine, const std::string& original, bool& removeOriginal);

}  // namespace quenby
