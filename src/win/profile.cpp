#include "win/profile.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/Errors.h"
#include "base/NumberRule.h"
#include "base/SameText.h"
#include "base/Texts.h"

namespace quenby {

namespace {

constexpr DWORD kTextBufferSize = 1024;
constexpr DWORD kKeyListBufferSize = 8192;

// The profile reads grow their buffer until the result fits: the calls report a cut result only by a
// length of size - cutMargin.
template <typename Read>
std::string ReadGrowing(DWORD size, DWORD cutMargin, Read read) {
    for (;;) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = read(buffer.data(), size);
        if (length + cutMargin < size) return std::string(buffer.data(), length);
        size *= 2;
    }
}

std::string ReadProfileString(const char* section, const char* key, const char* defaultText, const std::string& path,
                              DWORD size, DWORD cutMargin) {
    return ReadGrowing(size, cutMargin, [&](char* buffer, DWORD bufferSize) {
        return GetPrivateProfileStringA(section, key, defaultText, buffer, bufferSize, path.c_str());
    });
}

// The names of a key list, or the lines of a section: each ends with a null, the list with an empty one.
std::vector<std::string> NullSeparated(const std::string& text) {
    std::vector<std::string> items;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\0', start);
        if (end == std::string::npos) end = text.size();
        if (end == start) break;
        items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

// Creates every missing key along the path.
LONG CreateKey(HKEY base, const std::string& path, HKEY& key) {
    return RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                           nullptr);
}

}  // namespace

// ---- profile file ----

const std::vector<std::string>& TProfileFile::SectionLines(const std::string& section) const {
    const auto known = m_sections.find(section);
    if (known != m_sections.end()) return known->second;
    // A section that does not fit comes back as size - 2 characters.
    return m_sections[section] = NullSeparated(ReadGrowing(kKeyListBufferSize, 2, [&](char* buffer, DWORD size) {
               return GetPrivateProfileSectionA(section.c_str(), buffer, size, m_path.c_str());
           }));
}

// The value of a key that the section holds once, spelt as asked, as "key=value" with nothing that the
// system changes on reading (blanks around it, quotes). Anything else is the system's to answer.
std::optional<std::string> TProfileFile::PlainValue(const std::string& section, const std::string& key) const {
    const auto ascii = [](unsigned char c) { return c >= ' ' && c < 0x7f; };
    if (key.empty() || !std::ranges::all_of(key, ascii)) return std::nullopt;
    const std::string* found = nullptr;
    for (const std::string& line : SectionLines(section)) {
        const std::string_view name = std::string_view(line).substr(0, line.find('='));
        if (!SameTextIgnoringCase(name, key)) continue;
        if (found || name.size() == line.size() || name != key) return std::nullopt;
        found = &line;
    }
    if (!found) return std::nullopt;
    std::string value = found->substr(key.size() + 1);
    const auto plain = [](unsigned char c) { return c > ' ' && c != '"' && c != '\''; };
    if (!value.empty() && (!plain(value.front()) || static_cast<unsigned char>(value.back()) <= ' '))
        return std::nullopt;
    return value;
}

std::string TProfileFile::ReadText(const std::string& section, const std::string& key,
                                   const std::string& defaultText) const {
    if (std::optional<std::string> value = PlainValue(section, key)) return *value;
    // A value that does not fit is cut to size - 1 characters.
    return ReadProfileString(section.c_str(), key.c_str(), defaultText.c_str(), m_path, kTextBufferSize, 1);
}

std::int32_t TProfileFile::ReadNumber(const std::string& section, const std::string& key,
                                      std::int32_t defaultValue) const {
    return ::quenby::ReadNumber(ReadText(section, key, ""), defaultValue);
}

bool TProfileFile::ReadFlag(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadNumber(section, key, defaultValue ? 1 : 0) != 0;
}

void TProfileFile::ListKeys(const std::string& section, TStringList& list) const {
    list.Clear();
    // A key list that does not fit comes back as size - 2 characters with its last name cut.
    for (std::string& name :
         NullSeparated(ReadProfileString(section.c_str(), nullptr, nullptr, m_path, kKeyListBufferSize, 2)))
        list.Add(std::move(name));
}

void TProfileFile::WriteText(const std::string& section, const std::string& key, const std::string& text) const {
    m_sections.clear();
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(), m_path.c_str()))
        throw Exception(CannotWriteText(m_path));
}

// ---- registry key accessor ----

HKEY TRegistryKey::BaseFor(const std::string& path, std::string& rest) const {
    if (!path.empty() && path[0] == '\\') {
        rest = path.substr(1);
        return m_root;
    }
    rest = path;
    return m_current ? m_current.Get() : m_root;
}

