// Compressing a distribution's files for Expand=1, and naming the compressed files in its instructions.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "publish/IniFile.h"

namespace quenby {

// "orrery.exe" -> "orrery.ex_": the classic name of a compressed file, whose header keeps the replaced
// character for the expander.
std::string CompressedName(const std::string& name);

struct TCompressedFile {
    std::filesystem::path Target;  // beside the file, under its compressed name
    std::uint64_t Size = 0;
    std::uint64_t CompressedSize = 0;
    bool Written = false;  // not when it would grow and `skipGrown` asked to leave it
};

// Writes `file` in the LZ (SZDD) format that LZ32.DLL expands. Raises Exception with the reason when its name
// already ends in "_" or it cannot be read or written.
TCompressedFile CompressFile(const std::filesystem::path& file, bool skipGrown);

// The name by which the instructions file `instructions` lists `file` in [FilesIn] or [SysFilesIn]
// ("data\moons.txt", in the instructions' own spelling), looked up as the checks find sources: below the
// instructions' folder, or on any disk when that folder is disk 1 of a set (OUT\disk1, OUT\disk2, ...).
std::optional<std::string> ListedSourceName(const std::filesystem::path& instructionsPath, const TIniFile& instructions,
                                            const std::filesystem::path& file);

struct TRename {
    std::string From;
    std::string To;
};

// The instructions text with every [FilesIn] and [SysFilesIn] entry named From (letter case ignored, as the
// profile functions read names) named To; every other byte, line ends included, as it was.
std::string WithSourcesRenamed(const std::string& instructions, const std::vector<TRename>& renames);
// Writes the instructions file renamed so, the file as it was kept beside it as "<name>.bak". Raises
// Exception when either cannot be written.
void WriteSourcesRenamed(const std::filesystem::path& instructionsPath, const std::string& instructions,
                         const std::vector<TRename>& renames);

}  // namespace quenby
