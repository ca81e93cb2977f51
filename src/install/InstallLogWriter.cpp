#include "install/InstallLogWriter.h"

#include <algorithm>

#include "base/Errors.h"
#include "base/Texts.h"
#include "win/FileSystem.h"
#include "win/NoLinkRemoval.h"
#include "win/NoticeFile.h"
#include "win/Sha256.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

const char* RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU"; }

bool KeyExists(HKEY root, const std::string& path) {
    TRegistryKey key;
    key.SetRoot(root);
    return key.OpenExistingKey("\\" + path, KEY_READ);
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
    TRegistryKey key;
    key.SetRoot(root);
    return key.OpenExistingKey("\\" + path, KEY_READ) && key.ValueExists(name);
}

std::string SealValueName(const std::string& destination) {
    return HexText(Sha256(NormalisedDestination(destination)));
}

// The next free name for a log that cannot be verified.
std::string BadLogPath(const std::string& destination) {
    const std::string first = destination + "\\" + kBadLogName;
    std::string path = first;
    for (int number = 2; Exists(path) && number < 1000; ++number) path = first + "." + std::to_string(number);
    return path;
}

}  // namespace

std::optional<TLogSeal> ReadLogSeal(const std::string& destination) {
    TRegistryKey key;
    key.SetRoot(HKEY_LOCAL_MACHINE);
    if (!key.OpenExistingKey("\\" + std::string(kLogRecordsKey), KEY_QUERY_VALUE)) return std::nullopt;
    try {
        return ParseSeal(key.ReadValueText(SealValueName(destination)));
    } catch (const ERegistryException&) {
        return std::nullopt;  // not text: no record of Setup's
    }
}

void DeleteLogSeal(const std::string& destination) {
    std::string path = kLogRecordsKey;
    TRegistryKey key;
    key.SetRoot(HKEY_LOCAL_MACHINE);
    if (!key.OpenExistingKey("\\" + path, KEY_SET_VALUE)) return;
    key.DeleteValue(SealValueName(destination));
    key.Release();
    // The records' key and its parents go with the last record (up to SOFTWARE).
    for (; std::ranges::count(path, '\\') > 0; path.erase(path.rfind('\\'))) {
        TRegistryKey parent;
        parent.SetRoot(HKEY_LOCAL_MACHINE);
        if (!parent.OpenExistingKey("\\" + path, KEY_READ) || !parent.IsEmpty()) return;
        parent.Release();
        TRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, path);
    }
}

std::optional<std::string> ReadVerifiedLog(const std::string& destination) {
    const std::optional<TLogSeal> seal = ReadLogSeal(destination);
    const std::string path = InstallLogPath(destination);
    if (!seal || !IsFile(path)) return std::nullopt;
    return VerifiedLogText(ReadWholeFile(path), *seal, Sha256);
}

TSealedLog::TSealedLog(const std::string& destination, bool mayBeginAnew)
    : m_destination(destination), m_path(InstallLogPath(destination)) {
    const std::optional<TLogSeal> seal = ReadLogSeal(destination);
    if (Exists(m_path)) {
        const std::optional<std::string> verified = ReadVerifiedLog(destination);
        if (verified) {
            m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            LARGE_INTEGER end{};
            end.QuadPart = static_cast<LONGLONG>(seal->Bytes);
            // A line written after the last record (a run stopped in between) was never acted on.
            if (!m_file || !SetFilePointerEx(m_file.Get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(m_file.Get()))
                Fail(GetLastError());
            m_seal = *seal;
            return;
        }
        if (!mayBeginAnew) throw Exception(LogMismatchText(m_path));
        if (!MoveFileA(m_path.c_str(), BadLogPath(destination).c_str())) Fail(GetLastError());
    }
    // A log that appears meanwhile is someone else's: never adopted.
    m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!m_file) Fail(GetLastError());
    Append(std::string(kInstallLogHeader) + "\r\n");
}

void TSealedLog::Fail(DWORD error) const { throw Exception(CannotWriteLogText(m_path, SystemErrorText(error))); }

// Each line reaches the file before its action (a process stopped anywhere leaves it there); it is never
// forced to the disk. Forcing bought no order against a power cut, the record in the registry being
// written back lazily too: should a cut leave the two apart, the uninstaller refuses the log and removes
// nothing. It cost half a millisecond a line under Wine, and once for the closed log the whole
// installation's data with it (ext4 writes out what is pending with the one file): 5 to 10 ms, once 0.7 s.
void TSealedLog::Append(const std::string& line) {
    DWORD written = 0;
    if (!WriteFile(m_file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size())
        Fail(GetLastError());
    const TLogSeal next = ExtendSeal(m_seal, line, Sha256);
    if (!m_records.CurrentKey()) {
        m_records.SetRoot(HKEY_LOCAL_MACHINE);
        if (!m_records.OpenKey("\\" + std::string(kLogRecordsKey), true)) Fail(ERROR_ACCESS_DENIED);
        m_sealName = SealValueName(m_destination);
    }
    try {
        m_records.WriteValueText(m_sealName, SealText(next));
    } catch (const ERegistryException& error) {
        throw Exception(CannotWriteLogText(m_path, error.what()));
    }
    m_seal = next;
}

std::string AbsoluteKeyPath(const TRegistryKey& profile, const std::string& section) {
    std::string path = !section.empty() && section[0] == '\\' ? section.substr(1)
                       : profile.CurrentKey()                 ? profile.CurrentPath() + "\\" + section
                                                              : section;
    // The system takes runs of backslashes and a trailing one as one separator and none.
    std::string clean;
    for (char c : path)
        if (c != '\\' || (!clean.empty() && clean.back() != '\\')) clean += c;
    if (!clean.empty() && clean.back() == '\\') clean.pop_back();
    return clean;
}

TInstallLogWriter::TInstallLogWriter(const std::string& destination, const std::string& application)
    : m_log(destination, true) {
    Add(TLogKind::Application, application);
    Add(TLogKind::Destination, destination);
    // The uninstaller removes nothing that is not below this, whatever the destination becomes later.
    Add(TLogKind::FinalPath, FinalPathOf(destination));
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
        if (missing) AddEntry({TLogKind::Key, false, RootName(root), key, ""});
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
    const std::string key = AbsoluteKeyPath(profile, section);
    // The key of the value written last is there, with every key above it: the entry's ten values ask once.
    if (m_lastKey != std::pair(profile.Root(), key)) KeysToCreate(profile.Root(), key);
    AddEntry({TLogKind::Value, ValueExists(profile.Root(), key, name), RootName(profile.Root()), key, name});
    return key;
}

}  // namespace quenby
