// A stand-in for the wizard dialog that records what the installation engine shows and calls, so that
// the engine can run in-process on real files and registry.
#pragma once
#include <string>
#include <vector>

#include "install/InstallHost.h"

namespace quenby::test {

class TFakeInstallHost : public TInstallHost {
public:
    TFakeInstallHost();

    // Set by the test before a run.
    TInstructions Setup;
    std::string Destination;
    std::string User = "Ada Lovelace";
    std::string Org = "Analytical Engines Ltd";
    TCopyResume ResumeValue;
    int Position = 0;
    TWizardState State = kStateDestination;

    // Recorded.
    bool PrevEnabled = true;
    bool Busy = false;
    std::string Info, Source, Target, Prompt;
    std::vector<int> Positions;       // every position set, in order
    std::vector<std::string> Calls;   // panel changes and the steps called, in order

    // The per-file step as the instructions reader derives it from the list sizes.
    void DeriveProgressStep();

    HWND Window() const override { return nullptr; }
    const TInstructions& Instructions() const override { return Setup; }
    const std::string& UserName() const override { return User; }
    const std::string& Organisation() const override { return Org; }
    TCopyResume& Resume() override { return ResumeValue; }
    void SetInfoText(const std::string& text) override { Info = text; }
    void HideDestinationPanel() override { Calls.push_back("HideDestinationPanel"); }
    void ShowProgressPanel() override { Calls.push_back("ShowProgressPanel"); }
    std::string DestinationPath() const override { return Destination; }
    void SetSourceText(const std::string& text) override { Source = text; }
    void SetDestinationText(const std::string& text) override { Target = text; }
    void SetProgressText(const std::string& text) override { Prompt = text; }
    int ProgressPosition() const override { return Position; }
    void SetProgressPosition(int position) override;
    void SetPrevEnabled(bool enabled) override { PrevEnabled = enabled; }
    void SetWizardState(TWizardState state) override { State = state; }
    void SetBusyCursor(bool busy) override { Busy = busy; }
    void RunProgramGroupStep(const std::string& destination, const std::string& windowsDir) override;
    void RunAddOnsStep() override { Calls.push_back("AddOns"); }
    void CloseConversation() override { Calls.push_back("CloseConversation"); }
};

// Switches the program's pauses off and records them instead.
class TRecordedPauses {
public:
    TRecordedPauses();
    ~TRecordedPauses();
    TRecordedPauses(const TRecordedPauses&) = delete;
    TRecordedPauses& operator=(const TRecordedPauses&) = delete;
    static std::vector<unsigned>& Taken();
};

}  // namespace quenby::test
