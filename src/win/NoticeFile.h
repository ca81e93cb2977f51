// Reading whole files: a notice file for the notice memo, the installation log for the uninstaller.
#pragma once
#include <string>

namespace quenby {

// The file's text as the memo shows it (NoticeText); raises EFOpenError naming the path when the file
// cannot be opened or read.
std::string ReadNoticeFile(const std::string& path);
// The file's bytes; raises EFOpenError naming the path when the file cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

}  // namespace quenby
