// Reads the prefix's registry directly, past the accessors under test.
#pragma once
#include <windows.h>

#include <string>

namespace quenby::test {

// The text of a REG_SZ value; "<no key>", "<missing>" or "<not text>" otherwise. `view`: KEY_WOW64_32KEY
// or KEY_WOW64_64KEY to read that view of HKLM\SOFTWARE, 0 this process's own.
std::string RegText(HKEY root, const std::string& path, const std::string& name, REGSAM view = 0);
bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0);

}  // namespace quenby::test
