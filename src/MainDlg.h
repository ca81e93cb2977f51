// The wizard dialog: a fixed frame (icon, instruction text, two rules, three buttons) whose Next runs
// one action chosen by the wizard state. The backdrop creates it once and runs it modally.
#pragma once
#include "Instructions.h"
#include "ui/Form.h"

namespace quenby {

class TMainWindow;

// The wizard state codes.
enum TWizardState : int {
    kStateNotices = 200,
    kStateNamesNext = 300,
    kStateNames = 400,
    kStateDestination = 600,
    kStateInstalled = 800,
    kStateFinishNext = 900,
    kStateFinish = 1000,
};

class TMainDialog final : public ui::TForm {
public:
    explicit TMainDialog(TMainWindow& backdrop);
    ~TMainDialog() override;

    int WizardState() const { return m_state; }
    const TInstructions& Instructions() const { return m_instructions; }

private:
    void FormCreate() override;
    void FormClose() override;
    void ControlEvent(ui::TControl& control) override;
    void NextButClick();
    void PrevButClick();
    void CancelButClick();

    static const ui::TEventRow<TMainDialog> kEvents[];
    const TInstructions& m_instructions;
    int m_state = 0;
};

}  // namespace quenby
