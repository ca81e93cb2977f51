// Whether what a handle holds is a plain file that may be written into: not a link, one name only (a second
// name would carry the writes to another file), and where it was meant to be once every link above is
// followed. Checked on the handle that then writes, so that a name swapped after a check changes nothing.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace quenby {

// What the file loops read at a time, into a buffer left unfilled: zeroing it would cost a pass over it for
// every file, 0.05 ms under emulation.
constexpr DWORD kReadChunk = 64 * 1024;
inline std::unique_ptr<char[]> ReadBuffer() { return std::make_unique_for_overwrite<char[]>(kReadChunk); }

// `expectedFinal`: the path with the links above it resolved (FinalPathOf of its folder, then its name).
bool IsPlainFileAt(HANDLE file, const std::string& expectedFinal);
// The same, a second name allowed (reading through it reads this very file); an empty `expectedFinal`: the kind
// alone checked.
bool IsFileAt(HANDLE file, const std::string& expectedFinal);

// Deletes the very file the handle holds (never what its name leads to now); the handle needs DELETE access.
bool DeleteOpenFile(HANDLE file);

// Writes what `from` holds from where it stands to its end; false, with the system's error (a short write: disk
// full), when that fails.
bool CopyRest(HANDLE from, HANDLE to);

// Whether the two read, from where each stands, to their ends with the same bytes.
bool ReadSameBytes(HANDLE a, HANDLE b);

// Whether a path below `folder` resolves to where `folderFinal` (the folder with its links followed) puts it:
// false once a link below the folder leads elsewhere.
bool IsWhereMeant(const std::string& path, const std::string& folder, const std::string& folderFinal);

// A folder's path with its links resolved, and a path below it continued from there.
std::string FinalPathBelow(const std::string& folderFinal, const std::string& folder, const std::string& path);

}  // namespace quenby
