#include "install/InstallLogWriter.h"

#include "base/Errors.h"
#include "base/Texts.h"
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

}  // namespace

std::string AbsoluteKeyPath(const TRegistryKey& profile, const std::string& section) {
    std::string path = !section.empty() && section[0] == '\\' ? section.substr(1)
                       : profile.CurrentKey()                  ? profile.CurrentPath() + "\\" + section
                                                               : section;
    // The system takes runs of backslashes and a trailing one as one separator and none.
    std::string clean;
    for (char c : path)
        if (c != '\\' || (!clean.empty() && clean.back() != '\\')) clean += c;
    if (!clean.empty() && clean.back() == '\\') clean.pop_back();
    return clean;
}

TInstallLogWriter::TInstallLogWriter(const std::string& destination, const std::string& application)
    : m_path(InstallLogPath(destination)) {
    const HANDLE file = CreateFileA(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw Exception(CannotWriteLogText(m_path, SystemErrorText(GetLastError())));
    m_file.Reset(file);
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart == 0) WriteLine(std::string(kInstallLogHeader) + "\r\n");
    Add(TLogKind::Application, application);
    Add(TLogKind::Destination, destination);
}

void TInstallLogWriter::Add(TLogKind kind, const std::string& path, bool existed) {
    if (path.empty()) return;  // an empty title or name makes nothing that could be undone
    AddEntry({kind, existed, "", path, ""});
}

void TInstallLogWriter::AddEntry(const TLogEntry& entry) { WriteLine(FormatLogLine(entry)); }

void TInstallLogWriter::WriteLine(const std::string& line) {
    DWORD written = 0;
    if (!WriteFile(m_file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size() || !FlushFileBuffers(m_file.Get()))
        throw Exception(CannotWriteLogText(m_path, SystemErrorText(GetLastError())));
}

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
    const std::string key = AbsoluteKeyPath(profile, section);
    KeysToCreate(profile.Root(), key);
    AddEntry({TLogKind::Value, ValueExists(profile.Root(), key, name), RootName(profile.Root()), key, name});
    profile.WriteText(section, name, text);
}

void TInstallLogWriter::WriteValue(TRegistryProfile& profile, const std::string& section, const std::string& name,
                                   DWORD number) {
    const std::string key = AbsoluteKeyPath(profile, section);
    KeysToCreate(profile.Root(), key);
    AddEntry({TLogKind::Value, ValueExists(profile.Root(), key, name), RootName(profile.Root()), key, name});
    profile.WriteDword(section, name, number);
}

}  // namespace quenby
