#include "FileDigest.h"

#include <windows.h>

#include "win/Handles.h"
#include "win/Sha256.h"

namespace quenby {

std::optional<std::string> DigestOfFile(const std::filesystem::path& path) {
    // The path as the standard library keeps it on Windows, in UTF-16: the file the checks located.
    const THandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    return Sha256OfFile(file.Get());
}

}  // namespace quenby
