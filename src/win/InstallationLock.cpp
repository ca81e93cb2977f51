#include "win/InstallationLock.h"

#include <exception>

#include "base/InstallRecord.h"
#include "win/AdminOnlySecurity.h"
#include "win/NoLinkRemoval.h"
#include "win/PlainFile.h"
#include "win/SystemText.h"

// Why a file in the Windows directory:
// - Any user may make a named mutex first, in his session or the global one. A private namespace bounded
//   by the administrators would stop him, but Wine has none.
// - Users cannot create files in the machine's Windows directory (the one all sessions share, and unlike
//   System32 the same folder for 32-bit and 64-bit processes), so none can make the file first. One found
//   there was left by an administrator's run that crashed, and is used as it is.
// - Only the system and the administrators may open it for its contents, so no user can hold it to keep
//   Setup out. Anyone who may list the folder can still open it for its attributes: harmless to sharing,
//   but a deleted file's name stays "delete pending", refusing every open, while such a handle lives. So
//   the file gives up its name before it is deleted, and is not deleted on close (a crash would do that
//   in place).
// The system closes the handle when the process ends, after a crash too.

namespace quenby {

std::string InstallationLockPath() {
    try {
        return PlatformDirectory(GetSystemWindowsDirectoryA, "Windows") + "\\" + kInstallationLockFileName;
    } catch (const std::exception&) {
        return {};
    }
}

TInstallationLock::TInstallationLock() : m_path(InstallationLockPath()) {
    TAdminOnlySecurity security(kAdminOnlyFileSddl);
    if (m_path.empty() || !security.Get()) return;
    // Deleted on close too: a process killed while it holds the lock leaves no file behind.
    m_file = THandle(CreateFileA(m_path.c_str(), GENERIC_READ | DELETE, 0, security.Get(), OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

TInstallationLock::~TInstallationLock() {
    if (!m_file) return;
    // A name of this run's own; when the rename fails the file is deleted under the lock's name all the same.
    RenameOpenFile(m_file.Get(),
                   m_path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()));
    DeleteOpenFile(m_file.Get());
}

}  // namespace quenby
