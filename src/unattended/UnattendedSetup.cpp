#include "unattended/UnattendedSetup.h"

#include <optional>

#include "base/Errors.h"
#include "base/ExitCodes.h"
#include "base/Texts.h"
#include "install/Answers.h"
#include "install/Installation.h"
#include "install/InstructionsFile.h"
#include "install/LoggedSink.h"
#include "unattended/UnattendedSink.h"
#include "win/FileSystem.h"
#include "win/LogFile.h"

namespace quenby {

namespace {

// The command line wins over the answers file, which wins over what is proposed.
TAnswers Answers(const TSetupOptions& options, const TInstructions& instructions) {
    // A folder on the command line spares the look for where the product is installed: the log's whole chain.
    TAnswers answers = options.Dir ? TAnswers{*options.Dir, ProposedUser()} : ProposedAnswers(instructions);
    if (!options.LoadInf.empty()) answers = LoadAnswers(options.LoadInf, answers);
    if (options.Dir) answers.Dir = *options.Dir;
    if (options.Name) answers.User.UserName = *options.Name;
    if (options.Org) answers.User.Organisation = *options.Org;
    return answers;
}

int Install(const TSetupOptions& options, TLogFile& log) {
    const TInstructions instructions = ReadInstructionsFromMedium();
    if (instructions.Missing) throw Exception(std::string(kNoInstructionsText) + " " + instructions.InstructionsPath);
    // A mistyped answers file must not install with the proposed answers.
    if (!options.LoadInf.empty() && !IsFile(options.LoadInf)) throw EFOpenError(options.LoadInf);
    const TAnswers answers = Answers(options, instructions);
    const std::string& dir = answers.Dir;
    log.Line(kLogDestination, dir);
    log.Line(kLogName, answers.User.UserName);
    log.Line(kLogOrganization, answers.User.Organisation);

    TUnattendedSink presenter(instructions, options.Mode == TSetupMode::Silent, options.AddOns);
    TLoggedSink sink(presenter, log);
    TInstallation installation(instructions);
    // A deployment job installs the product or leaves the machine as it found it.
    installation.UndoOnFailure();
    installation.Run(dir, answers.User, sink);
    if (!presenter.Completed()) return kExitFailed;  // the next disk is not there: nobody can put it in
    return installation.RestartNeeded() ? kExitRestartNeeded : kExitDone;
}

}  // namespace

int RunUnattendedSetup(const TSetupOptions& options, const std::string& commandLine) {
    std::optional<TLogFile> log;
    try {
        log.emplace(options.LogWanted && options.Log.empty() ? DatedLogPath(kSetupProgram) : options.Log, kSetupProgram,
                    commandLine);
    } catch (const std::exception&) {
        return kExitFailed;  // nowhere to say why; the code says it failed
    }
    int code = kExitFailed;
    try {
        code = Install(options, *log);
    } catch (const EDiskFull& error) {
        log->Line(kLogError, error.what());
        code = kExitDiskFull;  // nothing was written: deployment tools tell it from a failure
    } catch (const std::exception& error) {
        log->Line(kLogError, error.what());
    }
    log->End(code);
    return code;
}

}  // namespace quenby
