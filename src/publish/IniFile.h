// An INI file read the way the system's profile functions read it, for the publisher tools' native
// build, which has no profile functions.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/IniSource.h"
#include "base/SameText.h"
#include "base/StringList.h"

namespace quenby {

class TIniFile : public TIniSource {
public:
    TIniFile() = default;
    explicit TIniFile(const std::string& content);

    // Section and key names compare without regard to case; the first of two equal keys wins.
    bool HasSection(const std::string& section) const;
    // Every section header in file order, a name given twice included.
    std::vector<std::string> SectionNames() const;
    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultText) const override;
    // Keys in file order, duplicates included, without comment lines (";...").
    void ListKeys(const std::string& section, TStringList& list) const override;

private:
    struct TEntry {
        std::string Key;
        std::string Value;
        bool HasValue = false;
    };
    struct TSection {
        std::string Name;
        std::vector<TEntry> Entries;
    };
    const TSection* Find(const std::string& section) const;

    std::vector<TSection> m_sections;
};

// The name of the section a line of the file opens ("[ FilesIn ]" opens FilesIn); nothing for other lines. For
// the tools that rewrite one section of a file and keep every other byte.
std::optional<std::string> SectionOpenedBy(const std::string& line);

}  // namespace quenby
