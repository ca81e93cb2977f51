// One Quenby installation or removal at a time on a machine: a named mutex held by the process that does
// the work for its whole run. Setup.exe takes it; the uninstaller can take the same one.
#pragma once
#include "win/Handles.h"

namespace quenby {

class TInstallationLock {
public:
    TInstallationLock();
    // False when another process held it already: that run goes on, this one must not start.
    bool Held() const { return m_held; }

private:
    THandle m_mutex;
    bool m_held = false;
};

}  // namespace quenby
