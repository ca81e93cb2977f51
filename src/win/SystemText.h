// Texts the platform gives: its directories and its reason for a failure.
#pragma once
#include <windows.h>

#include <string>

namespace quenby {

// GetWindowsDirectoryA into a 260-byte buffer; a failure raises "Cannot read the Windows directory: <reason>".
std::string WindowsDirectory();
// GetSystemDirectoryA into a 260-byte buffer; a failure raises likewise.
std::string SystemDirectory();
// The system's message for an error code, without its line break and closing full stop (the error box
// adds one).
std::string SystemErrorText(DWORD error);

}  // namespace quenby
