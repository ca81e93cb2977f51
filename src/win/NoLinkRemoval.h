// Removing files and folders without ever following a link: a junction or symbolic link put in the
// place of a folder after the installation must not turn the uninstaller against what lies behind it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace quenby {

// The path as the system resolves it, links followed, without the "\\?\" prefix; the path itself when
// the system cannot say (no GetFinalPathNameByHandleW before Vista); empty when it cannot be opened.
std::string FinalPathOf(const std::string& path);
// The same for an open handle; `known` is false where the system cannot say.
std::string FinalPathOfHandle(HANDLE handle, bool& known);

// Whether the path or any folder on the way from its drive's root is a reparse point (Wine reports the
// attribute even where it ignores FILE_FLAG_OPEN_REPARSE_POINT).
bool IsReachedThroughLink(const std::string& path);

// Renames the very file the handle (opened with DELETE) holds, never what its name leads to now.
bool RenameOpenFile(HANDLE file, const std::string& newPath);

// Moves the file the handle holds from `path` into a fresh private folder (PrivateFolder.h) and has both
// deleted when Windows next starts: a name a user could redirect before then is never registered. False,
// with the system's error, when it cannot be moved (another drive) or registered; it is then left at `path`.
bool DeleteAtRestart(HANDLE file, const std::string& path);

// InUse: held so that it can be neither deleted nor moved (no delete sharing, another drive); AtRestart:
// held so that it cannot be deleted (a running program, a mapped file), moved away to go at the restart.
enum class TRemoval { Removed, Gone, ThroughLink, InUse, AtRestart, NotEmpty, Failed };
struct TRemovalResult {
    TRemoval Outcome = TRemoval::Removed;
    DWORD Error = 0;  // for InUse and Failed
};

// Removes a file or an empty folder through one handle opened without following links, once no
// component is a link and `finalAllowed` accepts the handle's final path; through the same handle it moves
// away what is in use.
TRemovalResult RemoveWithoutLinks(const std::string& path, const std::function<bool(const std::string&)>& finalAllowed);

}  // namespace quenby
