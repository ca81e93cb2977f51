// The copy run's steps that reach outside the process: the Program Manager group with its items,
// and the add-ons started through the shell.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/Instructions.h"
#include "install/InstallSink.h"
#include "win/DdeClientConv.h"

namespace quenby {

// Opens the conversation, sends the group, one item per [Items] entry and the uninstaller item; whether
// Program Manager's conversation accepted each (SendGroupMacros).
std::vector<bool> CreateProgramGroup(TDdeClientConv& conversation, const TInstructions& instructions,
                                     const std::string& destination, const std::string& windowsDir);

// Starts each [AddOns] entry of kind 0, 1 or 2 from entry `handled` on, counting the entries dealt with;
// a kind that is not a whole number raises EConvertError.
void StartAddOns(TInstallSink& sink, const TInstructions& instructions, int& handled);

}  // namespace quenby
