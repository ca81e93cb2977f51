// One Quenby installation or removal at a time on a machine, whatever the session: a file in the Windows
// directory held open without sharing by the process that does the work, for its whole run. Setup.exe
// takes it; the uninstaller takes the same one.
#pragma once
#include <string>

#include "win/Handles.h"

namespace quenby {

// The lock file's path; empty when the Windows directory cannot be read.
std::string InstallationLockPath();

class TInstallationLock {
public:
    TInstallationLock();
    ~TInstallationLock();
    // False when another process held it already: that run goes on, this one must not start.
    bool Held() const { return static_cast<bool>(m_file); }

private:
    std::string m_path;
    THandle m_file;
};

}  // namespace quenby
