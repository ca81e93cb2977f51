// Removing files and folders without ever following a link: a junction or symbolic link put in the
// place of a folder after the installation must not turn the uninstaller against what lies behind it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace quenby {

// The path as the system resolves it, links followed, without the "\\?\" prefix; the path itself when
// the system cannot say (no GetFinalPathNameByHandleA before Vista); empty when it cannot be opened.
std::string FinalPathOf(const std::string& path);
// The same for an open handle; `known` is false where the system cannot say.
std::string FinalPathOfHandle(HANDLE handle, bool& known);

// Whether the path or any folder on the way from its drive's root is a reparse point (Wine reports the
// attribute even where it ignores FILE_FLAG_OPEN_REPARSE_POINT).
bool IsReachedThroughLink(const std::string& path);

enum class TRemoval { Removed, Gone, ThroughLink, InUse, NotEmpty, Failed };
struct TRemovalResult {
    TRemoval Outcome = TRemoval::Removed;
    DWORD Error = 0;  // for Failed
};

// Removes a file or an empty folder through one handle opened without following links, once no
// component is a link and `finalAllowed` accepts the handle's final path.
TRemovalResult RemoveWithoutLinks(const std::string& path, const std::function<bool(const std::string&)>& finalAllowed);

}  // namespace quenby
