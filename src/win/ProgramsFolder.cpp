#include "win/ProgramsFolder.h"

#include <windows.h>
#include <shlobj.h>

#include "win/FindSearch.h"

namespace quenby {

std::string ProgramGroupFolder(const std::string& group) {
    for (int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
        char path[MAX_PATH] = {};
        if (SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) continue;
        const std::string candidate = std::string(path) + "\\" + group;
        const DWORD attributes = GetFileAttributesA(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return candidate;
    }
    return {};
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (TFindSearch search(folder + "\\*", 0xFF); search.Found(); search.Next())
        if (search.Name() != "." && search.Name() != "..") names.push_back(search.Name());
    return names;
}

}  // namespace quenby
