// The hourglass for the guard's life; the cursor shown before comes back also when an exception leaves.
#pragma once
#include <windows.h>

namespace quenby {

class TWaitCursor {
public:
    TWaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~TWaitCursor() { SetCursor(m_previous); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

}  // namespace quenby
