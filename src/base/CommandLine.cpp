#include "base/CommandLine.h"

#include <array>

#include "base/SameText.h"

namespace quenby {

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false, started = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (started) arguments.push_back(std::move(current));
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) arguments.push_back(std::move(current));
    return arguments;
}

TSetupOptions ParseSetupCommandLine(std::string_view commandLine) {
    TSetupOptions options;
    bool seen[9] = {};
    for (const std::string& argument : SplitCommandLine(commandLine)) {
        const std::size_t equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        const std::string value = hasValue ? argument.substr(equals + 1) : std::string();
        struct TSwitch {
            const char* Name;
            bool TakesValue;
            bool MayBeEmpty;
        };
        static constexpr std::array<TSwitch, 9> kSwitches = {{{"/SILENT", false, false},
                                                              {"/VERYSILENT", false, false},
                                                              {"/ADDONS", false, false},
                                                              {"/DIR", true, false},
                                                              {"/NAME", true, true},
                                                              {"/ORG", true, true},
                                                              {"/LOADINF", true, false},
                                                              {"/SAVEINF", true, false},
                                                              {"/LOG", true, false}}};
        std::size_t which = kSwitches.size();
        for (std::size_t i = 0; i < kSwitches.size(); ++i)
            if (SameTextIgnoringCase(name, kSwitches[i].Name)) which = i;
        const bool wellFormed = which < kSwitches.size() && !seen[which] && hasValue == kSwitches[which].TakesValue &&
                                (!value.empty() || !hasValue || kSwitches[which].MayBeEmpty);
        if (!wellFormed) {
            if (options.BadSwitch.empty()) options.BadSwitch = argument;
            continue;
        }
        seen[which] = true;
        switch (which) {
            case 0:
                if (options.Mode == TSetupMode::Interactive) options.Mode = TSetupMode::Silent;
                break;
            case 1: options.Mode = TSetupMode::VerySilent; break;
            case 2: options.AddOns = true; break;
            case 3: options.Dir = value; break;
            case 4: options.Name = value; break;
            case 5: options.Org = value; break;
            case 6: options.LoadInf = value; break;
            case 7: options.SaveInf = value; break;
            default: options.Log = value; break;
        }
    }
    return options;
}

}  // namespace quenby
