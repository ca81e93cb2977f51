#include "win/InstallationLock.h"

#include "base/InstallRecord.h"

namespace quenby {

// The mutex stays owned until the process ends (the system releases it then, also after a crash), so a
// second start is refused however the first one ends.
TInstallationLock::TInstallationLock() : m_mutex(CreateMutexA(nullptr, TRUE, kInstallationMutexName)) {
    m_held = m_mutex && GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace quenby
