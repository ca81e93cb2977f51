// The installation log (Quenby.log in the destination): one line per action of the copy step, written as
// the installation goes, and what the uninstaller makes of it. Format: docs/INSTALL-LOG.md.
#pragma once
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/InstallRecord.h"

namespace quenby {

inline constexpr char kInstallLogHeader[] = "Quenby installation log 1";

enum class TLogKind {
    Application, Destination, Directory, File, SystemFile, Counter, Group, Item, Key, Value, Uninstall,
    Kept, AtRestart,  // a shared file left for a newer one in place; a file in use replaced at the restart
    Checked,          // a source file matched its checksum
};

// Root is "HKCU" or "HKLM"; Path a full path, a key path below Root or a name; Name a registry value name.
struct TLogEntry {
    TLogKind Kind = TLogKind::Application;
    bool Existed = false;
    std::string Root;
    std::string Path;
    std::string Name;
};

// A log that does not follow the format, or names something the installation cannot have made.
class ELogRefused : public Exception {
public:
    using Exception::Exception;
};

// One line with its line end.
std::string FormatLogLine(const TLogEntry& entry);
// The whole file: the header, then whole lines only. Raises ELogRefused with the line number.
std::vector<TLogEntry> ParseLog(const std::string& text);

struct TRegistryName {
    std::string Root, Key, Name;
};
struct TGroupUndo {
    std::string Name;
    bool Created = false;
    std::vector<std::string> Items;
};

// What to undo, each list in the order in which it is undone.
struct TUninstallPlan {
    std::string Application;
    std::vector<TRegistryName> Values;        // written where none existed
    std::vector<TRegistryName> Keys;          // created, deepest first (Name empty)
    std::vector<std::string> UninstallEntries;
    std::vector<std::string> Counters;        // one per raise, names relative to the Windows directory
    std::vector<std::string> OrphanSystemFiles;  // written new by a run that never raised their counter
    std::vector<TGroupUndo> Groups;
    std::vector<std::string> Files;           // written where none existed
    std::vector<std::string> Directories;     // deepest first
};

// Refuses (ELogRefused) a log for another destination, a file outside the destination, a system file
// outside the Windows directory, and a directory or key that is no clean path. A group or item title that
// would change the Program Manager command it goes into is left out. The first line that names something counts for
// whether it existed before the installation.
TUninstallPlan PlanUninstall(const std::vector<TLogEntry>& entries, const std::string& destination);

// The uninstaller's command line: an optional /SILENT or /VERYSILENT (any case), then the destination,
// blanks around it and one pair of quotes dropped.
std::string DestinationFromCommandLine(const std::string& commandLine);
// Whether the command line starts with /SILENT or /VERYSILENT: the removal asks no question.
bool QuietRemovalRequested(const std::string& commandLine);

}  // namespace quenby
