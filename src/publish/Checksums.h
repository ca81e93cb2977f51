// What the publisher tools add to the [Checksums] reader (base/Checksums.h): the digest of a file through
// the tool's platform library, and the instructions rewritten with the section.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Checksums.h"

namespace quenby {

// SHA-256 of a file's bytes in lower-case hex; empty when the file cannot be read. Each tool passes its
// platform's library (pack/FileDigest.h), which this portable code does not link.
using TFileDigest = std::function<std::optional<std::string>(const std::filesystem::path&)>;

// The instructions text with every [Checksums] section taken out and one listing `checksums` put at the
// end, in the text's own line ends; writing it again gives the same text.
std::string WithChecksums(const std::string& instructions, const std::vector<TChecksum>& checksums);

}  // namespace quenby
