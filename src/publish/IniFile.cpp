#include "publish/IniFile.h"

#include <cstring>

namespace quenby {

namespace {

// The profile functions treat Ctrl-Z (end of an old DOS text file) as a blank too.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1a; }

std::string Trimmed(const std::string& text) {
    size_t start = 0, end = text.size();
    while (start < end && IsBlank(text[start])) ++start;
    while (end > start && IsBlank(text[end - 1])) --end;
    return text.substr(start, end - start);
}

// One pair of equal quotes around a value is taken off when the value is read.
std::string WithoutQuotes(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

TIniFile::TIniFile(const std::string& content) {
    size_t pos = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    // Lines before the first section belong to no section that can be asked for.
    m_sections.push_back({"\x01", {}});
    while (pos < content.size()) {
        size_t lineEnd = content.find('\n', pos);
        if (lineEnd == std::string::npos) lineEnd = content.size();
        std::string line = Trimmed(content.substr(pos, lineEnd - pos));
        pos = lineEnd + 1;
        if (line.empty()) continue;
        if (line[0] == '[') {
            size_t close = line.rfind(']');
            if (close != std::string::npos) {
                m_sections.push_back({line.substr(1, close - 1), {}});
                continue;
            }
        }
        TEntry entry;
        size_t equals = line.find('=');
        if (equals == std::string::npos) {
            entry.Key = line;
        } else {
            entry.Key = Trimmed(line.substr(0, equals));
            entry.Value = Trimmed(line.substr(equals + 1));
            entry.HasValue = true;
        }
        m_sections.back().Entries.push_back(std::move(entry));
    }
}

// Only the first of two sections of the same name is ever seen.
const TIniFile::TSection* TIniFile::Find(const std::string& section) const {
    std::string name = Trimmed(section);
    for (size_t i = 1; i < m_sections.size(); ++i)
        if (SameTextIgnoringCase(m_sections[i].Name, name)) return &m_sections[i];
    return nullptr;
}

bool TIniFile::HasSection(const std::string& section) const { return Find(section) != nullptr; }

std::vector<std::string> TIniFile::SectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 1; i < m_sections.size(); ++i) names.push_back(m_sections[i].Name);
    return names;
}

std::string TIniFile::ReadText(const std::string& section, const std::string& key,
                               const std::string& defaultText) const {
    const TSection* found = Find(section);
    std::string name = Trimmed(key);
    if (found)
        for (const TEntry& entry : found->Entries)
            if (!entry.Key.empty() && SameTextIgnoringCase(entry.Key, name))
                return WithoutQuotes(entry.HasValue ? entry.Value : defaultText);
    return WithoutQuotes(defaultText);
}

std::optional<std::string> SectionOpenedBy(const std::string& line) {
    std::string trimmed = Trimmed(line);
    size_t close = trimmed.rfind(']');
    if (trimmed.empty() || trimmed[0] != '[' || close == std::string::npos) return std::nullopt;
    return Trimmed(trimmed.substr(1, close - 1));
}

void TIniFile::ListKeys(const std::string& section, TStringList& list) const {
    list.Clear();
    const TSection* found = Find(section);
    if (!found) return;
    for (const TEntry& entry : found->Entries) {
        if (!entry.HasValue || (!entry.Key.empty() && entry.Key[0] == ';')) continue;
        // The system's list ends at an empty name: it is the list's own terminator.
        if (entry.Key.empty()) break;
        list.Add(entry.Key);
    }
}

}  // namespace quenby
