#include "publish/Checksums.h"

#include "base/StringList.h"
#include "publish/IniFile.h"

namespace quenby {

std::string WithChecksums(const std::string& instructions, const std::vector<TChecksum>& checksums) {
    const std::string eol = instructions.find("\r\n") != std::string::npos || instructions.empty() ? "\r\n" : "\n";
    std::string kept;
    bool inChecksums = false;
    for (size_t pos = 0; pos < instructions.size();) {
        size_t end = instructions.find('\n', pos);
        end = end == std::string::npos ? instructions.size() : end + 1;
        std::string line = instructions.substr(pos, end - pos);
        pos = end;
        if (std::optional<std::string> section = SectionOpenedBy(line))
            inChecksums = SameTextIgnoringCase(*section, kChecksumsSection);
        if (!inChecksums) kept += line;
    }
    // Blank lines at the end go, so that the section is put after exactly one.
    size_t last = kept.find_last_not_of(" \t\r\n");
    kept.erase(last == std::string::npos ? 0 : last + 1);
    std::string text = kept;
    if (!text.empty()) text.append(eol).append(eol);
    text.append("[").append(kChecksumsSection).append("]").append(eol);
    for (const TChecksum& checksum : checksums)
        text.append(checksum.Name).append("=").append(checksum.Digest).append(eol);
    return text;
}

}  // namespace quenby
