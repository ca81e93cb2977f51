// Reads a shortcut (.lnk) back through the shell's IShellLinkA / IPersistFile.
#pragma once
#include <optional>
#include <string>

namespace quenby::drive {

struct TShellLink {
    std::string Target;  // as stored, environment strings not expanded
    std::string Arguments;
    std::string Description;  // the title Program Manager gave the item
};

// Empty when the file is no readable link. COM must be initialised on the calling thread.
std::optional<TShellLink> ReadShellLink(const std::string& path);

}  // namespace quenby::drive
