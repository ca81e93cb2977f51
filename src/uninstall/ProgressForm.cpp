#include "uninstall/ProgressForm.h"

#include "ui/Application.h"

namespace quenby {

TUninstallForm::TUninstallForm(const std::string& displayName)
    : TFormOf(forms::kUninstallForm) {
    Create(nullptr);
    SetCaption("Uninstall " + displayName);
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
    // The run does its work on this thread: let the window answer while it goes on.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ui::TApplication::Instance().ProcessMessage(message);
}

}  // namespace quenby
