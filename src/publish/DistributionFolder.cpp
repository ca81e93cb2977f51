#include "publish/DistributionFolder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "base/InstallRecord.h"
#include "base/Instructions.h"

namespace quenby {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// One name component inside a folder: the exact name, or the first entry equal but for letter case.
std::optional<fs::path> Component(const fs::path& folder, const std::string& part) {
    std::error_code error;
    if (fs::exists(folder / part, error)) return folder / part;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (SameTextIgnoringCase(entry.path().filename().string(), part)) return entry.path();
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return content;
}

TDistributionFolder::TDistributionFolder(const fs::path& dir, TFileDigest digest) : m_digest(std::move(digest)) {
    for (int n = 1;; ++n) {
        std::optional<fs::path> disk = Component(dir, "disk" + std::to_string(n));
        std::error_code error;
        if (!disk || !fs::is_directory(*disk, error)) break;
        m_disks.push_back(*disk);
    }
    if (m_disks.empty()) m_disks.push_back(dir);
}

std::optional<fs::path> TDistributionFolder::Locate(int disk, const std::string& name) const {
    if (disk < 1 || disk > DiskCount() || name.empty()) return std::nullopt;
    fs::path at = DiskPath(disk);
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('\\', start);
        if (end == std::string::npos) end = name.size();
        std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        std::optional<fs::path> next = Component(at, part);
        if (!next) return std::nullopt;
        at = *next;
    }
    if (!IsFile(at)) return std::nullopt;
    return at;
}

int TDistributionFolder::FirstDiskWith(const std::string& name) const {
    for (int d = 1; d <= DiskCount(); ++d)
        if (Locate(d, name)) return d;
    return 0;
}

std::optional<TMediaFile> TDistributionFolder::File(int disk, const std::string& name) const {
    std::optional<fs::path> path = Locate(disk, name);
    if (!path) return std::nullopt;
    std::error_code error;
    TMediaFile file;
    file.Size = fs::file_size(*path, error);
    if (error) return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    file.Head.resize(static_cast<size_t>(std::min<std::uint64_t>(file.Size, kMediaHeadBytes)));
    in.read(reinterpret_cast<char*>(file.Head.data()), static_cast<std::streamsize>(file.Head.size()));
    file.Head.resize(static_cast<size_t>(in.gcount()));
    return file;
}

std::optional<TBytes> TDistributionFolder::Contents(int disk, const std::string& name) const {
    std::optional<fs::path> path = Locate(disk, name);
    std::optional<std::string> content = path ? ReadWholeFile(*path) : std::nullopt;
    if (!content) return std::nullopt;
    return TBytes(content->begin(), content->end());
}

std::optional<std::string> TDistributionFolder::Digest(int disk, const std::string& name) const {
    std::optional<fs::path> path = Locate(disk, name);
    if (!path || !m_digest) return std::nullopt;
    return m_digest(*path);
}

TIniDistribution::TIniDistribution(const fs::path& dir, TFileDigest digest)
    : TDistributionFolder(dir, std::move(digest)) {
    std::optional<fs::path> path = Locate(1, kInstructionsFileName);
    std::optional<std::string> content = path ? ReadWholeFile(*path) : std::nullopt;
    if (!content) return;
    m_ini = TIniFile(*content);
    m_instructions.ReadFrom(m_ini, DiskPath(1).string() + "\\");
}

}  // namespace quenby
