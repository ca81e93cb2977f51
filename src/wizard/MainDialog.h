// The wizard dialog: a fixed frame (icon, instruction text, two rules, three buttons) with four pages'
// panels, one on view at a time, and a state whose Next runs one action: the next notice, the user
// page, the destination page, the copy step or the finish page. The backdrop creates it once and runs
// it modally; it is also the sink that the installation engine reports to.
#pragma once
#include <string>

#include "base/Instructions.h"
#include "dirtree/dirtree.h"
#include "install/InstallSink.h"
#include "install/Installation.h"
#include "ui/Form.h"
#include "win/LogFile.h"
#include "wizard/forms/MainDialogForm.h"

namespace quenby {

class TMainWindow;

// Where the wizard stands: what its Next does. A completed copy run moves it on to kStateInstalled.
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

class TMainDialog final : public ui::TFormOf<forms::kMainDialogControls>, public TInstallSink {
public:
    explicit TMainDialog(TMainWindow& backdrop);
    // Against instructions that the caller keeps alive (tests, tools).
    TMainDialog(const TInstructions& instructions, HWND owner, std::string answersFile = {});
    ~TMainDialog() override;

    TWizardState WizardState() const { return m_state; }
    int StartInfoIndex() const { return m_startInfo; }
    int EndInfoIndex() const { return m_endInfo; }
    Tdirtree& DirTree() { return m_tree; }

    const TInstallation& Installation() const { return m_installation; }

    // TInstallSink
    void RunStarted() override;
    void FileStarted(const std::string& source, const std::string& target) override;
    void FileDone() override;
    void Progress(int position) override;
    void NeedDisk(const std::string& source) override;
    bool RetryDamaged(const std::string& source) override;
    void Done() override;
    void RunEnded() override;
    HWND Owner() const override { return Handle(); }

private:
    void FormCreate() override;
    void FormClose() override;
    void ControlEvent(ui::TControl& control) override;
    void NextButClick();
    void PrevButClick();
    void CancelButClick();
    void DirTreeChange();
    void SetUpDirTree();

    // The pages.
    void ShowPlugs();
    void GetNames();
    void GetDestination();
    void GoodBye();
    void ShowProductParagraphs();
    // Hides the other pages' panels and shows the notice panel at once.
    void ShowNoticePanel();
    void ShowPanel(TName panel, bool visible);
    void SetInfoText(const std::string& text);

    static const ui::TEventRow<TMainDialog> kEvents[];
    const TInstructions& m_instructions;
    TWizardState m_state = kStateNone;
    int m_startInfo = 0;
    int m_endInfo = 0;
    std::string m_userName;
    std::string m_organisation;
    TInstallation m_installation;
    Tdirtree m_tree;
    std::string m_answersFile;  // /SAVEINF
    TLogFile* m_log = nullptr;  // /LOG
};

}  // namespace quenby
