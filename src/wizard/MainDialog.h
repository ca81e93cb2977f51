// The wizard dialog: a fixed frame (icon, instruction text, two rules, three buttons) with four pages'
// panels, one on view at a time, and a state whose Next runs one action: the next notice, the user
// page, the destination page, the copy step or the finish page. The backdrop creates it once and runs
// it modally; it is also the host that the installation engine reports to.
#pragma once
#include <string>

#include "win/DdeClientConv.h"
#include "install/InstallHost.h"
#include "base/Instructions.h"
#include "dirtree/dirtree.h"
#include "ui/Form.h"
#include "wizard/forms/MainDialogForm.h"

namespace quenby {

class TMainWindow;

class TMainDialog final : public ui::TFormOf<forms::kMainDialogControls>, public TInstallHost {
public:
    explicit TMainDialog(TMainWindow& backdrop);
    // Against instructions that the caller keeps alive (tests, tools).
    TMainDialog(const TInstructions& instructions, HWND owner);
    ~TMainDialog() override;

    TWizardState WizardState() const { return m_state; }
    int StartInfoIndex() const { return m_startInfo; }
    int EndInfoIndex() const { return m_endInfo; }
    Tdirtree& DirTree() { return m_tree; }

    // TInstallHost
    HWND Window() const override { return Handle(); }
    const TInstructions& Instructions() const override { return m_instructions; }
    const std::string& UserName() const override { return m_userName; }
    const std::string& Organisation() const override { return m_organisation; }
    TCopyResume& Resume() override { return m_resume; }
    void SetInfoText(const std::string& text) override;
    void HideDestinationPanel() override;
    void ShowProgressPanel() override;
    std::string DestinationPath() const override;
    void SetSourceText(const std::string& text) override;
    void SetDestinationText(const std::string& text) override;
    void SetProgressText(const std::string& text) override;
    int ProgressPosition() const override;
    void SetProgressPosition(int position) override;
    void SetPrevEnabled(bool enabled) override;
    void SetWizardState(TWizardState state) override { m_state = state; }
    void SetBusyCursor(bool busy) override;
    void RunProgramGroupStep(const std::string& destination, const std::string& windowsDir) override;
    void RunAddOnsStep() override;
    void CloseConversation() override;

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

    static const ui::TEventRow<TMainDialog> kEvents[];
    const TInstructions& m_instructions;
    TWizardState m_state = kStateNone;
    int m_startInfo = 0;
    int m_endInfo = 0;
    std::string m_userName;
    std::string m_organisation;
    TCopyResume m_resume;
    TDdeClientConv m_conv;
    Tdirtree m_tree;
};

}  // namespace quenby
