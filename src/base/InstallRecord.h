// Everything the installer, the uninstaller, the publisher tools and the tests must agree on about one
// installation's record: file names, registry places, the uninstall command and item, and what path equality
// answers (its rule is win/PathCompare.h).
// Written once here: a change on one side only would leave entries, counters or items behind at removal.
// The installation log's format and what a log may name: base/InstallLog.h.
#pragma once
#include <string>
#include <string_view>

#include "base/StringList.h"

namespace quenby {

inline constexpr char kInstructionsFileName[] = "Quenby.ipi";  // beside Setup.exe on the first disk
inline constexpr char kUninstallRecordName[] = "Quenby.upi";   // in the destination
inline constexpr char kInstallLogName[] = "Quenby.log";        // in the destination
inline constexpr char kUninstallerName[] = "Uninstall.exe";    // in the Windows directory

// The record's sections (Quenby.upi) and the registry section the product's base key gets.
inline constexpr char kRecordInstallSection[] = "Quenby";
inline constexpr char kRecordUninstallSection[] = "Uninstall";

// Below HKEY_LOCAL_MACHINE: the system's uninstall entries, one subkey per application.
inline constexpr char kUninstallKeys[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The uninstall entry's values; the first two also in the record's uninstall section.
inline constexpr char kEntryDisplayName[] = "DisplayName";
inline constexpr char kEntryUninstallString[] = "UninstallString";
inline constexpr char kEntryQuietUninstallString[] = "QuietUninstallString";
inline constexpr char kEntryDisplayVersion[] = "DisplayVersion";
inline constexpr char kEntryInstallLocation[] = "InstallLocation";
inline constexpr char kEntryInstallDate[] = "InstallDate";
inline constexpr char kEntryEstimatedSize[] = "EstimatedSize";
inline constexpr char kEntryUrlInfoAbout[] = "URLInfoAbout";
inline constexpr char kEntryPublisher[] = "Publisher";
inline constexpr char kEntryDisplayIcon[] = "DisplayIcon";
inline constexpr char kEntryVersionMajor[] = "VersionMajor";
inline constexpr char kEntryVersionMinor[] = "VersionMinor";
inline constexpr char kEntryNoModify[] = "NoModify";
inline constexpr char kEntryNoRepair[] = "NoRepair";
// Below HKEY_CURRENT_USER: the shared-file counters, one value per file name in the Windows directory.
inline constexpr char kCountersParentKey[] = "Software\\Norvale\\Uninstall";
inline constexpr char kCountersSection[] = "Counters";
inline constexpr char kCountersKey[] = "Software\\Norvale\\Uninstall\\Counters";
// Below HKEY_LOCAL_MACHINE, always in the 64-bit view where there is one (so that both builds count in one
// place): where installers count shared files machine-wide, one REG_DWORD per file named by its full path.
inline constexpr char kSharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// Below HKEY_LOCAL_MACHINE (writable by administrators only, in the program's own view): what Setup
// recorded about each installation log, one value per destination (see docs/INSTALL-LOG.md).
inline constexpr char kLogRecordsKey[] = "SOFTWARE\\Norvale\\Uninstall\\Logs";
// A log Setup could not verify is renamed to this (then ".2", ".3", ... when it exists) and a new one begun.
inline constexpr char kBadLogName[] = "Quenby.log.bad";

// "<destination>\Quenby.upi" and "<destination>\Quenby.log"; a root such as D:\ gives D:\\Quenby.upi,
// which still names the file in that root.
std::string UninstallRecordPath(const std::string& destination);
std::string InstallLogPath(const std::string& destination);

// The application's uninstall entry below HKEY_LOCAL_MACHINE.
std::string UninstallEntryKey(const std::string& application);
// "<Windows directory>\Uninstall.exe <destination>": the entry's UninstallString and the item's command.
std::string UninstallCommand(const std::string& windowsDir, const std::string& destination);
// The product as the uninstall entry's DisplayName names it: application and version.
std::string DisplayName(const std::string& application, const std::string& version);
// The same with /VERYSILENT before the destination: the entry's QuietUninstallString.
std::string QuietUninstallCommand(const std::string& windowsDir, const std::string& destination);
// The entry's DisplayIcon: the first [Items] program (named relative to the destination, as its item names
// it), else the uninstaller UninstallCommand starts; ",0", the first icon, after either.
std::string DisplayIcon(const TStringList& items, const std::string& windowsDir, const std::string& destination);
// The quiet switches, for Setup and for the uninstaller (before the destination): no question asked, each
// gets its default.
inline constexpr char kSilentSwitch[] = "/SILENT";
inline constexpr char kVerySilentSwitch[] = "/VERYSILENT";
// Held open by the process that installs or removes, for its whole run: one Quenby installation at a time.
// It lies in the Windows directory (win/InstallationLock.h).
inline constexpr char kInstallationLockFileName[] = "Quenby.Installation.lock";

// The Program Manager item that starts the uninstaller.
std::string UninstallItemTitle(const std::string& application);

// Whether two paths name the same file or folder, and whether `path` lies strictly below `folder`. Both
// programs use one rule, win/PathCompare.h (kPathComparer): it needs the platform's code pages, so the
// portable rules that compare paths take it as a parameter.
struct TPathComparer {
    bool (*Same)(std::string_view a, std::string_view b);
    bool (*Below)(std::string_view path, std::string_view folder);
};

}  // namespace quenby
