#include "win/PlainFile.h"

#include "win/NoLinkRemoval.h"
#include "win/PathCompare.h"

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

bool DeleteOpenFile(HANDLE file) {
    FILE_DISPOSITION_INFO info{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info);
}

bool IsWhereMeant(const std::string& path, const std::string& folder, const std::string& folderFinal) {
    return SamePath(FinalPathOf(path), FinalPathBelow(folderFinal, folder, path));
}

std::string FinalPathBelow(const std::string& folderFinal, const std::string& folder, const std::string& path) {
    // One separator between the two, whatever either brings (a root's own, a doubled one).
    std::string joined = folderFinal;
    while (!joined.empty() && joined.back() == '\\') joined.pop_back();
    const std::size_t rest = path.find_first_not_of('\\', folder.size());
    if (rest != std::string::npos) joined.append(1, '\\').append(path, rest, std::string::npos);
    return joined;
}

}  // namespace quenby
