#include "base/PathLabel.h"

namespace quenby {

namespace {

constexpr std::size_t kLongestShown = 60;
constexpr std::size_t kTailLength = 52;

// "X:" for a drive path, "\\server\share" for a network path, empty otherwise.
std::string DrivePart(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (path.rfind("\\\\", 0) == 0) {
        const auto serverEnd = path.find('\\', 2);
        if (serverEnd != std::string::npos) {
            const auto shareEnd = path.find('\\', serverEnd + 1);
            if (shareEnd != std::string::npos) return path.substr(0, shareEnd);
        }
    }
    return {};
}

}  // namespace

std::string PathLabel(const std::string& path) {
    if (path.size() <= kLongestShown) return path;
    std::string tail = path.substr(path.size() - kTailLength);
    const auto firstBackslash = tail.find('\\');
    if (firstBackslash != std::string::npos) tail.erase(0, firstBackslash);
    return DrivePart(path) + "\\..." + tail;
}

}  // namespace quenby
