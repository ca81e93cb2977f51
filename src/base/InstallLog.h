// The installation log (Quenby.log in the destination): one line per action of the copy step, written as
// the installation goes, and what the uninstaller makes of it. Format: docs/INSTALL-LOG.md.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Errors.h"
#include "base/InstallRecord.h"

namespace quenby {

inline constexpr char kInstallLogHeader[] = "Quenby installation log 1";

enum class TLogKind {
    Application,
    Destination,
    Directory,
    File,
    SystemFile,
    Counter,
    Group,
    Item,
    Key,
    Value,
    Uninstall,
    Kept,
    AtRestart,       // a shared file left for a newer one in place; a file in use replaced at the restart
    Checked,         // a source file matched its checksum
    FinalPath,       // the destination's final form (no link in it) when the run started
    Lowered,         // the uninstaller's progress: one raise of this counter undone
    MachineCounter,  // a shared file's machine-wide count raised
    MachineLowered,  // the uninstaller's progress: one machine-wide raise undone
    RunStart,        // a run begins to change the machine
    RunEnd,          // the run's copy step completed
    Saved,           // a file's old bytes kept before the run overwrote it: Path the file, Name the copy
    OldValue,        // a value's old data before the run wrote it: Name "<type>:<hex data>:<value name>"
};

// The words a log line names the registry's two roots by.
inline constexpr char kMachineRootWord[] = "HKLM";
inline constexpr char kUserRootWord[] = "HKCU";

// Root is kUserRootWord or kMachineRootWord; Path a full path, a key path below Root or a name; Name a registry value
// name.
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

// What Setup recorded, outside the destination, about the log it wrote: its length and the chained digest
// of its lines (each digest covers the previous one and the next line, line end included).
struct TLogSeal {
    std::uint64_t Bytes = 0;
    std::uint64_t Lines = 0;
    std::string Digest;  // raw bytes; empty before the first line
};
// SHA-256 of the bytes, raw (the system's on Windows; the tests bring their own).
using TDigestFunction = std::function<std::string(std::string_view)>;

TLogSeal ExtendSeal(const TLogSeal& seal, std::string_view line, const TDigestFunction& digest);
std::string SealText(const TLogSeal& seal);  // "<bytes> <lines> <hex digest>"
std::optional<TLogSeal> ParseSeal(const std::string& text);
// The log's first seal.Bytes bytes when they are seal.Lines whole lines chaining to seal.Digest; nothing
// when any of them differs or is missing. Bytes beyond are not Setup's (yet) and are left out.
std::optional<std::string> VerifiedLogText(const std::string& text, const TLogSeal& seal,
                                           const TDigestFunction& digest);
std::string HexText(std::string_view bytes);
// The destination as the record's value name is made from: upper-cased (ASCII), no trailing backslash.
std::string NormalisedDestination(const std::string& destination);

struct TRegistryName {
    std::string Root, Key, Name;
};
struct TGroupUndo {
    std::string Name;
    bool Created = false;
    std::vector<std::string> Items;
};

// What an unfinished last run overwrote, to be put back before the rest is removed.
struct TRestore {
    std::string Target, Copy;
};
struct TOldValue {
    TRegistryName Name;
    unsigned long Type = 0;
    std::string Data;
};
// The Name of an OldValue line, and back; none when it does not read as one.
std::string OldValueName(unsigned long type, std::string_view data, const std::string& name);
std::optional<TOldValue> ParseOldValue(const TLogEntry& entry);

// What to undo, each list in the order in which it is undone.
struct TUninstallPlan {
    // Filled only when the last run began (a run-start line) and never completed: what it overwrote, last
    // first.
    std::vector<TRestore> Restores;
    std::vector<TOldValue> OldValues;
    std::string Application;
    std::string DestinationFinal;       // as the first run recorded it; empty in a log without one
    std::vector<TRegistryName> Values;  // written where none existed
    std::vector<TRegistryName> Keys;    // created, deepest first (Name empty)
    std::vector<std::string> UninstallEntries;
    std::vector<std::string> Counters;         // one per raise not yet undone, relative to the Windows directory
    std::vector<std::string> MachineCounters;  // the same for the machine-wide counts
    // Those the installation created: only these may be offered, unless Setup counted them for the user only
    // (before it counted machine-wide), when nothing tells whether another user's products still need them.
    std::vector<std::string> NewSystemFiles;
    std::vector<std::string> UserCountedSystemFiles;
    std::vector<TGroupUndo> Groups;
    std::vector<std::string> Files;        // written where none existed
    std::vector<std::string> Directories;  // deepest first
};

// Refuses (ELogRefused) a log for another destination, a file outside the destination, a system file
// outside the Windows directory, and a directory or key that is no clean path. A group or item title that
// would change the Program Manager command it goes into is left out. The first line that names something counts for
// whether it existed before the installation. `paths` decides the destination and what lies below it.
TUninstallPlan PlanUninstall(const std::vector<TLogEntry>& entries, const std::string& destination,
                             const TPathComparer& paths);

// The uninstaller's command line: the destination, unquoted or in one pair of quotes, with switches (any case)
// before it or after it: a word after the destination that is one of the switches is a switch, anything else
// belongs to the path. /SILENT or /VERYSILENT: no question asked; /LOG[=file]; and what deployment tools
// append to every uninstall command (/SUPPRESSMSGBOXES, /NORESTART, /SP-), accepted.
struct TRemovalOptions {
    bool Quiet = false;
    bool NoWindow = false;  // /VERYSILENT: not even the progress window
    bool LogWanted = false;
    std::string Log;  // empty with LogWanted: the dated log in the temporary folder
    std::string Destination;
};
TRemovalOptions ReadRemovalCommandLine(const std::string& commandLine);

}  // namespace quenby
