// Setup.exe's command line: switches named without regard to case, "/NAME=value" with the value
// optionally in quotes. Unknown, repeated or malformed switches are refused, not passed over: a
// deployment that misspells /VERYSILENT must not end up waiting for a click on a server.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/SameText.h"

namespace quenby {

enum class TSetupMode { Interactive, Silent, VerySilent };

struct TSetupOptions {
    TSetupMode Mode = TSetupMode::Interactive;
    std::optional<std::string> Dir, Name, Org;  // unset: the answers file's or the proposed one
    std::string LoadInf, SaveInf, Log;          // files; empty when not given
    bool AddOns = false;
    bool LogWanted = false;  // /LOG, with a file or alone (then Log is empty: a dated file in %TEMP%)
    bool Help = false;       // /? or /HELP
    std::string BadSwitch;   // the first refused argument; the mode is still read from the others
};

// One row of a program's switch table: the name, the word the help shows for the value (none when the switch
// takes no value), whether an empty value is taken rather than refused, what the switch does to the options,
// and whether the switch may also come without its value.
template <class TOptions>
struct TSwitch {
    const char* Name;
    const char* Value;
    bool MayBeEmpty;
    void (*Apply)(TOptions& options, const std::string& value);
    bool MayBeAbsent = false;
};

// The row named `name` in any case; nullptr when none is.
template <class TOptions, std::size_t N>
const TSwitch<TOptions>* FindSwitch(const TSwitch<TOptions> (&table)[N], std::string_view name) {
    for (const TSwitch<TOptions>& row : table)
        if (SameTextIgnoringCase(name, row.Name)) return &row;
    return nullptr;
}

// The arguments as Windows programs split them: blanks separate, quotes group and are dropped.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
TSetupOptions ParseSetupCommandLine(std::string_view commandLine);

// The answers file (/LOADINF, /SAVEINF): an INI file whose [Setup] section holds these keys.
inline constexpr char kAnswersSection[] = "Setup";
inline constexpr char kAnswersDirKey[] = "Dir";
inline constexpr char kAnswersNameKey[] = "Name";
inline constexpr char kAnswersOrgKey[] = "Organization";

}  // namespace quenby
