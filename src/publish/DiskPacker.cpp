#include "publish/DiskPacker.h"

#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <system_error>

#include "base/Errors.h"
#include "base/InstallRecord.h"
#include "base/NumberRule.h"
#include "base/ProgmanMacros.h"
#include "base/Texts.h"
#include "publish/DistributionFolder.h"

namespace quenby {

namespace fs = std::filesystem;

namespace {

fs::path RelativePath(const std::string& name) {
    fs::path path;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('\\', start);
        if (end == std::string::npos) end = name.size();
        if (end > start) path /= name.substr(start, end - start);
        start = end + 1;
    }
    return path;
}

class TSource {
public:
    explicit TSource(const fs::path& dir) : m_media(dir) {
        if (m_media.Missing()) throw Exception("no Quenby.ipi in " + m_media.DiskPath(1).string());
    }

    const TIniDistribution& Media() const { return m_media; }

    const TInstructions& Instructions() const { return m_media.Instructions(); }

    // Where the file is, or empty; its size goes into `item`.
    std::optional<fs::path> Find(const std::string& name, TPackItem& item) const {
        int disk = m_media.FirstDiskWith(name);
        if (!disk) return std::nullopt;
        fs::path path = *m_media.Locate(disk, name);
        item = {name, fs::file_size(path)};
        return path;
    }

    TPackItem Require(const std::string& name, const char* what) {
        TPackItem item;
        std::optional<fs::path> path = Find(name, item);
        if (!path) throw Exception(std::string(what) + " " + name + " is not in the distribution");
        m_paths[name] = *path;
        return item;
    }

    void Optional(const std::string& name, std::vector<TPackItem>& items) {
        TPackItem item;
        if (std::optional<fs::path> path = Find(name, item)) {
            m_paths[name] = *path;
            items.push_back(item);
        }
    }

    const fs::path& PathOf(const std::string& name) const { return m_paths.at(name); }

private:
    TIniDistribution m_media;
    std::map<std::string, fs::path> m_paths;
};

}  // namespace

namespace {

std::string Digest(const TFileDigest& digest, const fs::path& path) {
    std::optional<std::string> hex = digest(path);
    if (!hex) throw Exception(CannotReadFileText(path.string()));
    return *hex;
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file.flush()) throw Exception("cannot write " + path.string());
}

// Reads the distribution in `dir`, lays it out on disks of `diskSize` bytes, each in the folder
// `folderOf` gives, and writes disk 1's Quenby.ipi with the checksums of the source files.
std::vector<TDisk> LayOut(const fs::path& dir, std::uint64_t diskSize, const TFileDigest& digest,
                          const std::function<fs::path(size_t)>& folderOf) {
    TSource source(dir);
    const TInstructions& in = source.Instructions();

    TPackRequest request;
    request.DiskSize = diskSize;
    request.First.push_back(source.Require("Setup.exe", "the installer"));
    const size_t instructionsAt = request.First.size();
    request.First.push_back(source.Require(kInstructionsFileName, "the instructions file"));
    for (const std::string& name : in.StartInfo) request.First.push_back(source.Require(name, "the start notice"));
    for (const std::string& name : in.SysFilesIn) request.CopyOrder.push_back(source.Require(name, "the system file"));
    for (const std::string& name : in.FilesIn) request.CopyOrder.push_back(source.Require(name, "the product file"));
    for (const std::string& name : in.EndInfo) request.Last.push_back(source.Require(name, "the closing notice"));
    // Only add-ons that the installer starts, and only when the file is part of the set: a program of
    // the target machine (notepad.exe) is not.
    for (int i = 0; i < in.AddOns.Count(); ++i) {
        std::optional<std::int32_t> kind = ParseNumber(in.AddOns[i]);
        if (kind && AddOnKindStarts(*kind)) source.Optional(SplitAddOn(in.AddOnsValues[i]).first, request.Last);
    }

    // A set laid out again keeps the digests it was shipped with: a file damaged since is refused, not
    // given a new checksum.
    const std::vector<TChecksum> shipped = source.Media().Checksums();
    std::vector<TChecksum> checksums;
    for (const TPackItem& item : request.CopyOrder) {
        if (ListedDigest(checksums, item.Name)) continue;
        std::string hex = Digest(digest, source.PathOf(item.Name));
        const std::string* listed = ListedDigest(shipped, item.Name);
        if (listed && !DigestMatches(*listed, hex))
            throw Exception(SourceDamagedText(source.PathOf(item.Name).string()));
        checksums.push_back({item.Name, hex});
    }
    const fs::path& instructionsPath = source.PathOf(request.First[instructionsAt].Name);
    std::optional<std::string> original = ReadWholeFile(instructionsPath);
    if (!original) throw Exception(CannotReadFileText(instructionsPath.string()));
    const std::string instructionsText = WithChecksums(*original, checksums);
    request.First[instructionsAt].Size = instructionsText.size();

    std::vector<TDisk> disks = PlanDisks(request);

    std::error_code error;
    if (fs::exists(folderOf(0), error) && !fs::is_empty(folderOf(0), error))
        throw Exception(FolderNotEmptyText(folderOf(0).string()));
    for (size_t d = 0; d < disks.size(); ++d) {
        for (const std::string& name : disks[d].Names) {
            fs::path target = folderOf(d) / RelativePath(name);
            fs::create_directories(target.parent_path());
            if (SameTextIgnoringCase(name, kInstructionsFileName))
                WriteText(target, instructionsText);
            else
                fs::copy_file(source.PathOf(name), target, fs::copy_options::overwrite_existing);
        }
    }
    return disks;
}

}  // namespace

