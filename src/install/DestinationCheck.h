// The destination's checks, in the one order the destination page's Next and an unattended run make them,
// before anything is made: a path the copy step can use, then no link where Setup would write.
#pragma once
#include <string>

#include "base/Instructions.h"

namespace quenby {

// The destination's one spelling (win/PathForm.h). Raises Exception for a path the copy step cannot use,
// EDestinationRefused for a link below the destination (links above it, such as a user's Documents, are
// followed once, as the destination's final form).
std::string CheckDestination(const TInstructions& instructions, const std::string& typed);

}  // namespace quenby
