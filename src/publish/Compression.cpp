#include "publish/Compression.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/Errors.h"
#include "base/SameText.h"
#include "publish/DistributionFolder.h"
#include "publish/Szdd.h"

namespace quenby {

namespace fs = std::filesystem;

std::string CompressedName(const std::string& name) { return name.substr(0, name.size() - 1) + "_"; }

TCompressedFile CompressFile(const fs::path& file, bool skipGrown) {
    const std::string path = file.string();
    const std::string name = file.filename().string();
    if (name.empty() || name.back() == '_')
        throw Exception(path + ": its name already ends in \"_\", the mark of a compressed file");
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Exception("cannot read " + path + ": " + std::strerror(errno));
    const TBytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw Exception("cannot read " + path + ": " + std::strerror(errno));

    TCompressedFile result;
    result.Target = CompressedName(path);
    // The name's last character goes into the header so the expander can give the file its name back.
    const TBytes compressed = SzddCompress(data, name.back());
    result.Size = data.size();
    result.CompressedSize = compressed.size();
    if (skipGrown && result.CompressedSize > result.Size) return result;
    std::ofstream out(result.Target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(compressed.data()), static_cast<std::streamsize>(compressed.size()));
    if (!out.flush()) throw Exception("cannot write " + result.Target.string() + ": " + std::strerror(errno));
    result.Written = true;
    return result;
}

std::optional<std::string> ListedSourceName(const fs::path& instructionsPath, const TIniFile& instructions,
                                            const fs::path& file) {
    fs::path root = fs::absolute(instructionsPath).parent_path();
    if (SameTextIgnoringCase(root.filename().string(), "disk1")) root = root.parent_path();
    const TIniDistribution media(root);
    TStringList names;
    for (const char* section : {"SysFilesIn", "FilesIn"}) {
        instructions.ListKeys(section, names);
        for (int i = 0; i < names.Count(); ++i)
            for (int disk = 1; disk <= media.DiskCount(); ++disk) {
                std::error_code error;
                std::optional<fs::path> found = media.Locate(disk, names[i]);
                if (found && fs::equivalent(*found, file, error)) return names[i];
            }
    }
    return std::nullopt;
}

namespace {

// A line of a sources section with its key renamed when a rename names it; other lines as they are.
std::string Renamed(const std::string& line, const std::vector<TRename>& renames) {
    const size_t equals = line.find('=');
    const size_t keyStart = line.find_first_not_of(" \t");
    if (equals == std::string::npos || keyStart >= equals) return line;
    const size_t keyEnd = line.find_last_not_of(" \t", equals - 1) + 1;
    const std::string key = line.substr(keyStart, keyEnd - keyStart);
    for (const TRename& rename : renames)
        if (SameTextIgnoringCase(key, rename.From)) return line.substr(0, keyStart) + rename.To + line.substr(keyEnd);
    return line;
}

}  // namespace

std::string WithSourcesRenamed(const std::string& instructions, const std::vector<TRename>& renames) {
    std::string text;
    bool inSources = false;
    for (size_t pos = 0; pos < instructions.size();) {
        size_t end = instructions.find('\n', pos);
        end = end == std::string::npos ? instructions.size() : end + 1;
        const std::string line = instructions.substr(pos, end - pos);
        pos = end;
        if (std::optional<std::string> section = SectionOpenedBy(line))
            inSources = SameTextIgnoringCase(*section, "FilesIn") || SameTextIgnoringCase(*section, "SysFilesIn");
        text += inSources ? Renamed(line, renames) : line;
    }
    return text;
}

void WriteSourcesRenamed(const fs::path& instructionsPath, const std::string& instructions,
                         const std::vector<TRename>& renames) {
    const auto write = [](const fs::path& path, const std::string& text) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!file.flush()) throw Exception("cannot write " + path.string() + ": " + std::strerror(errno));
    };
    // The copy first: a failed rewrite must not leave the publisher without the instructions as they were.
    write(fs::path(instructionsPath) += ".bak", instructions);
    write(instructionsPath, WithSourcesRenamed(instructions, renames));
}

}  // namespace quenby