std::vector<TDisk> MakeDisks(const fs::path& dir, const fs::path& out, std::uint64_t diskSize,
                             const TFileDigest& digest) {
    return LayOut(dir, diskSize, digest, [&](size_t d) { return out / ("disk" + std::to_string(d + 1)); });
}

TDisk MakeImage(const fs::path& dir, const fs::path& out, const TFileDigest& digest) {
    constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max() / 2;
    return LayOut(dir, kNoLimit, digest, [&](size_t) { return out; }).at(0);
}

void WriteChecksums(const fs::path& dir, const TFileDigest& digest) {
    TIniDistribution media(dir);
    if (media.Missing()) throw Exception("no Quenby.ipi in " + media.DiskPath(1).string());
    const TInstructions& in = media.Instructions();
    TDiskSequence disks = FollowDisks(in, media);
    std::vector<TChecksum> checksums;
    auto add = [&](const TStringList& names, const std::vector<int>& on) {
        for (int i = 0; i < names.Count(); ++i)
            if (on[static_cast<size_t>(i)] && !ListedDigest(checksums, names[i]))
                checksums.push_back({names[i], Digest(digest, *media.Locate(on[static_cast<size_t>(i)], names[i]))});
    };
    add(in.SysFilesIn, disks.SysFileDisks);
    add(in.FilesIn, disks.FileDisks);
    fs::path path = *media.Locate(1, kInstructionsFileName);
    std::optional<std::string> original = ReadWholeFile(path);
    if (!original) throw Exception(CannotReadFileText(path.string()));
    WriteText(path, WithChecksums(*original, checksums));
}

bool HasErrors(const std::vector<TFinding>& findings) {
    for (const TFinding& finding : findings)
        if (finding.Severity == TSeverity::Error) return true;
    return false;
}

namespace {

// "no errors", "1 error", "2 errors".
std::string Counted(size_t count, const std::string& what) {
    if (count == 0) return "no " + what + "s";
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string Summary(size_t errors, size_t warnings) {
    return Counted(errors, "error") + ", " + Counted(warnings, "warning") + "\n";
}

}  // namespace

std::string FindingsReport(const std::vector<TFinding>& findings, bool quiet) {
    std::string report;
    size_t counts[2] = {};
    for (TSeverity severity : {TSeverity::Error, TSeverity::Warning})
        for (const TFinding& finding : findings) {
            if (finding.Severity != severity) continue;
            ++counts[severity == TSeverity::Error ? 0 : 1];
            if (!quiet || severity == TSeverity::Error) report += FormatFinding(finding) + "\n";
        }
    return quiet ? report : report + Summary(counts[0], counts[1]);
}

std::vector<TFinding> CheckInstructions(const TInstructions& in, const TDistributionMedia& media,
                                        const std::string& firstDisk) {
    if (!in.Missing) return CheckDistribution(in, media);
    return {{TSeverity::Error, "", "",
             "no Quenby.ipi in " + firstDisk +
                 ": the installer says the instructions are missing and stops. Put Quenby.ipi beside Setup.exe on "
                 "the first disk.",
             ""}};
}

}  // namespace quenby
