#include "install/InstallLogWriter.h"

#include <optional>

#include "base/InstallRecord.h"
#include "win/FileSystem.h"

#include "win/NoLinkRemoval.h"
#include "win/RegistryKey.h"

namespace quenby {

namespace {

bool KeyExists(HKEY root, const std::string& path) { return TRegistryKey::Open(root, path, KEY_READ).has_value(); }

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
    const std::optional<TRegistryKey> key = TRegistryKey::Open(root, path, KEY_READ);
    return key && key->ValueExists(name);
}

}  // namespace

namespace {

// The log as it was and its record, noted before the log is opened; the name an unverifiable log would be
// moved to, to be noted once it was taken.
std::string NoteLog(const std::string& destination, TRunJournal& journal) {
    // Only an undo needs the log and its record as they were: the uninstaller removes them anyway.
    if (!journal.Undoes()) return {};
    const std::string path = InstallLogPath(destination);
    journal.ValueKept(HKEY_LOCAL_MACHINE, 0, kLogRecordsKey, SealValueName(destination));
    if (Exists(path))
        journal.FileKept(path);
    else
        journal.FileMade(path);
    return BadLogPath(destination);
}

}  // namespace

TInstallLogWriter::TInstallLogWriter(const std::string& destination, const std::string& application,
                                     TRunJournal& journal)
    : m_journal(journal), m_badLog(NoteLog(destination, journal)), m_log(destination, true) {
    if (!m_badLog.empty() && Exists(m_badLog)) m_journal.FileMade(m_badLog);
    Add(TLogKind::Application, application);
    Add(TLogKind::Destination, destination);
    // The uninstaller removes nothing that is not below this, whatever the destination becomes later.
    Add(TLogKind::FinalPath, FinalPathOf(destination));
    // From here on this run changes the machine; its end line says it completed.
    Add(TLogKind::RunStart, application);
}

void TInstallLogWriter::Add(TLogKind kind, const std::string& path, bool existed) {
    if (path.empty()) return;  // an empty title or name makes nothing that could be undone
    AddEntry({kind, existed, "", path, ""});
}

void TInstallLogWriter::AddEntry(const TLogEntry& entry) { m_log.Append(FormatLogLine(entry)); }

void TInstallLogWriter::KeysToCreate(HKEY root, const std::string& keyPath) {
    bool missing = false;
    for (std::size_t end = 0; end != std::string::npos;) {
        end = keyPath.find('\\', end + 1);
        const std::string key = keyPath.substr(0, end);
        missing = missing || !KeyExists(root, key);
        if (missing) AddEntry({TLogKind::Key, false, RootWord(root), key, ""});
    }
}

void TInstallLogWriter::WriteValue(TRegistryProfile& profile, const std::string& section, const std::string& name,
                                   const std::string& text) {
    const std::string key = NoteValue(profile, section, name);
    profile.WriteText(section, name, text);
    m_lastKey = {profile.Root(), key};
}

void TInstallLogWriter::WriteValue(TRegistryProfile& profile, const std::string& section, const std::string& name,
                                   DWORD number) {
    const std::string key = NoteValue(profile, section, name);
    profile.WriteDword(section, name, number);
    m_lastKey = {profile.Root(), key};
}

std::string TInstallLogWriter::NoteValue(const TRegistryProfile& profile, const std::string& section,
                                         const std::string& name) {
    const std::string key = profile.KeyPath(section);
    // The key of the value written last is there, with every key above it: the entry's values ask once.
    if (m_lastKey != std::pair(profile.Root(), key)) KeysToCreate(profile.Root(), key);
    const bool existed = ValueExists(profile.Root(), key, name);
    AddEntry({TLogKind::Value, existed, RootWord(profile.Root()), key, name});
    // Its old data, for the uninstaller to put back should this run be cut off.
    if (const std::optional<TRegistryKey> open = TRegistryKey::Open(profile.Root(), key, KEY_QUERY_VALUE);
        existed && open) {
        DWORD type = REG_NONE, size = 0;
        if (RegQueryValueExA(open->Get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::string data(size, '\0');
            if (RegQueryValueExA(open->Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                 &size) == ERROR_SUCCESS)
                AddEntry({TLogKind::OldValue, false, RootWord(profile.Root()), key,
                          OldValueName(type, std::string_view(data).substr(0, size), name)});
        }
    }
    m_journal.ValueKept(profile.Root(), 0, key, name);
    return key;
}

}  // namespace quenby
