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
            const DWORD attributes = GetFileAttributesA(part.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) break;
            // A link, or one that the system does not mark as one: not where the destination's final form puts it.
            if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !IsWhereMeant(part, base, baseFinal))
                throw EDestinationRefused(DestinationLinkText(destination, part));
        }
    }
}

// The folder the product's entry names, verified or not.
std::string EntryLocation(const TInstructions& instructions) {
    if (instructions.Application.empty()) return {};
    try {
        const auto entry =
            TRegistryKey::Open(HKEY_LOCAL_MACHINE, UninstallEntryKey(instructions.Application), KEY_QUERY_VALUE);
        return entry ? entry->ReadText(kEntryInstallLocation) : std::string();
    } catch (const ERegistryException&) {
        return {};  // not text: not Setup's
    }
}

}  // namespace

std::optional<std::string> InstalledLocation(const TInstructions& instructions) {
    const std::string location = EntryLocation(instructions);
    if (!location.empty() && ReadVerifiedLog(location)) return location;
    return std::nullopt;
}

std::string CheckDestination(const TInstructions& instructions, const std::string& typed) {
    if (typed.size() > kMaxPathLength) throw Exception(PathTooLongText(typed));
    if (!IsFullDirectoryPath(typed)) throw Exception(InvalidDestinationText(typed));
    const std::string destination = OneSpelling(typed);
    // Long names may make it longer than it was typed.
    if (destination.size() > kMaxPathLength) throw Exception(PathTooLongText(destination));
    RefuseLinks(instructions, destination);
    // Only an installation elsewhere refuses: the destination's own log needs no reading here.
    if (const std::string installed = EntryLocation(instructions);
        !installed.empty() && !SamePath(installed, destination) && ReadVerifiedLog(installed))
        throw EDestinationRefused(
            AlreadyInstalledText(DisplayName(instructions.Application, instructions.Version), installed));
    return destination;
}

}  // namespace quenby
