// The [Checksums] section of the instructions: every source file of [FilesIn] and [SysFilesIn] by its
// source name, with the SHA-256 of its bytes on the medium (the compressed bytes of a compressed file)
// in lower-case hex, so that a damaged medium is caught before anything is copied from it. Read by
// Setup.exe and the publisher tools alike.
//
//   [Checksums]
//   orrery.ex_=3f0a...(64 hex digits)
//   data\planets.tx_=9b1c...
#pragma once
#include <cstddef>
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

}  // namespace quenby
