#include "base/CommandLine.h"

#include <bitset>
#include <iterator>

#include "base/InstallRecord.h"
#include "base/Texts.h"

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

namespace {

using TSetupSwitch = TSwitch<TSetupOptions>;

// The help lists them in this order.
constexpr TSetupSwitch kSetupSwitches[] = {
    {kSilentSwitch, nullptr, false,
     [](TSetupOptions& o, const std::string&) {
         if (o.Mode == TSetupMode::Interactive) o.Mode = TSetupMode::Silent;
     }},
    {kVerySilentSwitch, nullptr, false, [](TSetupOptions& o, const std::string&) { o.Mode = TSetupMode::VerySilent; }},
    {"/DIR", kSwitchValuePath, false, [](TSetupOptions& o, const std::string& value) { o.Dir = value; }},
    {"/NAME", kSwitchValueText, true, [](TSetupOptions& o, const std::string& value) { o.Name = value; }},
    {"/ORG", kSwitchValueText, true, [](TSetupOptions& o, const std::string& value) { o.Org = value; }},
    {"/LOADINF", kSwitchValueFile, false, [](TSetupOptions& o, const std::string& value) { o.LoadInf = value; }},
    {"/SAVEINF", kSwitchValueFile, false, [](TSetupOptions& o, const std::string& value) { o.SaveInf = value; }},
    {"/LOG", kSwitchValueFile, false,
     [](TSetupOptions& o, const std::string& value) {
         o.Log = value;
         o.LogWanted = true;
     },
     true},
    {"/ADDONS", nullptr, false, [](TSetupOptions& o, const std::string&) { o.AddOns = true; }},
    // What deployment tools pass to every installer of this kind. There is no opening question to skip, a
    // quiet run already answers every box itself, the program never restarts the machine (3010 says a
    // restart is due), and the /SILENT window offers no way to stop.
    {"/SP-", nullptr, false, [](TSetupOptions&, const std::string&) {}},
    {"/SUPPRESSMSGBOXES", nullptr, false, [](TSetupOptions&, const std::string&) {}},
    {"/NORESTART", nullptr, false, [](TSetupOptions&, const std::string&) {}},
    {"/NOCANCEL", nullptr, false, [](TSetupOptions&, const std::string&) {}},
    {"/?", nullptr, false, [](TSetupOptions& o, const std::string&) { o.Help = true; }},
    {"/HELP", nullptr, false, [](TSetupOptions& o, const std::string&) { o.Help = true; }},
};

}  // namespace

TSetupOptions ParseSetupCommandLine(std::string_view commandLine) {
    TSetupOptions options;
    std::bitset<std::size(kSetupSwitches)> seen;
    for (const std::string& argument : SplitCommandLine(commandLine)) {
        const std::size_t equals = argument.find('=');
        const bool hasValue = equals != std::string::npos;
        const std::string value = hasValue ? argument.substr(equals + 1) : std::string();
        const TSetupSwitch* row = FindSwitch(kSetupSwitches, std::string_view(argument).substr(0, equals));
        const bool wellFormed = row && !seen[row - kSetupSwitches] &&
                                (hasValue == (row->Value != nullptr) || (!hasValue && row->MayBeAbsent)) &&
                                (!hasValue || !value.empty() || row->MayBeEmpty);
        if (!wellFormed) {
            if (options.BadSwitch.empty()) options.BadSwitch = argument;
            continue;
        }
        seen[row - kSetupSwitches] = true;
        row->Apply(options, value);
    }
    return options;
}

std::string SetupSwitchList() {
    std::string list;
    for (const TSetupSwitch& row : kSetupSwitches) {
        if (!list.empty()) list += "\r\n";
        list += row.Name;
        if (row.Value) list.append(row.MayBeAbsent ? "[=" : "=").append(row.Value).append(row.MayBeAbsent ? "]" : "");
    }
    return list;
}

}  // namespace quenby
