// The name a publisher most likely meant by one Setup does not know, for the checker's warnings.
#pragma once
#include <string>
#include <vector>

namespace quenby {

// The known name nearest to a typed one, or empty when none is near: a few edits away, letter case aside
// (no more than half the typed name), or sharing a word, a shortened one included ("EndNotice" shares
// "End" with "EndInfo", "InstallDir" shares "Dir" with "Directory"); the fewest edits win.
std::string NearestName(const std::string& name, const std::vector<std::string>& known);

}  // namespace quenby
