// Texts the platform gives: its directories and its reason for a failure.
#pragma once
#include <windows.h>

#include <string>

namespace quenby {

// A directory that `read` (GetWindowsDirectoryA and the like) gives into a 260-byte buffer. An empty or
// cut answer raises "Cannot read the <which> directory: <reason>": it must not pass for the drive's root.
std::string PlatformDirectory(UINT(WINAPI* read)(LPSTR, UINT), const char* which);
std::string WindowsDirectory();
std::string SystemDirectory();
// The system's message for an error code, without its line break and closing full stop (the error box
// adds one).
std::string SystemErrorText(DWORD error);
// Whole texts equal under the user's default locale, case ignored: how the user reads names (the
// instructions' $NAME/$ORG markers, the tree's folders). Paths compare with SamePath (win/PathCompare.h).
bool SameUserText(const std::string& a, const std::string& b);

}  // namespace quenby
