// Uninstall.exe runs the removal from a copy of itself in a fresh folder that only administrators and the
// system can write: so the Uninstall.exe in the Windows directory can be removed at once when no product
// needs it any more, and only the unique copy waits for the restart (a name scheduled for deletion could
// meanwhile be a new product's Uninstall.exe). Whoever started the original waits on it and reads its exit
// code: the original hands the copy an inherited handle to itself and the write end of a pipe, the copy
// sends its exit code back, waits for the original to end and only then removes the original's file.
#pragma once
#include <optional>
#include <string>

#include "win/Handles.h"

namespace quenby {

// What the copy holds of the original that started it.
struct TOriginal {
    THandle Process;
    THandle Pipe;      // the write end, for the exit code
    std::string Path;  // the original's file
};

// The copy's switch at the head of its command line; the command line after it in `rest`. None for the
// original.
std::optional<TOriginal> TakeOriginal(const std::string& commandLine, std::string& rest);

// In the original: the copy started with the command line; its exit code. None when no copy could be
// made: then nothing may be removed, since this file could go only at the restart, by a name that the next
// product's Uninstall.exe may have by then.
std::optional<int> RunFromCopy(const std::string& commandLine);

// In the copy, at its end: the exit code handed back, the original waited for, its file removed when
// `removeOriginal`, and this copy and its folder scheduled for deletion at the next restart.
void EndCopy(TOriginal& original, int exitCode, bool removeOriginal);

}  // namespace quenby
