#include "win/NoticeFile.h"

#include <windows.h>

#include "base/Errors.h"
#include "base/NoticeText.h"
#include "win/Handles.h"

namespace quenby {

std::string ReadNoticeFile(const std::string& path) {
    const HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw EFOpenError(path);
    const ui::TFileHandle file(opened);
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    do {
        if (!ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr)) throw EFOpenError(path);
        content.append(buffer, read);
    } while (read > 0);
    return NoticeText(content);
}

}  // namespace quenby
