// Instructions spelled from the real section and key names: the reader and every check end without a
// crash, each instructions list keeps its key and value lists the same length, and the disks followed
// never go back, hold the file they are named for, and miss only files no later disk holds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Instructions.h"
#include "publish/DistributionCheck.h"
#include "publish/IniFile.h"

namespace {

constexpr char kDigest[] = "9b1c0e5a33f4d2c8a7b6e5f4d3c2b1a09f8e7d6c5b4a39281706f5e4d3c2b1a0";

// Two disks: disk 1 holds the short names starting before 'g', disk 2 those from 'g' to 'm'.
class TFuzzMedia : public quenby::TDistributionMedia {
public:
    explicit TFuzzMedia(const quenby::TIniFile& ini) : m_ini(ini) {}
    int DiskCount() const override { return 2; }
    std::optional<quenby::TMediaFile> File(int disk, const std::string& name) const override {
        if (name.empty() || name.size() > 12 || name[0] >= 'n' || (disk == 2) == (name[0] < 'g')) return std::nullopt;
        return quenby::TMediaFile{name.size(), quenby::TBytes(name.begin(), name.end())};
    }
    bool HasSection(const std::string& section) const override { return m_ini.HasSection(section); }
    std::vector<std::string> SectionNames() const override { return m_ini.SectionNames(); }
    void ListKeys(const std::string& section, quenby::TStringList& list) const override {
        m_ini.ListKeys(section, list);
    }
    std::vector<quenby::TChecksum> Checksums() const override { return quenby::ReadChecksums(m_ini); }
    // b... cannot be read; files from 'h' on hold other bytes than the digest word says.
    std::optional<std::string> Digest(int disk, const std::string& name) const override {
        if (!File(disk, name) || name[0] == 'b') return std::nullopt;
        return name[0] < 'h' ? kDigest : std::string(quenby::kSha256HexLength, '0');
    }

private:
    const quenby::TIniFile& m_ini;
};

const char* const kSections[] = {"Settings", "FilesIn", "SysFilesIn", "StartInfo", "EndInfo", "FilesOut", "SysFilesOut",
                                 "Items",    "AddOns",  "Keys",       "Dirs",      "Vals",    "Checksums"};
// clang-format off
const char* const kWords[] = {"a.txt", "b.dll", "h.exe", "Uninstall.exe", "zz.hlp", "Vals", "Expand", "Directory",
                              "ProgGroup", "0", "1", "2", "3", "$ff", "C:\\App Dir", "sub\\x.ini", "x y",
                              "HKEY_CURRENT_USER\\Software\\Q", "", "Application", "Version"};
// clang-format on
// Under [Checksums]: a digest as written, in capitals, one digit short.
const char* const kDigests[] = {kDigest, "9B1C0E5A33F4D2C8A7B6E5F4D3C2B1A09F8E7D6C5B4A39281706F5E4D3C2B1A0",
                                "9b1c0e5a33f4d2c8a7b6e5f4d3c2b1a09f8e7d6c5b4a39281706f5e4d3c2b1a"};

// Each byte spells one token: a section header, or a key=value line from the words (from the digests under
// [Checksums]).
std::string SpellInstructions(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kWordCount = sizeof kWords / sizeof *kWords;
    std::string text, section;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] % 4 == 0) section = kSections[data[i] / 4 % 13];
        const char* value =
            section == quenby::kChecksumsSection ? kDigests[data[i] / 7 % 3] : kWords[data[i] / 7 % kWordCount];
        text += data[i] % 4 == 0 ? "[" + section + "]\r\n"
                                 : std::string(kWords[data[i] % kWordCount]) + "=" + value + "\r\n";
    }
    return text;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quenby::TIniFile ini(SpellInstructions(data, size));
    quenby::TInstructions in;
    in.ReadFrom(ini, "A:\\\\");
    Check(in.FilesOut.Count() == in.FilesOutValues.Count() && in.Keys.Count() == in.KeysValues.Count() &&
          in.Items.Count() == in.ItemsValues.Count() && in.KeySections.size() == std::size_t(in.Keys.Count()));
    TFuzzMedia media(ini);
    const quenby::TDiskSequence disks = quenby::FollowDisks(in, media);
    Check(disks.SysFileDisks.size() == std::size_t(in.SysFilesIn.Count()) &&
          disks.FileDisks.size() == std::size_t(in.FilesIn.Count()));
    int drive = 1;
    auto follow = [&](const quenby::TStringList& names, const std::vector<int>& found) {
        for (int i = 0; i < names.Count(); ++i) {
            const int disk = found[std::size_t(i)];
            Check(disk == 0 ? !media.File(drive, names[i]) && !media.File(2, names[i])
                            : disk >= drive && media.File(disk, names[i]));
            if (disk) drive = disk;
        }
    };
    follow(in.SysFilesIn, disks.SysFileDisks);
    follow(in.FilesIn, disks.FileDisks);
    Check(disks.FinalDisk == drive);
    for (const quenby::TFinding& finding : quenby::CheckDistribution(in, media))
        Check(!finding.Section.empty() &&
              quenby::FormatFinding(finding).find("[" + finding.Section + "]") != std::string::npos);
    return 0;
}
