#include "win/InstallationLock.h"

#include <exception>

#include "base/InstallRecord.h"
#include "win/AdminOnlySecurity.h"
#include "win/SystemText.h"

namespace quenby {

// Why a file, and why there:
// - Any user may create a named mutex first, in his session or the global one, and keep every Setup out.
//   A private namespace bounded by the administrators would not let him, but Wine has none.
// - Users cannot create files in the machine's Windows directory, so none can make the lock file first.
//   An existing one was made by an administrator (an earlier run's) and is used as it is. The system's
//   Windows directory is the one all sessions share, and unlike System32 a 32-bit process sees the same.
// - Only the system and the administrators may open it, so no user can hold it open to keep Setup out
//   (an open for the attributes only, which listing the folder allows, does not count against sharing).
// - It is never deleted: a file deleted on close stays "delete pending", refusing every open, for as long
//   as anyone still has it open for the attributes.
// The system closes the handle when the process ends, after a crash too.
std::string InstallationLockPath() {
    try {
        return PlatformDirectory(GetSystemWindowsDirectoryA, "Windows") + "\\" + kInstallationLockFileName;
    } catch (const std::exception&) {
        return {};
    }
}

TInstallationLock::TInstallationLock() {
    const std::string path = InstallationLockPath();
    TAdminOnlySecurity security(kAdminOnlyFileSddl);
    if (path.empty() || !security.Get()) return;
    m_file = THandle(
        CreateFileA(path.c_str(), GENERIC_READ, 0, security.Get(), OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace quenby
