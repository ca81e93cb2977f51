#include "win/RegistryKey.h"

#include <vector>

#include "base/Errors.h"
#include "base/InstallLog.h"
#include "base/Texts.h"
#include "win/FileSystem.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

void RaiseUnlessDoneOrGone(LONG result) {
    if (result != ERROR_SUCCESS && !IsGoneError(static_cast<unsigned long>(result)))
        throw ERegistryException(SystemErrorText(static_cast<DWORD>(result)));
}

}  // namespace

std::optional<TRegistryKey> TRegistryKey::Open(HKEY base, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return std::nullopt;
    return TRegistryKey(key);
}

std::optional<TRegistryKey> TRegistryKey::Create(HKEY base, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return TRegistryKey(key);
}

bool TRegistryKey::ValueExists(const std::string& name) const {
    return RegQueryValueExA(Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistryKey::IsEmpty() const {
    DWORD subkeys = 0, values = 0;
    return RegQueryInfoKeyA(Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

std::string TRegistryKey::ReadText(const std::string& name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return {};
    std::vector<BYTE> data;
    for (LONG result = ERROR_MORE_DATA; result == ERROR_MORE_DATA;) {
        // The value may grow between the two calls: the buffer grows with it.
        data.resize(size);
        result = RegQueryValueExA(Get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) throw ERegistryException(RegistryReadText(name));
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(RegistryTypeText(name));
    // Data stored with or without its terminating zero reads the same.
    std::string text(reinterpret_cast<const char*>(data.data()), size);
    return text.substr(0, text.find('\0'));
}

std::optional<DWORD> TRegistryKey::ReadDword(const std::string& name) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

void TRegistryKey::WriteText(const std::string& name, const std::string& text) const {
    if (RegSetValueExA(Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException(RegistryWriteText(name));
}

void TRegistryKey::WriteDword(const std::string& name, DWORD value) const {
    if (RegSetValueExA(Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) !=
        ERROR_SUCCESS)
        throw ERegistryException(RegistryWriteText(name));
}

void TRegistryKey::DeleteValue(const std::string& name) const {
    RaiseUnlessDoneOrGone(RegDeleteValueA(Get(), name.c_str()));
}

void TRegistryKey::DeleteKey(HKEY root, const std::string& path) {
    RaiseUnlessDoneOrGone(RegDeleteKeyA(root, path.c_str()));
}

void TRegistryKey::DeleteTree(HKEY root, const std::string& path) {
    RaiseUnlessDoneOrGone(RegDeleteTreeA(root, path.c_str()));
}

const char* RootWord(HKEY root) { return root == HKEY_LOCAL_MACHINE ? kMachineRootWord : kUserRootWord; }

std::string ShownKey(HKEY root, const std::string& path) {
    BOOL wow64 = FALSE;
    const bool redirected = root == HKEY_LOCAL_MACHINE && IsWow64Process(GetCurrentProcess(), &wow64) && wow64 &&
                            _strnicmp(path.c_str(), "SOFTWARE\\", 9) == 0;
    return RootWord(root) + ("\\" + path) + (redirected ? " (32-bit view)" : "");
}

HKEY RootOfWord(std::string_view word) { return word == kMachineRootWord ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

}  // namespace quenby
