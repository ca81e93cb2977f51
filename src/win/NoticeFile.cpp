#include "win/NoticeFile.h"

#include <windows.h>

#include "base/Errors.h"
#include "base/NoticeText.h"
#include "win/Handles.h"

namespace quenby {

std::string ReadNoticeFile(const std::string& path) { return NoticeText(ReadWholeFile(path)); }

std::string ReadWholeFile(const std::string& path) {
    const THandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EFOpenError(path);
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    do {
        if (!ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr)) throw EFOpenError(path);
        content.append(buffer, read);
    } while (read > 0);
    return content;
}

}  // namespace quenby
