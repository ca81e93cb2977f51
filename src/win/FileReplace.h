// Putting a new file in the place of an existing one, now or, when the old one is in use, at the next
// restart of Windows.
#pragma once
#include <string>

namespace quenby {

// Whether another program holds the file so that it cannot be written now (a sharing or lock violation).
bool IsInUse(const std::string& path);

// A fresh folder for the new file that replaces `target` at the restart: private (PrivateFolder.h), so that no
// user can change what waits or make its name lead elsewhere, and on the target's drive, the only place a
// restart moves a file from. Empty, with the system's error, when there is none (ERROR_NOT_SAME_DEVICE: the
// private folders are on another drive).
std::string MakeWaitingFolder(const std::string& target);

// Has `newFile`, alone in a folder from MakeWaitingFolder, replace `target` when Windows next starts, the
// folder going after it: MoveFileEx's delayed rename, or the [rename] section of WININIT.INI where MoveFileEx
// is not implemented (Windows 95, 98, Me). False, with the system's error as the last error, when neither can
// be recorded.
bool ReplaceAtRestart(const std::string& newFile, const std::string& target);

}  // namespace quenby
