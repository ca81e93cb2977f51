// The one registry key type: an open key, movable, closed once. Opening and creating answer with none
// when the key is missing or the system refuses; every read, write or deletion the system refuses raises
// ERegistryException carrying the text the user sees. Deleting what is already gone is no failure.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/Handles.h"

namespace quenby {

class TRegistryKey {
public:
    // Takes over a key opened elsewhere.
    explicit TRegistryKey(HKEY owned) : m_key(owned) {}

    // An existing key below `base` (a root or an open key), for `access` only.
    static std::optional<TRegistryKey> Open(HKEY base, const std::string& path, REGSAM access);
    // The key, with every missing key along the path created.
    static std::optional<TRegistryKey> Create(HKEY base, const std::string& path, REGSAM access = KEY_ALL_ACCESS);

    HKEY Get() const { return m_key.Get(); }
    bool ValueExists(const std::string& name) const;
    bool IsEmpty() const;  // no subkeys and no values
    // Empty for a missing or empty value; a failed read or a value that is no text raises.
    std::string ReadText(const std::string& name) const;
    // None for a missing value and for one that is no REG_DWORD.
    std::optional<DWORD> ReadDword(const std::string& name) const;
    void WriteText(const std::string& name, const std::string& text) const;
    void WriteDword(const std::string& name, DWORD value) const;
    void DeleteValue(const std::string& name) const;
    // A key without subkeys, and a key with all it holds, below a root.
    static void DeleteKey(HKEY root, const std::string& path);
    static void DeleteTree(HKEY root, const std::string& path);

private:
    TOwned<HKEY, CloseRegistryKey> m_key;
};

// The words the installation log names the two roots by ("HKLM", "HKCU"), both ways.
const char* RootWord(HKEY root);
// A key as a log shows it: its root's word and its path, and the 32-bit view named where a 32-bit program's
// HKLM\SOFTWARE lands in it on a 64-bit system.
std::string ShownKey(HKEY root, const std::string& path);
HKEY RootOfWord(std::string_view word);

}  // namespace quenby
