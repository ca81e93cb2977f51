// The common controls library, loaded at run time instead of imported: it is not one of Windows' known
// DLLs, so a static import could be satisfied by a copy planted beside Setup.exe on the medium. Loaded by
// its bare name after the library search was limited to the system folder, so that the manifest's
// version 6 assembly still applies.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace quenby::ui {

// Registers the given control classes (ICC_* flags); loads the library on the first call and keeps it
// for the process's life. Raises Exception when the library or the function is missing.
void InitCommonControls(DWORD classes);

}  // namespace quenby::ui
