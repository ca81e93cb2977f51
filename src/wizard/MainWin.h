// The backdrop window: full screen behind the wizard, with the product's lines; it owns the
// installation instructions and, one second after its creation, opens the wizard.
#pragma once
#include <memory>
#include <string>

#include "base/Instructions.h"
#include "ui/Form.h"
#include "win/LogFile.h"
#include "wizard/forms/MainWindowForm.h"

namespace quenby {

class TMainDialog;

class TMainWindow final : public ui::TFormOf<forms::kMainWindowControls> {
public:
    // answersFile: where /SAVEINF writes the answers when the copy step starts; empty for none. log: /LOG's
    // file, which the copy runs write to; none without /LOG.
    explicit TMainWindow(std::string answersFile = {}, TLogFile* log = nullptr);
    ~TMainWindow() override;

    const TInstructions& Instructions() const;
    const std::string& AnswersFile() const { return m_answersFile; }
    TLogFile* Log() const { return m_log; }

private:
    void FormCreate() override;
    void FormShow() override;
    void FormDestroy() override;
    void ControlEvent(ui::TControl& control) override;
    void TimerTimer();
    void Runit();
    void SetShadedCaption(TName label, TName shade, const std::string& caption);

    static const ui::TEventRow<TMainWindow> kEvents[];
    std::unique_ptr<TInstructions> m_instructions;
    std::string m_readError;  // why the instructions could not be read, for the error box
    std::unique_ptr<TMainDialog> m_dialog;
    std::string m_answersFile;
    TLogFile* m_log;
};

}  // namespace quenby
