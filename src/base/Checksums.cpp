#include "base/Checksums.h"

#include "base/SameText.h"
#include "base/StringList.h"

namespace quenby {

std::string HexDigest(const unsigned char* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < count; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0f];
    }
    return hex;
}

std::vector<TChecksum> ReadChecksums(const TIniSource& ini) {
    TStringList names;
    ini.ListKeys(kChecksumsSection, names);
    std::vector<TChecksum> checksums;
    for (const std::string& name : names) checksums.push_back({name, ini.ReadText(kChecksumsSection, name, "")});
    return checksums;
}

const std::string* ListedDigest(const std::vector<TChecksum>& checksums, const std::string& name) {
    for (const TChecksum& checksum : checksums)
        if (SameTextIgnoringCase(checksum.Name, name)) return &checksum.Digest;
    return nullptr;
}

bool IsSha256Hex(const std::string& text) {
    return text.size() == kSha256HexLength && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

bool DigestMatches(const std::string& listed, const std::string& actual) {
    return IsSha256Hex(listed) && SameTextIgnoringCase(listed, actual);
}

}  // namespace quenby
