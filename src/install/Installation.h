// One installation's session: the engine that one press of Next runs, and everything it must remember
// between runs (where a disk prompt or a failure stopped it, the conversation with Program Manager, the
// counters it already raised). It reports to a sink (InstallSink.h) and knows nothing of its windows.
#pragma once
#include <functional>
#include <string>

#include "base/Instructions.h"
#include "install/InstallSink.h"
#include "install/RunJournal.h"
#include "win/DdeClientConv.h"

namespace quenby {

// The parts of a copy run, in order. A retry carries on from the part that failed, so that nothing of
// one installation is done twice (an item sent again, a shared-file counter raised again).
enum class TCopyPart { Files, Group, Registry, AddOns };

// Where an interrupted copy run goes on: set at a disk prompt or a failure, read by the next run.
struct TCopyResume {
    int Position = 0;
    bool SystemFiles = true;  // which list Position belongs to: system files, else product files
    std::string Destination;  // the destination directory of the run that stopped there
    TCopyPart Part = TCopyPart::Files;
    int CountersRaised = 0;  // shared-file count steps already made (two a file: the user's, the machine's)
    int AddOnsHandled = 0;   // [AddOns] entries already started or passed over
};

// The user's answers that the registry step puts in.
struct TUserAnswers {
    std::string UserName;
    std::string Organisation;
};

class TInstallation {
public:
    explicit TInstallation(const TInstructions& instructions) : m_instructions(instructions) {}

    // The whole installation into `destination`: directories, system and product files, the program group,
    // the registry and the add-ons. A missing source ends the run with NeedDisk, and the next run carries on
    // at that file; any other failure propagates after StepFailed, and the next run on the same destination
    // carries on from the part that failed.
    void Run(const std::string& destination, const TUserAnswers& answers, TInstallSink& sink);

    // From now on a run that fails, or stops for a disk, puts back everything it changed before it ends
    // (an unattended run: nobody will go on with it).
    void UndoOnFailure() { m_undoOnFailure = true; }
    // A test's hook, run as each change is about to be made; it may raise.
    void BeforeEachChange(std::function<void()> hook) { m_beforeEachChange = std::move(hook); }

    // Whether the last run ended in a failure (not at a disk prompt).
    bool LastRunFailed() const { return m_lastRunFailed; }
    int ProgressPosition() const { return m_position; }
    // Whether a file of this installation waits for the next restart to replace one in use.
    bool RestartNeeded() const { return m_restartNeeded; }

private:
    void AddToProgress(int amount, TInstallSink& sink);
    void UndoRun(TRunJournal& journal, TInstallSink& sink);
    void SetProgress(int position, TInstallSink& sink);

    const TInstructions& m_instructions;
    TCopyResume m_resume;
    TDdeClientConv m_conv;
    int m_position = 0;
    bool m_lastRunFailed = false;
    bool m_restartNeeded = false;
    bool m_undoOnFailure = false;
    std::function<void()> m_beforeEachChange;
};

}  // namespace quenby
