// The wizard as the installation engine's sink: the destination page gives way to the progress panel,
// each file shows its source and target, the bar moves, and the fixed pauses let a person watch. The
// copy step handles no input while it runs, so every change is painted before the event returns.
#include "wizard/MainDialog.h"
#include "base/ExitCodes.h"
#include "base/InstallRecord.h"
#include "base/PathLabel.h"
#include "base/Texts.h"
#include "ui/Application.h"
#include "win/Pause.h"

namespace quenby {

namespace {

constexpr unsigned kPauseAfterFile = 500;
constexpr unsigned kPauseAfterRun = 1000;

}  // namespace

void TMainDialog::SetInfoText(const std::string& text) { Control("InfoLabel").SetCaption(text); }

void TMainDialog::RunStarted() {
    ShowPanel("Panel4", false);
    UpdateWindow(Handle());
    SetInfoText(CopyingInfo(m_instructions.Application, m_instructions.Version));
    ShowPanel("Panel5", true);
    Control("Panel5").Repaint();
    Control("ProgressLabel").SetCaption("");
    ui::TApplication::Instance().SetCursor(ui::TCursor::HourGlass);
}

void TMainDialog::FileStarted(const std::string& source, const std::string& target) {
    LookAtQueue();
    Control("SourceLabel").SetCaption(PathLabel(source));
    Control("DestinationLabel").SetCaption(PathLabel(target));
}

void TMainDialog::FileDone() { Pause(kPauseAfterFile); }

void TMainDialog::Progress(int position) {
    ui::TControl& bar = Control("ProgressBar");
    bar.SetPosition(position);
    UpdateWindow(bar.Handle());
}

void TMainDialog::NeedDisk(const std::string&) {
    MessageBeep(MB_ICONEXCLAMATION);
    Control("ProgressLabel").SetCaption(kDiskPrompt);
}

bool TMainDialog::RetryDamaged(const std::string& source) {
    DropQueuedInput();
    return MessageBoxA(Handle(), DamagedFileQuestion(source).c_str(), m_instructions.DisplayTitle.c_str(),
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

void TMainDialog::Done() {
    SetInfoText(InstalledInfo(m_instructions.Application, m_instructions.Version));
    m_state = kStateInstalled;
    ui::TApplication::Instance().SetExitCode(m_installation.RestartNeeded() ? kExitRestartNeeded : kExitDone);
    ui::TControl& button = Control("PrevBut");
    button.SetEnabled(false);
    UpdateWindow(button.Handle());
    if (m_installation.RestartNeeded()) {
        DropQueuedInput();
        const std::string text = RestartNeededText(DisplayName(m_instructions.Application, m_instructions.Version));
        MessageBoxA(Handle(), text.c_str(), m_instructions.DisplayTitle.c_str(), MB_OK | MB_ICONINFORMATION);
    }
}

void TMainDialog::RunEnded() {
    Pause(kPauseAfterRun);
    SetForegroundWindow(Handle());
    ui::TApplication::Instance().SetCursor(ui::TCursor::Default);
}

}  // namespace quenby
