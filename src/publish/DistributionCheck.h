// The publisher's checks of a distribution: what the installer will do with each entry of the
// instructions, predicted before the set ships.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Instructions.h"
#include "publish/Checksums.h"
#include "publish/Szdd.h"

namespace quenby {

enum class TSeverity { Error, Warning };

struct TFinding {
    TSeverity Severity;
    std::string Section;  // without brackets
    std::string Key;      // empty for a finding about the whole section
    std::string Problem;  // what is wrong
    std::string Remedy;   // what to do
};

// "error: [Section] Key: Problem. Remedy."; a finding without a remedy is one sentence that names its own
// place: "warning: Problem".
std::string FormatFinding(const TFinding& finding);

struct TMediaFile {
    std::uint64_t Size = 0;
    TBytes Head;  // the first kMediaHeadBytes bytes (all of a small file)
};
constexpr std::size_t kMediaHeadBytes = 65536;

// What the checks see of the media: the disks in the order they are inserted (a single medium is one
// disk), and the instructions file's sections (their entries Setup reads are in the instructions).
class TDistributionMedia {
public:
    virtual ~TDistributionMedia() = default;
    virtual int DiskCount() const = 0;
    // A file named relative to the source directory, on disk 1..DiskCount(); empty when it is not there.
    virtual std::optional<TMediaFile> File(int disk, const std::string& name) const = 0;
    // The whole file, for the checks that read past its head; empty when it is not there or cannot be read.
    virtual std::optional<TBytes> Contents(int disk, const std::string& name) const {
        std::optional<TMediaFile> file = File(disk, name);
        if (!file || file->Size != file->Head.size()) return std::nullopt;
        return std::move(file->Head);
    }
    virtual bool HasSection(const std::string& section) const = 0;
    // Every section of the instructions file, and the keys of one, as the profile functions list them.
    virtual std::vector<std::string> SectionNames() const = 0;
    virtual void ListKeys(const std::string& section, TStringList& list) const = 0;
    // The entries of [Checksums] (HasSection says whether the section is there at all).
    virtual std::vector<TChecksum> Checksums() const { return {}; }
    // SHA-256 of a file on a disk in lower-case hex; empty when it is not there or cannot be read.
    virtual std::optional<std::string> Digest(int /*disk*/, const std::string& /*name*/) const { return std::nullopt; }
};

// The machine the checks assume, as on a typical target; the Directory setting is the destination.
struct TTargetAssumptions {
    std::string WindowsDir = "C:\\WINDOWS";
    std::string SourceDir = "A:\\\\";  // the root of a floppy, as the installer builds it
};

// The disk each file of the copy order is found on when disks are inserted one after another, and the
// disk in the drive once copying is done.
struct TDiskSequence {
    std::vector<int> SysFileDisks;  // 0: on no disk that can still be inserted
    std::vector<int> FileDisks;
    int FinalDisk = 1;
};
TDiskSequence FollowDisks(const TInstructions& in, const TDistributionMedia& media);

std::vector<TFinding> CheckDistribution(const TInstructions& in, const TDistributionMedia& media,
                                        const TTargetAssumptions& target = {});

// How many lines of the notice box a text fills (it has no scroll bars).
int NoticeLines(const std::string& text);
constexpr int kNoticeBoxLines = 15;

}  // namespace quenby
