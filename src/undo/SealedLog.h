// The installation log's seal, shared by Setup (which appends) and the uninstaller (which verifies, and
// appends its own progress): after each line the log's length and chained digest are recorded under
// HKLM, where only administrators write, so that the uninstaller acts on Setup's lines only.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "base/InstallLog.h"
#include "win/Handles.h"
#include "win/RegistryKey.h"

namespace quenby {

// The name of the destination's record below kLogRecordsKey, and the next free name for its log when that
// cannot be verified.
std::string SealValueName(const std::string& destination);
std::string BadLogPath(const std::string& destination);

// The record of the log of one destination; none when missing or unreadable.
std::optional<TLogSeal> ReadLogSeal(const std::string& destination);
// A record that cannot be deleted is left: it vouches only for the log it was made for.
void DeleteLogSeal(const std::string& destination);
// The part of the destination's log that the record vouches for; none when the log or the record is
// missing, or the log differs from it.
std::optional<std::string> ReadVerifiedLog(const std::string& destination);

// A log appended to line by line, each line recorded once written.
class TSealedLog {
public:
    // A verified log is cut back to its verified length. An unverifiable one is renamed (kBadLogName) and
    // a new one begun with the header, unless `mayBeginAnew` is false: then Exception.
    // `afterCheck` runs once the log was checked, before anything is written: a test's hook.
    TSealedLog(const std::string& destination, bool mayBeginAnew, const std::function<void()>& afterCheck = {});
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
    std::optional<TRegistryKey> m_records;  // opened with the first line, kept for the others
    std::string m_sealName;
};

}  // namespace quenby
