#include "win/Pause.h"

#include <windows.h>

namespace quenby {

namespace {
void (*g_pause)(unsigned) = nullptr;
}

void Pause(unsigned milliseconds) {
    if (g_pause)
        g_pause(milliseconds);
    else
        Sleep(milliseconds);
}

void SetPauseFunction(void (*pause)(unsigned)) { g_pause = pause; }

}  // namespace quenby
