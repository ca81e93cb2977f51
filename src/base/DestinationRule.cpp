#include "base/DestinationRule.h"

#include <cstring>

namespace quenby {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsForbidden(char c) { return static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"|?*", c) != nullptr; }

// The length of the root ("X:\" or "\\server\share"), or 0 when the path has none.
std::size_t RootLength(const std::string& path) {
    if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\') return 3;
    if (path.rfind("\\\\", 0) != 0) return 0;
    const auto serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos || serverEnd == 2) return 0;
    auto shareEnd = path.find('\\', serverEnd + 1);
    if (shareEnd == std::string::npos) shareEnd = path.size();
    if (shareEnd == serverEnd + 1) return 0;
    return shareEnd;
}

// A device path ("\\.\", "\\?\") or a drive's administrative share ("\\server\C$"): each reaches a folder
// by a spelling of its own, which would give one folder two seals.
bool IsOtherSpelling(const std::string& path, std::size_t root) {
    if (path[0] != '\\') return false;
    const std::size_t serverEnd = path.find('\\', 2);
    const std::string server = path.substr(2, serverEnd - 2), share = path.substr(serverEnd + 1, root - serverEnd - 1);
    return server == "." || server == "?" || (share.size() == 2 && IsLetter(share[0]) && share[1] == '$');
}

}  // namespace

bool IsFullDirectoryPath(const std::string& path) {
    const std::size_t root = RootLength(path);
    if (root == 0 || IsOtherSpelling(path, root)) return false;
    // The drive's own colon is the only one allowed.
    for (std::size_t i = 0; i < path.size(); ++i)
        if (i != 1 && IsForbidden(path[i])) return false;
    return true;
}

}  // namespace quenby
