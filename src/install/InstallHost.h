// What the installation engine (copy step, program group, registry updates) sees of the wizard
// dialog that runs it. The dialog implements it; in-process tests may too.
#pragma once
#include <windows.h>

#include <string>

#include "base/Instructions.h"

namespace quenby {

// Where the wizard stands: what its Next does. The copy step moves it on to kStateInstalled.
enum TWizardState : int {
    kStateNone = 0,
    kStateNotices = 200,
    kStateNamesNext = 300,
    kStateNames = 400,
    kStateDestination = 600,
    kStateInstalled = 800,
    kStateFinishNext = 900,
    kStateFinish = 1000,
};

// The parts of a copy run, in order. A retry carries on from the part that failed, so that nothing of
// one installation is done twice (an item sent again, a shared-file counter raised again).
enum class TCopyPart { Files, Group, Registry, AddOns };

// Where an interrupted copy run goes on: set at a disk prompt or a failure, read by the next run.
struct TCopyResume {
    int Position = 0;
    bool SystemFiles = true;  // which list Position belongs to: system files, else product files
    std::string Destination;  // the destination directory of the run that stopped there
    TCopyPart Part = TCopyPart::Files;
    int CountersRaised = 0;   // shared-file counters already raised for this installation
    int AddOnsHandled = 0;    // [AddOns] entries already started or passed over
};

class TInstallHost {
public:
    virtual ~TInstallHost() = default;

    virtual HWND Window() const = 0;
    virtual const TInstructions& Instructions() const = 0;
    virtual const std::string& UserName() const = 0;
    virtual const std::string& Organisation() const = 0;
    virtual TCopyResume& Resume() = 0;

    // Each of these shows its change at once (the copy step handles no input while it runs).
    virtual void SetInfoText(const std::string& text) = 0;         // InfoLabel
    virtual void HideDestinationPanel() = 0;                      // Panel4
    virtual void ShowProgressPanel() = 0;                         // Panel5
    virtual std::string DestinationPath() const = 0;              // EditPath
    virtual void SetSourceText(const std::string& text) = 0;       // SourceLabel
    virtual void SetDestinationText(const std::string& text) = 0;  // DestinationLabel
    virtual void SetProgressText(const std::string& text) = 0;     // ProgressLabel
    virtual int ProgressPosition() const = 0;                     // ProgressBar, 0 to 100
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetPrevEnabled(bool enabled) = 0;                // PrevBut
    virtual void SetWizardState(TWizardState state) = 0;
    virtual void SetBusyCursor(bool busy) = 0;                    // the application-wide cursor

    // The steps of the copy run that talk to Program Manager and the shell (ProgramGroup.h).
    virtual void RunProgramGroupStep(const std::string& destination, const std::string& windowsDir) = 0;
    virtual void RunAddOnsStep() = 0;
    virtual void CloseConversation() = 0;
};

}  // namespace quenby
