// What the instructions are read through: the system's profile functions in Setup.exe, the portable
// INI reader in the publisher tools. Both answer as the profile functions do.
#pragma once
#include <string>

#include "base/StringList.h"

namespace quenby {

class TIniSource {
public:
    virtual ~TIniSource() = default;
    // The whole value; the default for a missing file, section or key.
    virtual std::string ReadText(const std::string& section, const std::string& key,
                                 const std::string& defaultText) const = 0;
    // Every key of the section in file order, duplicates included; empty for a missing section.
    virtual void ListKeys(const std::string& section, TStringList& list) const = 0;
};

}  // namespace quenby
