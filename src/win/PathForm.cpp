#include "win/PathForm.h"

#include <windows.h>

namespace quenby {

namespace {

// The system's answer in a buffer that grows until it fits; empty when it refuses.
template <typename Call>
std::string Answer(Call call) {
    std::string text(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return {};
        if (length < text.size()) return text.substr(0, length);
        text.assign(length + 1, '\0');
    }
    return {};
}

}  // namespace

std::string OneSpelling(const std::string& path) {
    std::string full =
        Answer([&](char* buffer, DWORD size) { return GetFullPathNameA(path.c_str(), size, buffer, nullptr); });
    if (full.empty()) return path;
    // The system keeps the drive letter as typed.
    if (full.size() > 1 && full[1] == ':' && full[0] >= 'a' && full[0] <= 'z')
        full[0] = static_cast<char>(full[0] - 'a' + 'A');
    // A root keeps its backslash ("C:\\"); every other folder is named without one.
    const std::size_t rootEnd = full[0] == '\\' ? full.find('\\', full.find('\\', 2) + 1) : 2;
    if (rootEnd == std::string::npos) return full;
    if (full.size() > rootEnd + 1 && full.back() == '\\') full.pop_back();
    // The longest part that exists gets its long names; what does not exist yet stays as typed.
    for (std::size_t end = full.size(); end != std::string::npos && end > rootEnd; end = full.rfind('\\', end - 1)) {
        const std::string part = full.substr(0, end);
        const std::string longPart =
            Answer([&](char* buffer, DWORD size) { return GetLongPathNameA(part.c_str(), buffer, size); });
        if (!longPart.empty()) return longPart + full.substr(end);
    }
    return full;
}

}  // namespace quenby
