// Any bytes as Quenby.ipi: the reader and every check end without a crash, every key listed reads
// back, and each instructions list keeps its key and value lists the same length.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "publish/DistributionCheck.h"
#include "publish/IniFile.h"
#include "base/Instructions.h"

namespace {

// One disk that holds exactly the files whose names are short and start with a letter before 'n'.
class TFuzzMedia : public quenby::TDistributionMedia {
public:
    explicit TFuzzMedia(const quenby::TIniFile& ini) : m_ini(ini) {}
    int DiskCount() const override { return 2; }
    std::optional<quenby::TMediaFile> File(int disk, const std::string& name) const override {
        if (name.empty() || name.size() > 12 || name[0] >= 'n' || (disk == 2) == (name[0] < 'g')) return std::nullopt;
        return quenby::TMediaFile{name.size(), quenby::TBytes(name.begin(), name.end())};
    }
    bool HasSection(const std::string& section) const override { return m_ini.HasSection(section); }

private:
    const quenby::TIniFile& m_ini;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quenby::TIniFile ini(std::string(reinterpret_cast<const char*>(data), size));
    quenby::TInstructions in;
    in.ReadFrom(ini, "A:\\\\");
    if (in.FilesOut.Count() != in.FilesOutValues.Count() || in.Keys.Count() != in.KeysValues.Count() ||
        in.Items.Count() != in.ItemsValues.Count())
        std::abort();
    for (const std::string& key : in.FilesIn)
        if (key.empty()) std::abort();
    TFuzzMedia media(ini);
    for (const quenby::TFinding& finding : quenby::CheckDistribution(in, media))
        if (finding.Section.empty() || quenby::FormatFinding(finding).empty()) std::abort();
    return 0;
}
