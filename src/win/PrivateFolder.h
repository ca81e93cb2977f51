// A folder that no user can change: made fresh below the Windows directory's Temp (where users cannot
// rename what others made), writable by the system and the administrators only. Whatever a program keeps
// there (its own copy, a file it must put back, a name it registers for the restart) cannot be swapped.
#pragma once
#include <string>

namespace quenby {

// Where the private folders are made.
std::string PrivateFoldersParent();
// The new folder's path; empty when none could be made. A name that exists already, whoever made it, is
// never used.
std::string MakePrivateFolder();

}  // namespace quenby