TRegKey TRegistryKey::OpenExisting(const std::string& path) const {
    std::string rest;
    HKEY base = BaseFor(path, rest);
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, rest.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return {};
    return TRegKey(key);
}

void TRegistryKey::SetRoot(HKEY root) {
    if (root == m_root) return;
    Release();
    m_root = root;
}

bool TRegistryKey::OpenKey(const std::string& path, bool mayCreate) {
    std::string rest;
    HKEY base = BaseFor(path, rest);
    HKEY key = nullptr;
    LONG result;
    if (mayCreate && !rest.empty())
        result = CreateKey(base, rest, key);
    else
        result = RegOpenKeyExA(base, rest.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS) return false;

    bool relativeToCurrent = (path.empty() || path[0] != '\\') && m_current;
    m_currentPath = relativeToCurrent ? m_currentPath + "\\" + rest : rest;
    m_current.Reset(key);
    return true;
}

bool TRegistryKey::OpenExistingKey(const std::string& path, REGSAM access) {
    std::string rest;
    HKEY base = BaseFor(path, rest);
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, rest.c_str(), 0, access, &key) != ERROR_SUCCESS) return false;
    const bool relativeToCurrent = (path.empty() || path[0] != '\\') && m_current;
    m_currentPath = relativeToCurrent ? m_currentPath + "\\" + rest : rest;
    m_current.Reset(key);
    return true;
}

bool TRegistryKey::ValueExists(const std::string& name) const {
    return m_current &&
           RegQueryValueExA(m_current.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void TRegistryKey::WriteValueText(const std::string& name, const std::string& text) const {
    if (!m_current ||
        RegSetValueExA(m_current.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException(RegistryWriteText(name));
}

LONG TRegistryKey::DeleteValue(const std::string& name) const {
    return m_current ? RegDeleteValueA(m_current.Get(), name.c_str()) : ERROR_FILE_NOT_FOUND;
}

bool TRegistryKey::IsEmpty() const {
    DWORD subkeys = 0, values = 0;
    return m_current &&
           RegQueryInfoKeyA(m_current.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

LONG TRegistryKey::DeleteTree(HKEY root, const std::string& path) { return RegDeleteTreeA(root, path.c_str()); }

LONG TRegistryKey::DeleteKey(HKEY root, const std::string& path) { return RegDeleteKeyA(root, path.c_str()); }

std::string TRegistryKey::ReadValueText(const std::string& name) const {
    if (!m_current) return {};
    return ReadValueTextOf(m_current.Get(), name);
}

std::string TRegistryKey::ReadValueTextOf(HKEY key, const std::string& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return {};
    std::vector<BYTE> data;
    for (LONG result = ERROR_MORE_DATA; result == ERROR_MORE_DATA;) {
        // The value may grow between the two calls: the buffer grows with it.
        data.resize(size);
        result = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) throw ERegistryException(RegistryReadText(name));
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(RegistryTypeText(name));
    // Data stored with or without its terminating zero reads the same.
    std::string text(reinterpret_cast<const char*>(data.data()), size);
    return text.substr(0, text.find('\0'));
}

void TRegistryKey::Release() {
    m_current.Reset();
    m_currentPath.clear();
}

// ---- registry profile ----

TRegistryProfile::TRegistryProfile(std::string path) : m_profilePath(std::move(path)) { OpenKey(m_profilePath, true); }

void TRegistryProfile::WriteText(const std::string& section, const std::string& name, const std::string& text) {
    WriteData(section, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}

void TRegistryProfile::WriteDword(const std::string& section, const std::string& name, DWORD value) {
    WriteData(section, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void TRegistryProfile::WriteData(const std::string& section, const std::string& name, DWORD type, const BYTE* data,
                                 DWORD size) {
    std::string rest;
    HKEY base = BaseFor(section, rest);
    HKEY created = nullptr;
    if (CreateKey(base, rest, created) != ERROR_SUCCESS) throw ERegistryException(RegistryCreateText(section));
    // Written through the handle that made the key: no other program can swap or lock the key between the two,
    // and a key deleted meanwhile fails the write instead of passing for written.
    const TRegKey key(created);
    if (RegSetValueExA(key.Get(), name.c_str(), 0, type, data, size) != ERROR_SUCCESS)
        throw ERegistryException(RegistryWriteText(name));
}

std::int32_t TRegistryProfile::ReadNumber(const std::string& section, const std::string& name,
                                          std::int32_t defaultValue) {
    TRegKey key = OpenExisting(section);
    if (!key) return defaultValue;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return defaultValue;
    return ::quenby::ReadNumber(ReadValueTextOf(key.Get(), name), defaultValue);
}

void TRegistryProfile::WriteNumber(const std::string& section, const std::string& name, std::int32_t value) {
    WriteText(section, name, std::to_string(value));
}

}  // namespace quenby
