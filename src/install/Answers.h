// The user's answers to the wizard's questions (destination, name, organisation): what the pages propose,
// what an answers file holds (/LOADINF), and the file the wizard writes for later unattended runs
// (/SAVEINF). One reading and one writing for both kinds of run.
#pragma once
#include <string>

#include "base/Instructions.h"
#include "install/Installation.h"

namespace quenby {

struct TAnswers {
    std::string Dir;
    TUserAnswers User;
};

// The registered owner and organisation.
TUserAnswers ProposedUser();
// Where the product is installed already, else the instructions' directory, and ProposedUser.
TAnswers ProposedAnswers(const TInstructions& instructions);
// Each answer the file's [Setup] section holds in place of the one given.
TAnswers LoadAnswers(const std::string& answersFile, TAnswers answers);
// Raises "Unable to write to %s" when the file cannot be written.
void SaveAnswers(const std::string& answersFile, const TAnswers& answers);

}  // namespace quenby
