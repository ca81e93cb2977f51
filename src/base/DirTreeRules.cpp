#include "base/DirTreeRules.h"

namespace quenby {

bool AttrAllowed(tDirType dirType, std::uint32_t attributes) {
    if (dirType.Contains(dtAll)) return true;
    if ((attributes & kAttrHidden) && !dirType.Contains(dtHidden)) return false;
    if ((attributes & kAttrSystem) && !dirType.Contains(dtSystem)) return false;
    if ((attributes & kAttrArchive) && !dirType.Contains(dtArchive)) return false;
    if (dirType.Contains(dtNormal)) return true;
    return (attributes & (kAttrHidden | kAttrSystem | kAttrArchive)) != 0;
}

bool BelowRecycleFolder(std::string_view loweredPath) {
    constexpr std::string_view kRecycled = "\\recycled\\";
    const size_t at = loweredPath.find(kRecycled);
    return at != std::string_view::npos && at + kRecycled.size() < loweredPath.size();
}

bool IsUnprobedDriveKind(unsigned kind) { return kind <= 3 || kind == 5; }

bool IsDotEntry(std::string_view name) { return name == "." || name == ".."; }

std::string WithFinalBackslash(std::string path) {
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

int CountBackslashes(std::string_view path) {
    int n = 0;
    for (char c : path)
        if (c == '\\') ++n;
    return n;
}

std::string PrefixThroughBackslash(std::string_view path, int k) {
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] == '\\' && --k == 0) return std::string(path.substr(0, i + 1));
    return {};
}

std::string FallbackNodeText(std::string_view path) {
    while (path.size() > 3 && path.back() == '\\') path.remove_suffix(1);
    if (path.size() <= 3) return std::string(path);
    const size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<int> LastDirsSlot(std::string_view path) {
    if (path.empty() || path[0] < 'A' || path[0] > 'Z') return std::nullopt;
    return path[0] - 'A';
}

bool SearchReturns(std::uint32_t attributes, std::uint32_t mask) {
    constexpr std::uint32_t kFiltered = kAttrHidden | kAttrSystem | 0x08 | kAttrDirectory;
    return (attributes & ~mask & kFiltered) == 0;
}

}  // namespace quenby
