// Pictures of the whole X screen, taken by ImageMagick's `import` started from inside Wine, and the
// path conversions between Wine's drives and the Linux file system that this needs.
#pragma once
#include <source_location>
#include <string>

namespace quenby::drive {

std::string UnixPath(const std::string& windowsPath);  // "Z:\\tmp\\a" -> "/tmp/a"
std::string WindowsPath(const std::string& unixPath);  // "/tmp/a" -> "Z:\\tmp\\a"
void MakeFolders(const std::string& windowsFolder);   // like mkdir -p

// Writes a PNG of the screen to `windowsFolder`\`fileName` and returns its Windows path once the file
// is complete; fails at the caller's line after `timeoutMs`.
std::string Screenshot(const std::string& windowsFolder, const std::string& fileName, unsigned timeoutMs = 30000,
                       const std::source_location& where = std::source_location::current());

}  // namespace quenby::drive
