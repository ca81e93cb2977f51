#include "win/profile.h"

#include <algorithm>
#include <utility>
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

}  // namespace

// ---- profile file ----

const TProfileFile::TSection& TProfileFile::Section(const std::string& section) const {
    const auto known = m_sections.find(section);
    if (known != m_sections.end()) return known->second;
    TSection read;
    // A section that does not fit comes back as size - 2 characters.
    read.Lines = NullSeparated(ReadGrowing(kKeyListBufferSize, 2, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionA(section.c_str(), buffer, size, m_path.c_str());
    }));
    for (std::size_t i = 0; i < read.Lines.size(); ++i) {
        const auto [name, first] =
            read.LineOf.try_emplace(AsciiLower(read.Lines[i].substr(0, read.Lines[i].find('='))), i);
        if (!first) name->second = std::string::npos;
    }
    return m_sections.emplace(section, std::move(read)).first->second;
}

// The value of a key that the section holds once, spelt as asked, as "key=value" with nothing that the
// system changes on reading (blanks around it, quotes). Anything else is the system's to answer.
std::optional<std::string> TProfileFile::PlainValue(const std::string& section, const std::string& key) const {
    const auto ascii = [](unsigned char c) { return c >= ' ' && c < 0x7f; };
    if (key.empty() || !std::ranges::all_of(key, ascii)) return std::nullopt;
    const TSection& read = Section(section);
    const auto found = read.LineOf.find(AsciiLower(key));
    if (found == read.LineOf.end() || found->second == std::string::npos) return std::nullopt;
    const std::string& line = read.Lines[found->second];
    if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0 || line[key.size()] != '=')
        return std::nullopt;
    std::string value = line.substr(key.size() + 1);
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

// ---- registry profile ----

TRegistryProfile::TRegistryProfile(HKEY root, const std::string& path)
    : m_root(root), m_path(!path.empty() && path[0] == '\\' ? path.substr(1) : path) {
    if (!m_path.empty()) m_key = TRegistryKey::Create(m_root, m_path);
}

HKEY TRegistryProfile::BaseFor(const std::string& section, std::string& rest) const {
    const bool belowRoot = !section.empty() && section[0] == '\\';
    rest = belowRoot ? section.substr(1) : section;
    return !belowRoot && m_key ? m_key->Get() : m_root;
}

std::string TRegistryProfile::KeyPath(const std::string& section) const {
    std::string rest;
    const HKEY base = BaseFor(section, rest);
    return CleanKeyPath(base == m_root ? rest : m_path + "\\" + rest);
}

std::string CleanKeyPath(const std::string& path) {
    std::string clean;
    for (char c : path)
        if (c != '\\' || (!clean.empty() && clean.back() != '\\')) clean += c;
    if (!clean.empty() && clean.back() == '\\') clean.pop_back();
    return clean;
}

TRegistryKey TRegistryProfile::CreateSection(const std::string& section) {
    std::string rest;
    const HKEY base = BaseFor(section, rest);
    std::optional<TRegistryKey> key = TRegistryKey::Create(base, rest);
    if (!key) throw ERegistryException(RegistryCreateText(section));
    return std::move(*key);
}

// Each value is written through the handle that made its key: no other program can swap or lock the key
// between the two, and a key deleted meanwhile fails the write instead of passing for written.
void TRegistryProfile::WriteText(const std::string& section, const std::string& name, const std::string& text) {
    CreateSection(section).WriteText(name, text);
}

void TRegistryProfile::WriteDword(const std::string& section, const std::string& name, DWORD value) {
    CreateSection(section).WriteDword(name, value);
}

std::int32_t TRegistryProfile::ReadNumber(const std::string& section, const std::string& name,
                                          std::int32_t defaultValue) {
    std::string rest;
    const HKEY base = BaseFor(section, rest);
    const std::optional<TRegistryKey> key = TRegistryKey::Open(base, rest, KEY_ALL_ACCESS);
    if (!key || !key->ValueExists(name)) return defaultValue;
    return ::quenby::ReadNumber(key->ReadText(name), defaultValue);
}

void TRegistryProfile::WriteNumber(const std::string& section, const std::string& name, std::int32_t value) {
    WriteText(section, name, std::to_string(value));
}

}  // namespace quenby
