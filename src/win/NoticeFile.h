// Reading a notice file for the notice memo.
#pragma once
#include <string>

namespace quenby {

// The file's text as the memo shows it (NoticeText); raises EFOpenError naming the path when the file
// cannot be opened or read.
std::string ReadNoticeFile(const std::string& path);

}  // namespace quenby
