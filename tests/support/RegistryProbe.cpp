#include "RegistryProbe.h"

namespace quenby::test {

std::string RegText(HKEY root, const std::string& path, const std::string& name, REGSAM view) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return "<no key>";
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "<missing>";
    return type == REG_SZ ? std::string(buffer) : "<not text>";
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace quenby::test
