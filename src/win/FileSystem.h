// Whether a file or folder is there, asked one way everywhere (the copy step, the uninstaller, the tree).
#pragma once
#include <string>

namespace quenby {

bool Exists(const std::string& path);  // a file or a folder
bool IsDirectory(const std::string& path);
// A folder of a file's name is not the file (a wrong disk may hold one).
bool IsFile(const std::string& path);
// Whether the system's error says that what was asked for is not there (the name or a folder on its way):
// for a removal, nothing left to do.
bool IsGoneError(unsigned long error);

}  // namespace quenby
