#include "win/SystemText.h"

#include "base/Errors.h"
#include "base/Texts.h"

namespace quenby {

std::string PlatformDirectory(UINT(WINAPI* read)(LPSTR, UINT), const char* which) {
    char buffer[MAX_PATH] = {};
    const UINT length = read(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw Exception(CannotReadDirectoryText(which, SystemErrorText(GetLastError())));
    return std::string(buffer, length);
}

std::string WindowsDirectory() { return PlatformDirectory(GetWindowsDirectoryA, "Windows"); }

std::string SystemDirectory() { return PlatformDirectory(GetSystemDirectoryA, "system"); }

std::string SystemErrorText(DWORD error) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty()) text = "system error " + std::to_string(error);
    return text;
}

bool SameUserText(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace quenby
