// The accessors of INI files and of the registry that the instructions reader, the wizard and the
// installation engine share, with one set of limits and failure texts.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/IniSource.h"
#include "base/StringList.h"
#include "win/RegistryKey.h"

namespace quenby {

// An INI file reached only through the system's profile functions; holds nothing but its path.
class TProfileFile : public TIniSource {
public:
    explicit TProfileFile(std::string path) : m_path(std::move(path)) {}
    const std::string& Path() const { return m_path; }

    // The whole value however long; the default for a missing file, section or key.
    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultText) const override;
    std::int32_t ReadNumber(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    bool ReadFlag(const std::string& section, const std::string& key, bool defaultValue) const;
    // Every key of the section however many, in file order, duplicates included; empty for a missing
    // section.
    void ListKeys(const std::string& section, TStringList& list) const override;
    // Raises "Unable to write to %s" when the system refuses.
    void WriteText(const std::string& section, const std::string& key, const std::string& text) const;

private:
    // A section's "key=value" lines as the system lists them, and by name in ASCII lower case the line of each
    // (npos: more than one): a list of 200 names is read name by name, and a scan for each costs 10 ms under
    // emulation.
    struct TSection {
        std::vector<std::string> Lines;
        std::map<std::string, std::size_t> LineOf;
    };
    const TSection& Section(const std::string& section) const;
    std::optional<std::string> PlainValue(const std::string& section, const std::string& key) const;

    std::string m_path;
    // Each section read once (GetPrivateProfileSectionA): a file of 200 names costs Wine 200 openings of the
    // file when each value is asked for on its own.
    mutable std::map<std::string, TSection> m_sections;
};

// The registry written like an INI file: sections are key paths, keys are value names. A section starting
// with "\" lies below the root, any other below the profile's own key (below the root when that key could
// not be made).
class TRegistryProfile {
public:
    // The profile's key, `path` below the root, is made as needed; an empty path makes none.
    TRegistryProfile(HKEY root, const std::string& path);
    HKEY Root() const { return m_root; }
    // The full key path below the root that a section names, as the system reads it.
    std::string KeyPath(const std::string& section) const;

    // Creates the section's key path as needed; raises ERegistryException "Failed to create key %s"
    // or "Failed to set data for '%s'".
    void WriteText(const std::string& section, const std::string& name, const std::string& text);
    // The default when the key or the value is missing or the text is no number.
    std::int32_t ReadNumber(const std::string& section, const std::string& name, std::int32_t defaultValue);
    void WriteNumber(const std::string& section, const std::string& name, std::int32_t value);
    // A REG_DWORD, with the same key creation and errors as WriteText.
    void WriteDword(const std::string& section, const std::string& name, DWORD value);

private:
    // The key a section starts from, and the rest of its path.
    HKEY BaseFor(const std::string& section, std::string& rest) const;
    TRegistryKey CreateSection(const std::string& section);

    HKEY m_root;
    std::string m_path;  // below the root, as given
    std::optional<TRegistryKey> m_key;
};

// A key path as the system reads it: runs of backslashes are one separator, a leading or trailing one none.
std::string CleanKeyPath(const std::string& path);

}  // namespace quenby
