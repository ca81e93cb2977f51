#include "win/NoLinkRemoval.h"

#include <algorithm>
#include <vector>

#include "win/FileSystem.h"
#include "win/Handles.h"
#include "win/PrivateFolder.h"

namespace quenby {

namespace {

using TGetFinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

}  // namespace

// Looked up at run time: Windows XP lacks it. The wide call, given room enough, asks the system once; Wine's
// narrow one asks twice, for the size and then for the name, and it runs for every file a run makes.
std::string FinalPathOfHandle(HANDLE handle, bool& known) {
    static const auto getFinalPath =
        ProcedureOf<TGetFinalPath>(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW");
    known = getFinalPath != nullptr;
    if (!known) return {};
    std::vector<wchar_t> wide(MAX_PATH + 8);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD size = getFinalPath(handle, wide.data(), static_cast<DWORD>(wide.size()), FILE_NAME_NORMALIZED);
        if (size == 0) return {};
        if (size < wide.size()) {
            wide.resize(size);
            break;
        }
        if (attempt == 1) return {};
        wide.assign(size + 1, L'\0');
    }
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), path.data(), length, nullptr,
                            nullptr);
    if (path.starts_with("\\\\?\\UNC\\")) {
        path.erase(0, 6);  // "\\?\UNC\server" to "\\server"
        path[0] = '\\';
    } else if (path.starts_with("\\\\?\\")) {
        path.erase(0, 4);
    }
    return path;
}

std::string FinalPathOf(const std::string& path) {
    const THandle handle(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return {};
    bool known = false;
    const std::string final = FinalPathOfHandle(handle.Get(), known);
    return known ? final : path;
}

bool IsReachedThroughLink(const std::string& path) {
    auto isLink = [](const std::string& part) {
        const DWORD attributes = GetFileAttributesA(part.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    };
    // From the root on: "C:\", "C:\a", "C:\a\b"; a UNC path from its share on.
    const std::size_t root = path.starts_with("\\\\") ? path.find('\\', path.find('\\', 2) + 1) : path.find('\\');
    for (std::size_t end = root;; end = path.find('\\', end + 1)) {
        if (isLink(end == std::string::npos ? path : path.substr(0, end == root ? end + 1 : end))) return true;
        if (end == std::string::npos) return false;
    }
}

bool RenameOpenFile(HANDLE file, const std::string& newPath) {
    const int length = MultiByteToWideChar(CP_ACP, 0, newPath.c_str(), -1, nullptr, 0);
    if (length <= 0) return false;
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + sizeof(WCHAR) * static_cast<std::size_t>(length));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(sizeof(WCHAR) * static_cast<std::size_t>(length - 1));
    MultiByteToWideChar(CP_ACP, 0, newPath.c_str(), -1, info->FileName, length);
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}

bool DeleteAtRestart(HANDLE file, const std::string& path) {
    const std::string folder = MakePrivateFolder();
    if (folder.empty()) return false;
    const std::string aside = folder + "\\" + path.substr(path.find_last_of('\\') + 1);
    if (RenameOpenFile(file, aside)) {
        // The file first: the folder goes once it is empty.
        if (MoveFileExA(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) &&
            MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
            return true;
        const DWORD error = GetLastError();
        RenameOpenFile(file, path);
        SetLastError(error);
    }
    const DWORD error = GetLastError();
    RemoveDirectoryA(folder.c_str());
    SetLastError(error);
    return false;
}

TRemovalResult RemoveWithoutLinks(const std::string& path,
                                  const std::function<bool(const std::string&)>& finalAllowed) {
    if (IsReachedThroughLink(path)) return {TRemoval::ThroughLink};
    const THandle handle(CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        if (IsGoneError(error)) return {TRemoval::Gone};
        return {error == ERROR_SHARING_VIOLATION ? TRemoval::InUse : TRemoval::Failed, error};
    }
    FILE_BASIC_INFO info{};  // the attributes alone: see IsPlainFileAt
    if (!GetFileInformationByHandleEx(handle.Get(), FileBasicInfo, &info, sizeof info))
        return {TRemoval::Failed, GetLastError()};
    if (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return {TRemoval::ThroughLink};
    // Where the handle really is: a link swapped in after the walk above still shows here.
    bool known = false;
    const std::string final = FinalPathOfHandle(handle.Get(), known);
    if (known && (final.empty() || !finalAllowed(final))) return {TRemoval::ThroughLink};
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (SetFileInformationByHandle(handle.Get(), FileDispositionInfo, &disposition, sizeof disposition))
        return {TRemoval::Removed};
    const DWORD error = GetLastError();
    if (error == ERROR_DIR_NOT_EMPTY) return {TRemoval::NotEmpty};
    // A running program's image or a mapped file refuses deletion (as access denied) but not a move.
    if (error != ERROR_SHARING_VIOLATION &&
        (error != ERROR_ACCESS_DENIED || (info.FileAttributes & FILE_ATTRIBUTE_READONLY)))
        return {TRemoval::Failed, error};
    if (DeleteAtRestart(handle.Get(), path)) return {TRemoval::AtRestart};
    return {TRemoval::InUse, GetLastError()};
}

}  // namespace quenby
