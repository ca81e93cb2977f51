#include "install/ProgramGroup.h"

#include <shellapi.h>

#include "base/NumberRule.h"
#include "base/ProgmanMacros.h"

namespace quenby {

std::vector<bool> CreateProgramGroup(TDdeClientConv& conversation, const TInstructions& instructions,
                                     const std::string& destination, const std::string& windowsDir) {
    TGroupRequest request{instructions.ProgGroup,   destination,        windowsDir,
                          instructions.Application, instructions.Items, instructions.ItemsValues};
    return SendGroupMacros(
        request,
        [&] {
            conversation.Open();  // does nothing when a failed earlier run left the conversation open
            return conversation.IsOpen();
        },
        [&](const std::string& macro) { return conversation.SendMacro(macro); });
}

void StartAddOns(TInstallSink& sink, const TInstructions& instructions, int& handled) {
    for (; handled < instructions.AddOns.Count(); ++handled) {
        const int kind = StrToInt(instructions.AddOns[handled]);
        auto [file, parameters] = SplitAddOn(instructions.AddOnsValues[handled]);
        if (!AddOnKindStarts(kind) || !sink.AddOnWanted(file)) continue;
        ShellExecuteA(sink.Owner(), "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                      SW_SHOWNORMAL);
        sink.AddOnStarted(file);
    }
}

}  // namespace quenby
