#include "wizard/WaitWin.h"

#include "win/Pause.h"
#include "wizard/forms/WaitDialogForm.h"

namespace quenby {

TWaitDialog::TWaitDialog() : TForm(forms::kWaitDialogForm, forms::kWaitDialogControls) { Create(nullptr); }

TWaitDialog::~TWaitDialog() { Destroy(); }

void ShowSplash() {
    TWaitDialog splash;
    splash.Show();
    splash.BringToFront();
    splash.Repaint();
    Pause(3000);
}

}  // namespace quenby
