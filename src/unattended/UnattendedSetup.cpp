#include "unattended/UnattendedSetup.h"

#include <optional>

#include "base/Errors.h"
#include "base/ExitCodes.h"
#include "base/Texts.h"
#include "install/Installation.h"
#include "install/InstructionsFile.h"
#include "unattended/SetupLog.h"
#include "unattended/UnattendedSink.h"
#include "win/FileSystem.h"
#include "win/profile.h"

namespace quenby {

namespace {

// What the wizard's pages propose: the instructions' directory, the registered owner and organisation.
struct TProposed {
    std::string Dir, Name, Org;
};

TProposed Proposed(const TInstructions& instructions) {
    TProposed proposed{instructions.Directory, {}, {}};
    TRegistryKey key;
    key.SetRoot(HKEY_LOCAL_MACHINE);
    if (key.OpenExistingKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", KEY_QUERY_VALUE)) {
        proposed.Name = key.ReadValueText("RegisteredOwner");
        proposed.Org = key.ReadValueText("RegisteredOrganization");
    }
    return proposed;
}

// The command line wins over the answers file, which wins over what is proposed.
std::string Answer(const std::optional<std::string>& given, const std::string& answersFile, const char* key,
                   const std::string& proposed) {
    if (given) return *given;
    if (answersFile.empty()) return proposed;
    return TProfileFile(answersFile).ReadText(kAnswersSection, key, proposed);
}

int Install(const TSetupOptions& options, TSetupLog& log) {
    const TInstructions instructions = ReadInstructionsFromMedium();
    if (instructions.Missing) throw Exception(std::string(kNoInstructionsText) + " " + instructions.InstructionsPath);
    // A mistyped answers file must not install with the proposed answers.
    if (!options.LoadInf.empty() && !IsFile(options.LoadInf)) throw EFOpenError(options.LoadInf);
    const TProposed proposed = Proposed(instructions);
    const std::string dir = Answer(options.Dir, options.LoadInf, kAnswersDirKey, proposed.Dir);
    const TUserAnswers answers{Answer(options.Name, options.LoadInf, kAnswersNameKey, proposed.Name),
                               Answer(options.Org, options.LoadInf, kAnswersOrgKey, proposed.Org)};
    log.Line(kLogDestination, dir);
    log.Line(kLogName, answers.UserName);
    log.Line(kLogOrganization, answers.Organisation);

    TUnattendedSink sink(instructions, log, options.Mode == TSetupMode::Silent, options.AddOns);
    TInstallation installation(instructions);
    installation.Run(dir, answers, sink);
    if (!sink.Completed()) return kExitFailed;  // the next disk is not there: nobody can put it in
    return installation.RestartNeeded() ? kExitRestartNeeded : kExitDone;
}

}  // namespace

int RunUnattendedSetup(const TSetupOptions& options, const std::string& commandLine) {
    std::optional<TSetupLog> log;
    try {
        log.emplace(options.Log);
    } catch (const std::exception&) {
        return kExitFailed;  // nowhere to say why; the code says it failed
    }
    log->Line(kLogCommandLine, commandLine);
    int code = kExitFailed;
    try {
        code = Install(options, *log);
    } catch (const std::exception& error) {
        log->Line(kLogError, error.what());
    }
    log->Line(kLogExitCode, std::to_string(code));
    return code;
}

}  // namespace quenby
