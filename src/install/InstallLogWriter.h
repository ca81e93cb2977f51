// The copy step's installation log: each action appended to Quenby.log in the destination before the
// action is made (a counter only after it was raised), so that a run stopped anywhere is
// described as far as it got; every line sealed (undo/SealedLog.h).
#pragma once
#include <windows.h>

#include <string>
#include <utility>

#include "base/InstallLog.h"
#include "install/RunJournal.h"
#include "undo/SealedLog.h"
#include "win/profile.h"

namespace quenby {

class TInstallLogWriter {
public:
    // Opens the log for appending (header first when it is new) and notes the application and destination.
    // The journal hears of the log, its record and every value before it changes.
    TInstallLogWriter(const std::string& destination, const std::string& application, TRunJournal& journal);

    TRunJournal& Journal() const { return m_journal; }

    // Raises Exception when the line cannot be written: nothing may be made that the log does not name.
    void Add(TLogKind kind, const std::string& path, bool existed = false);
    // Notes every key of the path below root that does not exist yet, outermost first.
    void KeysToCreate(HKEY root, const std::string& keyPath);
    // The profile's write, with the keys it creates and the value noted first.
    void WriteValue(TRegistryProfile& profile, const std::string& section, const std::string& name,
                    const std::string& text);
    void WriteValue(TRegistryProfile& profile, const std::string& section, const std::string& name, DWORD number);
    void AddEntry(const TLogEntry& entry);

private:
    // Notes the keys the value's write creates and the value itself; the key's path.
    std::string NoteValue(const TRegistryProfile& profile, const std::string& section, const std::string& name);

    TRunJournal& m_journal;
    std::string m_badLog;  // where an unverifiable log goes, when the journal is active
    TSealedLog m_log;
    std::pair<HKEY, std::string> m_lastKey;
};

}  // namespace quenby
