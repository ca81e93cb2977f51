// The backdrop window: full screen behind the wizard, with the product's lines; it owns the
// installation instructions and, one second after its creation, opens the wizard.
#pragma once
#include <memory>
#include <string>

#include "base/Instructions.h"
#include "ui/Form.h"

namespace quenby {

class TMainDialog;

class TMainWindow final : public ui::TForm {
public:
    TMainWindow();
    ~TMainWindow() override;

    const TInstructions& Instructions() const;

private:
    void FormCreate() override;
    void FormShow() override;
    void FormDestroy() override;
    void ControlEvent(ui::TControl& control) override;
    void TimerTimer();
    void Runit();
    void SetShadedCaption(const char* label, const char* shade, const std::string& caption);

    static const ui::TEventRow<TMainWindow> kEvents[];
    std::unique_ptr<TInstructions> m_instructions;
    std::string m_readError;  // why the instructions could not be read, for the error box
    std::unique_ptr<TMainDialog> m_dialog;
};

}  // namespace quenby
