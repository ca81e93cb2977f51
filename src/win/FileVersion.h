// A file's version resource, read through VERSION.DLL, which is loaded at run time from the system folder
// by its full path (as LZ32.DLL): a DLL of that name on the medium is never loaded, and Setup.exe's
// imports stay the ones Windows protects.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quenby {

// The file version (major, minor, build, revision in 16 bits each, major highest); nothing for a file
// without a version resource or one that cannot be read. Raises "Cannot load %s: <reason>" when the
// library or one of its functions is missing.
std::optional<std::uint64_t> FileVersionOf(const std::string& path);

}  // namespace quenby
