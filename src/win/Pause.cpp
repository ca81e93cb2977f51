#include "win/Pause.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace quenby {

namespace {

// Windows marks a window hung once its thread has not looked at its queue for 5 s.
constexpr DWORD kLookEveryMs = 100;
// A window that leaves itself invalid would get WM_PAINT for ever.
constexpr int kMostPaintsPerLook = 64;
}  // namespace

void LookAtQueue() {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    for (int i = 0; i < kMostPaintsPerLook && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageA(&msg);
}

void DropQueuedInput() {
    MSG msg;
    for (const auto& [first, last] : {std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST},
                                      {WM_MOUSEFIRST, WM_MOUSELAST},
                                      {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}})
        while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE)) {}
}

void Pause(unsigned milliseconds) {
    const DWORD start = GetTickCount();
    for (DWORD passed = 0; passed < milliseconds; passed = GetTickCount() - start) {
        LookAtQueue();
        Sleep(std::min<DWORD>(milliseconds - passed, kLookEveryMs));
    }
    LookAtQueue();
}

}  // namespace quenby
