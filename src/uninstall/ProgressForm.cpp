#include "uninstall/ProgressForm.h"

#include "base/Texts.h"
#include "win/Pause.h"

namespace quenby {

TUninstallForm::TUninstallForm(const std::string& displayName) : TFormOf(forms::kUninstallForm) {
    Create(nullptr);
    SetCaption(UninstallFormCaption(displayName));
    // Above the centre, where the questions asked during the run do not cover it.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetBounds((work.left + work.right - Width()) / 2, work.top + (work.bottom - work.top) / 4 - Height() / 2, Width(),
              Height());
    Repaint();
}

TUninstallForm::~TUninstallForm() { Destroy(); }

void TUninstallForm::ShowStep(const std::string& item, int percent) {
    Control("ItemLabel").SetCaption(item);
    Control("ProgressBar").SetPosition(percent);
    Repaint();
    // The run does its work on this thread: the window stays painted and never looks hung, while input
    // (and a quit request) waits in the queue for the run's end.
    LookAtQueue();
}

}  // namespace quenby
