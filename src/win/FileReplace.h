// Putting a new file in the place of an existing one, now or, when the old one is in use, at the next
// restart of Windows.
#pragma once
#include <string>

namespace quenby {

// Whether another program holds the file so that it cannot be written now (a sharing or lock violation).
bool IsInUse(const std::string& path);

// Has `newFile` (in the same folder) replace `target` when Windows next starts: MoveFileEx's delayed
// rename, or the [rename] section of WININIT.INI where MoveFileEx is not implemented (Windows 95, 98, Me).
// False, with the system's error as the last error, when neither can be recorded.
bool ReplaceAtRestart(const std::string& newFile, const std::string& target);

}  // namespace quenby
