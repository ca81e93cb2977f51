#include "undo/ProgramItems.h"

#include "base/ProgmanMacros.h"
#include "base/Texts.h"
#include "win/DdeClientConv.h"
#include "win/FileSystem.h"
#include "win/PathCompare.h"
#include "win/ProgramsFolder.h"

namespace quenby {

namespace {

constexpr unsigned kDdeTimeout = 5000;

// Program Manager keeps an item as a file: its title with ".lnk". A folder of that name is not one:
// deleting the group would delete it with all it holds.
bool HoldsOnly(const std::string& folder, const std::vector<std::string>& titles) {
    for (const std::string& entry : FolderEntries(folder)) {
        bool ours = false;
        for (const std::string& title : titles) ours = ours || SamePath(entry, title + ".lnk");
        if (!ours || !IsFile(folder + "\\" + entry)) return false;
    }
    return true;
}

}  // namespace

void RemoveProgramItems(const std::vector<TGroupUndo>& groups, TUndoReport& report) {
    if (groups.empty()) return;
    TDdeClientConv progman;
    progman.Open();
    for (const TGroupUndo& group : groups) {
        report.Step(group.Name);
        if (!progman.IsOpen()) {
            report.Leave(group.Name, kLeftNoProgman);
            continue;
        }
        const std::string folder = ProgramGroupFolder(group.Name);
        if (group.Created && !folder.empty() && HoldsOnly(folder, group.Items)) {
            progman.ExecuteMacro(DeleteGroupMacro(group.Name), kDdeTimeout);
            continue;
        }
        // Program Manager deletes items from whatever group is current: none unless this one is.
        if (!progman.ExecuteMacro(ShowGroupMacro(group.Name), kDdeTimeout)) {
            report.Leave(group.Name, kLeftNoProgman);
            continue;
        }
        // An item that is gone already, or that Program Manager never took, is refused: nothing is left.
        for (const std::string& title : group.Items) progman.ExecuteMacro(DeleteItemMacro(title), kDdeTimeout);
        if (!group.Created) continue;
        if (!folder.empty() && FolderEntries(folder).empty())
            progman.ExecuteMacro(DeleteGroupMacro(group.Name), kDdeTimeout);
        else
            report.Leave(folder.empty() ? group.Name : folder, kLeftNotEmpty);
    }
    progman.Close();
}

}  // namespace quenby
