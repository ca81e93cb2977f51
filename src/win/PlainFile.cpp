#include "win/PlainFile.h"

#include "base/InstallRecord.h"
#include "win/NoLinkRemoval.h"

namespace quenby {

bool IsPlainFileAt(HANDLE file, const std::string& expectedFinal) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info) || info.nNumberOfLinks != 1 ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    bool known = false;
    const std::string final = FinalPathOfHandle(file, known);
    return !known || SamePath(final, expectedFinal);
}

std::string FinalPathBelow(const std::string& folderFinal, const std::string& folder, const std::string& path) {
    return folderFinal + path.substr(folder.size());
}

}  // namespace quenby
