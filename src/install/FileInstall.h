// One file of the copy step: read once from the medium, checked against its checksum, written in place when
// its target is new, else beside it and put in place, unless a newer shared file is there already or the
// old one is in use.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "win/Lz32.h"

namespace quenby {

struct TFileJob {
    std::string Source;
    std::string Target;
    const std::string* Digest = nullptr;  // the listed checksum; none: copied without a check
    bool Expand = false;
    bool KeepExisting = false;  // a plain copy's replace value other than "0"
    bool Shared = false;        // a system file: other products need it, so it is never downgraded
    // The target's folder with the links above it resolved (empty: not checked): the file made must be a plain
    // file there.
    std::string FolderFinal;
};

enum class TFileOutcome {
    Written,
    Left,       // the replace value keeps an existing file
    Kept,       // the shared file in place is the same version or newer
    AtRestart,  // the old file is in use: the new one waits for the next restart in a private folder
    Damaged,    // the source does not match its checksum; nothing of it was written
};

// Whether the target of a plain copy of a product file holds the source's bytes and time already, as a plain
// file, and those bytes match their listed checksum: writing it again would change nothing. Never for an
// expanded or shared file, which have rules of their own.
// `from` and `to`: the source's and the target's attributes, looked up already.
bool HoldsSourceAlready(const TFileJob& job, const WIN32_FILE_ATTRIBUTE_DATA& from,
                        const WIN32_FILE_ATTRIBUTE_DATA& to);

// Raises "Cannot copy/expand <source> to <target>: <reason>" and leaves nothing half-written behind. For
// AtRestart, `waiting` receives the new file's path in its private folder.
TFileOutcome InstallFile(const TFileJob& job, const std::function<const TLz32&()>& library,
                         std::string* waiting = nullptr);

}  // namespace quenby
