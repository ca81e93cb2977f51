#include "install/Answers.h"

#include <optional>

#include "base/CommandLine.h"
#include "install/DestinationCheck.h"
#include "win/RegistryKey.h"
#include "win/profile.h"

namespace quenby {

namespace {

constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

}  // namespace

TUserAnswers ProposedUser() {
    TUserAnswers proposed;
    if (const std::optional<TRegistryKey> key = TRegistryKey::Open(HKEY_LOCAL_MACHINE, kWindowsKey, KEY_QUERY_VALUE)) {
        proposed.Organisation = key->ReadText("RegisteredOrganization");
        proposed.UserName = key->ReadText("RegisteredOwner");
    }
    return proposed;
}

TAnswers ProposedAnswers(const TInstructions& instructions) {
    return {InstalledLocation(instructions).value_or(instructions.Directory), ProposedUser()};
}

TAnswers LoadAnswers(const std::string& answersFile, TAnswers answers) {
    const TProfileFile file(answersFile);
    answers.Dir = file.ReadText(kAnswersSection, kAnswersDirKey, answers.Dir);
    answers.User.UserName = file.ReadText(kAnswersSection, kAnswersNameKey, answers.User.UserName);
    answers.User.Organisation = file.ReadText(kAnswersSection, kAnswersOrgKey, answers.User.Organisation);
    return answers;
}

void SaveAnswers(const std::string& answersFile, const TAnswers& answers) {
    const TProfileFile file(answersFile);
    file.WriteText(kAnswersSection, kAnswersDirKey, answers.Dir);
    file.WriteText(kAnswersSection, kAnswersNameKey, answers.User.UserName);
    file.WriteText(kAnswersSection, kAnswersOrgKey, answers.User.Organisation);
}

}  // namespace quenby
