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
#include "win/Handles.h"

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
    const std::vector<std::string>& SectionLines(const std::string& section) const;
    std::optional<std::string> PlainValue(const std::string& section, const std::string& key) const;

    std::string m_path;
    // Each section read once, as the system lists it (GetPrivateProfileSectionA): a file of 200 names costs
    // Wine 200 openings of the file when each value is asked for on its own.
    mutable std::map<std::string, std::vector<std::string>> m_sections;
};

// One open registry key below a predefined root; paths starting with "\" are taken below the root,
// others below the current key.
class TRegistryKey {
public:
    TRegistryKey() = default;
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;
    virtual ~TRegistryKey() = default;

    HKEY Root() const { return m_root; }
    void SetRoot(HKEY root);
    bool OpenKey(const std::string& path, bool mayCreate);
    // Opens an existing key for `access` only (no creation); false when it is missing or refused.
    bool OpenExistingKey(const std::string& path, REGSAM access);
    bool ValueExists(const std::string& name) const;
    // Raises ERegistryException "Failed to set data for '%s'".
    void WriteValueText(const std::string& name, const std::string& text) const;
    // The system's answer (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ...).
    LONG DeleteValue(const std::string& name) const;
    bool IsEmpty() const;  // no subkeys and no values
    // Deletes a key without subkeys below a root; the system's answer.
    static LONG DeleteKey(HKEY root, const std::string& path);
    // Deletes a key with all its values and subkeys; the system's answer.
    static LONG DeleteTree(HKEY root, const std::string& path);
    // Empty for a missing or empty value; raises ERegistryException for a failed read or a value that
    // is not text.
    std::string ReadValueText(const std::string& name) const;
    void Release();

    HKEY CurrentKey() const { return m_current.Get(); }
    const std::string& CurrentPath() const { return m_currentPath; }

protected:
    // The key a path names, and the rest of the path below it.
    HKEY BaseFor(const std::string& path, std::string& rest) const;
    // The key a path names, opened with full access; empty when the system refuses.
    TRegKey OpenExisting(const std::string& path) const;
    static std::string ReadValueTextOf(HKEY key, const std::string& name);

private:
    HKEY m_root = HKEY_CURRENT_USER;
    TRegKey m_current;
    std::string m_currentPath;
};

// The registry written like an INI file: sections are key paths, keys are value names.
class TRegistryProfile : public TRegistryKey {
public:
    explicit TRegistryProfile(std::string path);
    const std::string& ProfilePath() const { return m_profilePath; }

    // Creates the section's key path as needed; raises ERegistryException "Failed to create key %s"
    // or "Failed to set data for '%s'".
    void WriteText(const std::string& section, const std::string& name, const std::string& text);
    // The default when the key or the value is missing or the text is no number.
    std::int32_t ReadNumber(const std::string& section, const std::string& name, std::int32_t defaultValue);
    void WriteNumber(const std::string& section, const std::string& name, std::int32_t value);
    // A REG_DWORD, with the same key creation and errors as WriteText.
    void WriteDword(const std::string& section, const std::string& name, DWORD value);

private:
    void WriteData(const std::string& section, const std::string& name, DWORD type, const BYTE* data, DWORD size);

    std::string m_profilePath;
};

}  // namespace quenby
