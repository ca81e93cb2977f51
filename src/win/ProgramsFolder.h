// Where Program Manager keeps a group: a folder of the user's or of everyone's Start Menu programs.
#pragma once
#include <string>

namespace quenby {

// The group's folder when it exists (the user's first, then everyone's); empty otherwise.
std::string ProgramGroupFolder(const std::string& group);
// True when the folder holds anything at all.
bool FolderHasEntries(const std::string& folder);

}  // namespace quenby
