#include "win/FileReplace.h"

#include <windows.h>

#include "win/Handles.h"
#include "win/PathCompare.h"
#include "win/PrivateFolder.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

// WININIT.INI is read before long names exist: it takes short ones.
std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

}  // namespace

bool IsInUse(const std::string& path) {
    // Opening for writing changes nothing, and fails exactly where writing the file would.
    const THandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return false;
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

std::string MakeWaitingFolder(const std::string& target) {
    char targetVolume[MAX_PATH] = {}, privateVolume[MAX_PATH] = {};
    if (!GetVolumePathNameA(target.c_str(), targetVolume, MAX_PATH) ||
        !GetVolumePathNameA(PrivateFoldersParent().c_str(), privateVolume, MAX_PATH))
        return {};
    if (!SamePath(targetVolume, privateVolume)) return SetLastError(ERROR_NOT_SAME_DEVICE), std::string();
    return MakePrivateFolder();
}

bool ReplaceAtRestart(const std::string& newFile, const std::string& target) {
    if (MoveFileExA(newFile.c_str(), target.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
        // An empty folder that stays behind harms nothing.
        MoveFileExA(newFile.substr(0, newFile.find_last_of('\\')).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return true;
    }
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    const std::string shortNew = ShortPath(newFile), shortTarget = ShortPath(target);
    if (shortNew.empty() || shortTarget.empty()) return false;
    const std::string wininit = WindowsDirectory() + "\\WININIT.INI";
    return WritePrivateProfileStringA("rename", shortTarget.c_str(), shortNew.c_str(), wininit.c_str()) != 0;
}

}  // namespace quenby
