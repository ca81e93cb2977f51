// The splash window, shown for three seconds before anything else.
#pragma once
#include "ui/Form.h"
#include "wizard/forms/WaitDialogForm.h"

namespace quenby {

class TWaitDialog final : public ui::TFormOf<forms::kWaitDialogControls> {
public:
    TWaitDialog();
    ~TWaitDialog() override;
};

// Start-up steps 1 to 3: the splash on screen and painted, the GUI thread blocked 3000 ms (no messages
// processed), the splash destroyed.
void ShowSplash();

}  // namespace quenby
