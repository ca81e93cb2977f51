// What Setup.exe and Uninstall.exe end with, for whoever started them: Windows Installer's codes, which
// deployment tools already read (0 and 3010 count as success by default).
#pragma once

namespace quenby {

inline constexpr int kExitDone = 0;              // installed, or removed (leftovers listed)
inline constexpr int kExitRestartNeeded = 3010;  // the same, but something waits for the restart
inline constexpr int kExitUserLeft = 1602;       // the user left before completing
inline constexpr int kExitFailed = 1603;
inline constexpr int kExitAnotherRunning = 1618;  // another Quenby setup or uninstall holds the lock
inline constexpr int kExitBadCommandLine = 87;
inline constexpr int kExitUnknownProduct = 1605;  // removal: no log and no entry names that folder
inline constexpr int kExitDiskFull = 112;         // a drive has not the room the installation needs: nothing written

}  // namespace quenby
