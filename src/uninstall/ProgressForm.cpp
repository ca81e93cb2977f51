#include "uninstall/ProgressForm.h"

#include "ui/Application.h"

namespace quenby {

TUninstallForm::TUninstallForm(const std::string& displayName)
    : TForm(forms::kUninstallForm, forms::kUninstallControls) {
    Create(nullptr);
    SetCaption("Uninstall " + displayName);
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
