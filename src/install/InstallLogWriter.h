// The copy step's installation log: each action appended to Quenby.log in the destination before the
// action is made (a counter only after it was raised), so that a run stopped anywhere is
// described as far as it got. After each line the log's length and chained digest are recorded under
// HKLM, where only administrators write, so that the uninstaller acts on Setup's lines only.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "base/InstallLog.h"
#include "win/Handles.h"
#include "win/profile.h"

namespace quenby {

// The record of the log of one destination; none when missing or unreadable.
std::optional<TLogSeal> ReadLogSeal(const std::string& destination);
void DeleteLogSeal(const std::string& destination);
// The part of the destination's log that the record vouches for; none when the log or the record is
// missing, or the log differs from it.
std::optional<std::string> ReadVerifiedLog(const std::string& destination);

// A log appended to line by line, each line recorded once written.
class TSealedLog {
public:
    // A verified log is cut back to its verified length. An unverifiable one is renamed (kBadLogName) and
    // a new one begun with the header, unless `mayBeginAnew` is false: then Exception.
    TSealedLog(const std::string& destination, bool mayBeginAnew);
    TSealedLog(const TSealedLog&) = delete;
    TSealedLog& operator=(const TSealedLog&) = delete;
    // Raises Exception when the line cannot be written or recorded.
    void Append(const std::string& line);

private:
    void Fail(DWORD error) const;

    std::string m_destination;
    std::string m_path;
    THandle m_file;
    TLogSeal m_seal;
    TRegistryKey m_records;  // opened with the first line, kept for the others
    std::string m_sealName;
};

class TInstallLogWriter {
public:
    // Opens the log for appending (header first when it is new) and notes the application and destination.
    TInstallLogWriter(const std::string& destination, const std::string& application);

    // Raises Exception when the line cannot be written: nothing may be made that the log does not name.
    void Add(TLogKind kind, const std::string& path, bool existed = false);
    // Notes every key of the path below root that does not exist yet, outermost first.
    void KeysToCreate(HKEY root, const std::string& keyPath);
    // The profile's write, with the keys it creates and the value noted first.
    void WriteValue(TRegistryProfile& profile, const std::string& section, const std::string& name,
                    const std::string& text);
    void WriteValue(TRegistryProfile& profile, const std::string& section, const std::string& name, DWORD number);

private:
    void AddEntry(const TLogEntry& entry);
    // Notes the keys the value's write creates and the value itself; the key's path.
    std::string NoteValue(const TRegistryProfile& profile, const std::string& section, const std::string& name);

    TSealedLog m_log;
    std::pair<HKEY, std::string> m_lastKey;
};

// The key path below its root that a profile's section names.
std::string AbsoluteKeyPath(const TRegistryKey& profile, const std::string& section);

}  // namespace quenby
