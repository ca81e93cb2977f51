// Whether two paths name the same file or folder, the one rule of the installer and the uninstaller. The
// paths are ANSI text: on a two-byte code page (932, 936, 949, 950) a trail byte may be an ASCII letter or a
// backslash, and Windows takes letters beyond ASCII in either case for the same name (E acute, 0xC9 and 0xE9 in
// 1252); so the paths are compared in UTF-16, case ignored the way the file system ignores it (CompareStringOrdinal).
// Trailing backslashes are ignored, but a root's own ("C:\" stays "C:\"). Text that is not valid in the code page is no
// path: it is the same as nothing and lies below nothing.
#pragma once
#include <string_view>

#include "base/InstallRecord.h"

namespace quenby {

bool SamePath(std::string_view a, std::string_view b);
// Whether `path` lies strictly below `folder`: within it, at any depth.
bool IsBelowPath(std::string_view path, std::string_view folder);

// The same in a code page given, for the tests of any code page on any machine.
bool SamePathIn(unsigned codePage, std::string_view a, std::string_view b);
bool IsBelowPathIn(unsigned codePage, std::string_view path, std::string_view folder);

// For the portable rules that compare paths (base/InstallLog.h's PlanUninstall).
inline constexpr TPathComparer kPathComparer{SamePath, IsBelowPath};

}  // namespace quenby
