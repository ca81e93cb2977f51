// The removal of an installation's Program Manager items, for the uninstaller and for the undoing of a
// failed installation alike.
#pragma once
#include <vector>

#include "base/InstallLog.h"
#include "undo/UndoReport.h"

namespace quenby {

// A group the installation created that holds only its items goes whole; otherwise its items go one by
// one, and the group too once nothing else is in it and the installation created it. Reports a step per
// group and what stays.
void RemoveProgramItems(const std::vector<TGroupUndo>& groups, TUndoReport& report);

}  // namespace quenby
