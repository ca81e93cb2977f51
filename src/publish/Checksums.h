// The [Checksums] section of the instructions: every source file of [FilesIn] and [SysFilesIn] by its
// source name, with the SHA-256 of its bytes on the medium (the compressed bytes of a compressed file)
// in lower-case hex, so that a damaged medium is caught before anything is copied from it.
//
//   [Checksums]
//   orrery.ex_=3f0a...(64 hex digits)
//   data\planets.tx_=9b1c...
#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/IniSource.h"

namespace quenby {

inline constexpr char kChecksumsSection[] = "Checksums";
inline constexpr std::size_t kSha256HexLength = 64;

struct TChecksum {
    std::string Name;    // the source name as FilesIn or SysFilesIn gives it
    std::string Digest;  // as written in the file
};

// SHA-256 of a file's bytes in lower-case hex; empty when the file cannot be read. Each tool passes its
// platform's library (pack/FileDigest.h), which this portable code does not link.
using TFileDigest = std::function<std::optional<std::string>(const std::filesystem::path&)>;

std::string HexDigest(const unsigned char* bytes, std::size_t count);

// The section's entries in file order; empty for a missing or empty section.
std::vector<TChecksum> ReadChecksums(const TIniSource& ini);
// The digest listed for a source name, letter case ignored and the first of two winning, as the profile
// functions find a key; nullptr when the name is not listed.
const std::string* ListedDigest(const std::vector<TChecksum>& checksums, const std::string& name);
// 64 hex digits, either case.
bool IsSha256Hex(const std::string& text);
// A listed digest against the one computed from the file: equal but for the letter case of the digits.
bool DigestMatches(const std::string& listed, const std::string& actual);

// The instructions text with every [Checksums] section taken out and one listing `checksums` put at the
// end, in the text's own line ends; writing it again gives the same text.
std::string WithChecksums(const std::string& instructions, const std::vector<TChecksum>& checksums);

}  // namespace quenby
