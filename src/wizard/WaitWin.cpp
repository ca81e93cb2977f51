#include "wizard/WaitWin.h"

#include "win/Pause.h"

namespace quenby {

TWaitDialog::TWaitDialog() : TFormOf(forms::kWaitDialogForm) { Create(nullptr); }

TWaitDialog::~TWaitDialog() { Destroy(); }

void ShowSplash() {
    TWaitDialog splash;
    splash.Show();
    splash.BringToFront();
    splash.Repaint();
    Pause(3000);
}

}  // namespace quenby
