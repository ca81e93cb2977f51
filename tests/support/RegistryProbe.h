// Reads the prefix's registry directly, past the accessors under test.
#pragma once
#include <windows.h>

#include <string>

namespace quenby::test {

// The text of a REG_SZ value; "<no key>", "<missing>" or "<not text>" otherwise.
std::string RegText(HKEY root, const std::string& path, const std::string& name);
bool KeyExists(HKEY root, const std::string& path);

}  // namespace quenby::test
