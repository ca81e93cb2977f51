// What the installation engine sees of the wizard. The copy step handles no input while it runs, so
// every change is painted before the setter returns.
#include "wizard/MainDialog.h"
#include "install/ProgramGroup.h"
#include "ui/Application.h"

namespace quenby {

void TMainDialog::SetInfoText(const std::string& text) { Control("InfoLabel").SetCaption(text); }

void TMainDialog::HideDestinationPanel() {
    ShowPanel("Panel4", false);
    UpdateWindow(Handle());
}

void TMainDialog::ShowProgressPanel() {
    ShowPanel("Panel5", true);
    Control("Panel5").Repaint();
}

std::string TMainDialog::DestinationPath() const {
    return Control("EditPath").Caption();
}

void TMainDialog::SetSourceText(const std::string& text) { Control("SourceLabel").SetCaption(text); }

void TMainDialog::SetDestinationText(const std::string& text) { Control("DestinationLabel").SetCaption(text); }

void TMainDialog::SetProgressText(const std::string& text) { Control("ProgressLabel").SetCaption(text); }

int TMainDialog::ProgressPosition() const { return Control("ProgressBar").Position(); }

void TMainDialog::SetProgressPosition(int position) {
    ui::TControl& bar = Control("ProgressBar");
    bar.SetPosition(position);
    UpdateWindow(bar.Handle());
}

void TMainDialog::SetPrevEnabled(bool enabled) {
    ui::TControl& button = Control("PrevBut");
    button.SetEnabled(enabled);
    UpdateWindow(button.Handle());
}

void TMainDialog::SetBusyCursor(bool busy) {
    ui::TApplication::Instance().SetCursor(busy ? ui::TCursor::HourGlass : ui::TCursor::Default);
}

void TMainDialog::RunProgramGroupStep(const std::string& destination, const std::string& windowsDir) {
    CreateProgramGroup(m_conv, m_instructions, destination, windowsDir);
}

void TMainDialog::RunAddOnsStep() { StartAddOns(Window(), m_instructions, m_resume.AddOnsHandled); }

void TMainDialog::CloseConversation() { m_conv.Close(); }

}  // namespace quenby
