#include "publish/DiskPacker.h"

#include <cstdio>
#include <map>
#include <system_error>

#include "publish/DistributionFolder.h"
#include "base/Errors.h"
#include "base/NumberRule.h"
#include "base/ProgmanMacros.h"

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

std::vector<TDisk> MakeDisks(const fs::path& dir, const fs::path& out, std::uint64_t diskSize) {
    TSource source(dir);
    const TInstructions& in = source.Instructions();

    TPackRequest request;
    request.DiskSize = diskSize;
    request.First.push_back(source.Require("Setup.exe", "the installer"));
    request.First.push_back(source.Require("Quenby.ipi", "the instructions file"));
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

    std::vector<TDisk> disks = PlanDisks(request);

    std::error_code error;
    if (fs::exists(out / "disk1", error)) throw Exception(out.string() + " already holds disk folders; remove them first");
    for (size_t d = 0; d < disks.size(); ++d) {
        fs::path disk = out / ("disk" + std::to_string(d + 1));
        for (const std::string& name : disks[d].Names) {
            fs::path target = disk / RelativePath(name);
            fs::create_directories(target.parent_path());
            fs::copy_file(source.PathOf(name), target, fs::copy_options::overwrite_existing);
        }
    }
    return disks;
}

bool HasErrors(const std::vector<TFinding>& findings) {
    for (const TFinding& finding : findings)
        if (finding.Severity == TSeverity::Error) return true;
    return false;
}

std::string FindingsReport(const std::vector<TFinding>& findings, bool quiet) {
    std::string report;
    for (TSeverity severity : {TSeverity::Error, TSeverity::Warning}) {
        if (quiet && severity == TSeverity::Warning) break;
        for (const TFinding& finding : findings)
            if (finding.Severity == severity) report += FormatFinding(finding) + "\n";
    }
    return report;
}

int PackDisks(const std::string& sizeText, const std::string& dir, const std::string& out) {
    std::optional<std::int32_t> size = ParseNumber(sizeText);
    if (!size || *size <= 0) {
        std::fprintf(stderr, "quenby-pack: the disk size %s is not a positive whole number of bytes\n", sizeText.c_str());
        return 2;
    }
    try {
        std::vector<TDisk> disks = MakeDisks(dir, out, static_cast<std::uint64_t>(*size));
        for (size_t d = 0; d < disks.size(); ++d) {
            std::printf("disk%zu (%llu bytes):", d + 1, static_cast<unsigned long long>(disks[d].Used));
            for (const std::string& name : disks[d].Names) std::printf(" %s", name.c_str());
            std::printf("\n");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quenby-pack: %s\n", e.what());
        return 1;
    }
    return CheckFolder(out, false);
}

int PrintCheck(const TInstructions& in, const TDistributionMedia& media, const std::string& firstDisk, bool quiet) {
    if (in.Missing) {
        std::printf("error: no Quenby.ipi in %s: the installer says the instructions are missing and stops. "
                    "Put Quenby.ipi beside Setup.exe on the first disk.\n",
                    firstDisk.c_str());
        return 1;
    }
    std::vector<TFinding> findings = CheckDistribution(in, media);
    std::fputs(FindingsReport(findings, quiet).c_str(), stdout);
    return HasErrors(findings) ? 1 : 0;
}

int CheckFolder(const std::string& dir, bool quiet) {
    try {
        TIniDistribution media{fs::path(dir)};
        return PrintCheck(media.Instructions(), media, media.DiskPath(1).string(), quiet);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quenby-pack: %s\n", e.what());
        return 1;
    }
}

}  // namespace quenby
