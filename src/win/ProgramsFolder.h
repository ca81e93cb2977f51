// Where Program Manager keeps a group: a folder of the user's or of everyone's Start Menu programs.
#pragma once
#include <string>
#include <vector>

namespace quenby {

// The group's folder when it exists (the user's first, then everyone's); empty otherwise.
std::string ProgramGroupFolder(const std::string& group);
// The names of everything in the folder, hidden and system entries included.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace quenby
