// Uninstall.exe's run: check the installation log, ask, undo what the log names, say what was left.
#pragma once
#include <string>

#include "base/ExitCodes.h"
#include "uninstall/RemovalSink.h"

namespace quenby {

// Exit codes, for the programs that start the uninstaller: the one table both programs end with.
enum TUninstallResult {
    kRemoved = kExitDone,
    kRemovedAfterRestart = kExitRestartNeeded,
    kDeclined = kExitUserLeft,
    kNothingRemoved = kExitFailed,
    kUnknownProduct = kExitUnknownProduct,
};

// Removes the installation in `destination`, telling and asking `sink`. `original`: the file of the
// Uninstall.exe that started this copy, empty when this is no copy; `removeOriginal` is set when it is to be
// removed once it has ended.
TUninstallResult RunUninstaller(const std::string& destination, TRemovalSink& sink, const std::string& original,
                                bool& removeOriginal);

}  // namespace quenby
