#include "wizard/MainWin.h"

#include "base/Errors.h"
#include "base/ExitCodes.h"
#include "base/ProductCaption.h"
#include "base/RightAlign.h"
#include "base/Texts.h"
#include "install/InstructionsFile.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "wizard/MainDialog.h"

namespace quenby {

const ui::TEventRow<TMainWindow> TMainWindow::kEvents[] = {
    {"Timer", &TMainWindow::TimerTimer},
};

TMainWindow::TMainWindow(std::string answersFile, TLogFile* log)
    : TFormOf(forms::kMainWindowForm), m_answersFile(std::move(answersFile)), m_log(log) {
    Create(nullptr);
}

TMainWindow::~TMainWindow() { Destroy(); }

const TInstructions& TMainWindow::Instructions() const {
    if (!m_instructions) throw EProgramFault("the installation instructions are gone");
    return *m_instructions;
}

void TMainWindow::FormCreate() {
    SetBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    m_instructions = std::make_unique<TInstructions>();
    try {
        ui::TBusyCursor busy;
        *m_instructions = ReadInstructionsFromMedium();
    } catch (const Exception& error) {
        // Shown when the wizard would open, and the program ends as without instructions.
        m_readError = ErrorBoxText(error);
    }
    if (m_instructions->Missing) return;
    const TInstructions& instructions = *m_instructions;
    if (const auto product = ProductCaption(instructions.Application, instructions.Version))
        SetShadedCaption("ProductLabel", "ProductShadeLabel", *product);
    if (!instructions.Copyright.empty()) SetShadedCaption("ByLabel", "ByShadeLabel", instructions.Copyright);
    if (!instructions.WebAddress.empty()) SetShadedCaption("WebLabel", "WebShadeLabel", instructions.WebAddress);
    if (!instructions.EmailAddress.empty())
        SetShadedCaption("EmailLabel", "EmailShadeLabel", instructions.EmailAddress);
    SetCaption(instructions.DisplayTitle);
}

void TMainWindow::SetShadedCaption(TName label, TName shade, const std::string& caption) {
    Control(label).SetCaption(caption);
    Control(shade).SetCaption(caption);
}

void TMainWindow::FormShow() {
    // Both positions come from the white label's width.
    for (const auto& [label, shade] : {std::pair{TName("WebLabel"), TName("WebShadeLabel")},
                                       std::pair{TName("EmailLabel"), TName("EmailShadeLabel")}}) {
        const TRightAligned place = RightAlign(Width(), Control(label).Width(), ui::Scale(kRightMargin));
        Control(label).SetLeft(place.Left);
        Control(shade).SetLeft(place.ShadeLeft);
    }
}

void TMainWindow::ControlEvent(ui::TControl& control) { ui::RouteEvent(*this, kEvents, control); }

void TMainWindow::TimerTimer() {
    Control("Timer").SetEnabled(false);
    if (!m_instructions || m_instructions->Missing) {
        ui::TApplication::Instance().SetExitCode(kExitFailed);
        MessageBoxA(Handle(), m_readError.empty() ? kNoInstructionsText : m_readError.c_str(), kNoInstructionsCaption,
                    MB_ICONERROR | MB_OK);
        Close();
        return;
    }
    Runit();
}

void TMainWindow::Runit() {
    m_dialog = std::make_unique<TMainDialog>(*this);
    m_dialog->ShowModal();
}

void TMainWindow::FormDestroy() { m_instructions.reset(); }

}  // namespace quenby
