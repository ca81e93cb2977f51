// A notice file's content as the notice memo shows it: line by line, whatever line ends the file uses.
#pragma once
#include <string>
#include <string_view>

namespace quenby {

// The file's lines (ended by CR LF, LF or CR) joined by CR LF, which the memo needs to break lines;
// a final line end adds no empty line. The memo's text ends at a NUL byte, so the lines do too.
std::string NoticeText(std::string_view content);

}  // namespace quenby
