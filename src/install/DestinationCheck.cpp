#include "install/DestinationCheck.h"

#include <windows.h>

#include <vector>

#include "base/DestinationRule.h"
#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/Texts.h"
#include "undo/SealedLog.h"
#include "win/NoLinkRemoval.h"
#include "win/PathCompare.h"
#include "win/PathForm.h"
#include "win/PlainFile.h"
#include "win/RegistryKey.h"

namespace quenby {

namespace {

// Everything below the destination that the run writes, or writes into.
std::vector<std::string> WrittenPaths(const TInstructions& instructions, const std::string& destination) {
    std::vector<std::string> paths{UninstallRecordPath(destination), InstallLogPath(destination)};
    for (int i = 0; i < instructions.Dirs.Count() && i < instructions.DirsValues.Count(); ++i)
        if (instructions.DirsValues[i] == "0") paths.push_back(destination + "\\" + instructions.Dirs[i]);
    for (const std::string& name : instructions.FilesOut) paths.push_back(destination + "\\" + name);
    return paths;
}

// Whether what lies at the path is a link, or not where the destination's final form puts it (a link that
// the system does not mark as one).
bool IsLink(const std::string& path, const std::string& destination, const std::string& destinationFinal) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !IsWhereMeant(path, destination, destinationFinal);
}

void RefuseLinks(const TInstructions& instructions, const std::string& destination) {
    // A root keeps its backslash; any other folder is named without one.
    const std::string base = destination.size() > 3 && destination.back() == '\\'
                                 ? destination.substr(0, destination.size() - 1)
                                 : destination;
    if (GetFileAttributesA(base.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // nothing below it yet
    const std::string baseFinal = FinalPathOf(base);
    for (const std::string& path : WrittenPaths(instructions, base)) {
        // Each folder on the way, then the path itself; past the first that is missing nothing exists.
        for (std::size_t end = base.size(); end != std::string::npos;) {
            end = path.find('\\', end + 1);
            const std::string part = path.substr(0, end);
            if (GetFileAttributesA(part.c_str()) == INVALID_FILE_ATTRIBUTES) break;
            if (IsLink(part, base, baseFinal)) throw EDestinationRefused(DestinationLinkText(destination, part));
        }
    }
}

}  // namespace

std::optional<std::string> InstalledLocation(const TInstructions& instructions) {
    if (instructions.Application.empty()) return std::nullopt;
    try {
        const auto entry =
            TRegistryKey::Open(HKEY_LOCAL_MACHINE, UninstallEntryKey(instructions.Application), KEY_QUERY_VALUE);
        const std::string location = entry ? entry->ReadText(kEntryInstallLocation) : std::string();
        if (!location.empty() && ReadVerifiedLog(location)) return location;
    } catch (const ERegistryException&) {
        // not text: not Setup's
    }
    return std::nullopt;
}

std::string CheckDestination(const TInstructions& instructions, const std::string& typed) {
    if (typed.size() > kMaxPathLength) throw Exception(PathTooLongText(typed));
    if (!IsFullDirectoryPath(typed)) throw Exception(InvalidDestinationText(typed));
    const std::string destination = OneSpelling(typed);
    // Long names may make it longer than it was typed.
    if (destination.size() > kMaxPathLength) throw Exception(PathTooLongText(destination));
    RefuseLinks(instructions, destination);
    if (const auto installed = InstalledLocation(instructions); installed && !SamePath(*installed, destination))
        throw EDestinationRefused(
            AlreadyInstalledText(DisplayName(instructions.Application, instructions.Version), *installed));
    return destination;
}

}  // namespace quenby
