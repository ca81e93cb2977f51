// The destination's checks, in the one order the destination page's Next and an unattended run make them,
// before anything is made: a path the copy step can use, then no link where Setup would write, then not
// another folder than the one where the application is installed already (the room follows, RoomCheck.h).
#pragma once
#include <optional>
#include <string>

#include "base/Instructions.h"

namespace quenby {

// The destination's one spelling (win/PathForm.h). Raises Exception for a path the copy step cannot use,
// EDestinationRefused for a link below the destination (links above it, such as a user's Documents, are
// followed once, as the destination's final form) and for another folder than InstalledLocation's.
std::string CheckDestination(const TInstructions& instructions, const std::string& typed);

// Where the same application is installed now: its uninstall entry's folder, when that holds a log that
// verifies. A second installation goes there: one elsewhere would take over the entry and leave the first
// one's files and counts with nothing that could remove them.
std::optional<std::string> InstalledLocation(const TInstructions& instructions);

}  // namespace quenby
