// Setup.exe's command line: switches named without regard to case, "/NAME=value" with the value
// optionally in quotes. Unknown, repeated or malformed switches are refused, not passed over: a
// deployment that misspells /VERYSILENT must not end up waiting for a click on a server.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenby {

enum class TSetupMode { Interactive, Silent, VerySilent };

struct TSetupOptions {
    TSetupMode Mode = TSetupMode::Interactive;
    std::optional<std::string> Dir, Name, Org;  // unset: the answers file's or the proposed one
    std::string LoadInf, SaveInf, Log;          // files; empty when not given
    bool AddOns = false;
    std::string BadSwitch;  // the first refused argument; the mode is still read from the others
};

// The arguments as Windows programs split them: blanks separate, quotes group and are dropped.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
TSetupOptions ParseSetupCommandLine(std::string_view commandLine);

// The answers file (/LOADINF, /SAVEINF): an INI file whose [Setup] section holds these keys.
inline constexpr char kAnswersSection[] = "Setup";
inline constexpr char kAnswersDirKey[] = "Dir";
inline constexpr char kAnswersNameKey[] = "Name";
inline constexpr char kAnswersOrgKey[] = "Organization";

}  // namespace quenby
