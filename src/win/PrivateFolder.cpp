#include "win/PrivateFolder.h"

#include <windows.h>

#include "win/AdminOnlySecurity.h"
#include "win/SystemText.h"

namespace quenby {

std::string PrivateFoldersParent() { return WindowsDirectory() + "\\Temp"; }

std::string MakePrivateFolder() {
    TAdminOnlySecurity security(kAdminOnlyFolderSddl);
    if (!security.Get()) return {};
    const std::string base = PrivateFoldersParent() + "\\Quenby-" + std::to_string(GetCurrentProcessId()) + "-";
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = base + std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(folder.c_str(), security.Get())) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace quenby
