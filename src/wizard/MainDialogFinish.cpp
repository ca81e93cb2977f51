// The two pages that end a run: the finish page and the interruption page.
#include "wizard/MainDialog.h"
#include "base/ExitCodes.h"
#include "base/Texts.h"
#include "ui/Application.h"

namespace quenby {

void TMainDialog::GoodBye() {
    Control("PrevBut").SetEnabled(false);
    Control("NextBut").SetCaption(kFinishCaption);
    Control("CancelBut").SetEnabled(false);
    SetInfoText(FinishInfo(m_instructions.Application, m_instructions.Version));
    ShowProductParagraphs();
    // Without closing notices the progress panel is still on view; the paragraphs are meant to be seen.
    if (!Control("Panel1").Visible()) ShowNoticePanel();
    m_state = kStateFinish;
}

void TMainDialog::CancelButClick() {
    // After a completed copy step the installation stands, whatever the user leaves after it.
    if (m_state < kStateInstalled)
        ui::TApplication::Instance().SetExitCode(m_installation.LastRunFailed() ? kExitFailed : kExitUserLeft);
    Control("PrevBut").SetEnabled(false);
    Control("NextBut").SetCaption(kFinishCaption);
    Control("CancelBut").SetEnabled(false);
    SetInfoText(InterruptedInfo(m_instructions.Application, m_instructions.Version));
    ui::TControl& memo = Control("InfoMemo");
    memo.ClearLines();
    for (const char* line : kInterruptedLines) {
        memo.AddLine(line);
        memo.AddLine("");
    }
    ShowNoticePanel();
    m_state = kStateFinish;
}

}  // namespace quenby
