// Uninstall.exe's run: check the installation log, ask, undo what the log names, say what was left.
#pragma once
#include <string>

#include "base/ExitCodes.h"
#include "base/InstallLog.h"
#include "win/LogFile.h"

namespace quenby {

// Exit codes, for the programs that start the uninstaller: the one table both programs end with.
enum TUninstallResult {
    kRemoved = kExitDone,
    kRemovedAfterRestart = kExitRestartNeeded,
    kDeclined = kExitUserLeft,
    kNothingRemoved = kExitFailed,
    kUnknownProduct = kExitUnknownProduct,
};

// `original`: the file of the Uninstall.exe that started this copy, empty when this is no copy;
// `removeOriginal` is set when it is to be removed once it has ended. Every box's text also goes to the log;
// a quiet removal shows none and takes each question's default.
TUninstallResult RunUninstaller(const TRemovalOptions& options, TLogFile& log, const std::string& original,
                                bool& removeOriginal);

}  // namespace quenby
