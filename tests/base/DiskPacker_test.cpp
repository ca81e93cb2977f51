// Laying the sample product out on small disks, then checking the result as quenby-check does.
#include "publish/DiskPacker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "publish/DistributionFolder.h"
#include "base/Errors.h"

namespace fs = std::filesystem;

namespace {

std::string Random(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string data(n, '\0');
    for (char& c : data) c = static_cast<char>(random());
    return data;
}

void Write(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string Compressed(const std::string& content) {
    quenby::TBytes packed = quenby::SzddCompress(quenby::TBytes(content.begin(), content.end()), 'x');
    return std::string(packed.begin(), packed.end());
}

class TScratch {
public:
    explicit TScratch(const std::string& name) : m_path(fs::temp_directory_path() / name) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    ~TScratch() {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

const fs::path kMedia = fs::path(__FILE__).parent_path() / ".." / ".." / "examples" / "orrery" / "media";

}  // namespace

TEST(DiskPacker, SampleProductOnSmallDisksMakesThreeCheckedDisks) {
    std::optional<std::string> instructions = quenby::ReadWholeFile(kMedia / "Quenby.ipi");
    if (!instructions) GTEST_SKIP() << "the sample's sources are not reachable from here";
    auto media = [](const char* name) { return *quenby::ReadWholeFile(kMedia / name); };

    TScratch scratch("quenby-diskpacker-test");
    const fs::path dir = scratch.Path() / "flat";
    Write(dir / "Setup.exe", "MZ" + std::string(998, 'S'));
    Write(dir / "Quenby.ipi", *instructions);
    for (const char* notice : {"license.txt", "welcome.txt", "thanks.txt", "readme.txt"})
        Write(dir / notice, media(notice));
    Write(dir / "orrshare.dl_", Compressed(Random(5000, 1)));
    Write(dir / "Uninstall.ex_", Compressed(Random(200, 3)));
    Write(dir / "orrery.ex_", Compressed(Random(6000, 2)));
    Write(dir / "readme.tx_", Compressed(media("readme.txt")));
    Write(dir / "data" / "planets.tx_", Compressed(media("planets.txt")));
    Write(dir / "data" / "moons.tx_", Compressed(media("moons.txt")));
    Write(dir / "charts" / "ecliptic.tx_", Compressed(media("ecliptic.txt")));
    // Disk 1 just holds what the installer reads before copying and the shared files.
    std::uint64_t size = 0;
    for (const char* name : {"Setup.exe", "Quenby.ipi", "license.txt", "welcome.txt", "orrshare.dl_", "Uninstall.ex_"})
        size += fs::file_size(dir / name);

    const fs::path out = scratch.Path() / "disks";
    std::vector<quenby::TDisk> disks = quenby::MakeDisks(dir, out, size);

    ASSERT_EQ(disks.size(), 3u);
    EXPECT_EQ(disks[0].Names,
              std::vector<std::string>(
                  {"Setup.exe", "Quenby.ipi", "license.txt", "welcome.txt", "orrshare.dl_", "Uninstall.ex_"}));
    EXPECT_EQ(disks[1].Names.front(), "orrery.ex_");
    EXPECT_EQ(disks[2].Names.back(), "readme.txt");  // the add-on's document
    EXPECT_EQ(disks[2].Names[disks[2].Names.size() - 2], "thanks.txt");
    // Every file to copy exactly once, in copy order, each disk within the size, every byte as given.
    std::vector<std::string> copied;
    for (size_t d = 0; d < disks.size(); ++d) {
        std::uint64_t used = 0;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(out / ("disk" + std::to_string(d + 1))))
            if (entry.is_regular_file()) used += entry.file_size();
        EXPECT_LE(used, size);
        for (const std::string& name : disks[d].Names) {
            std::string relative = name;
            for (char& c : relative)
                if (c == '\\') c = '/';
            EXPECT_EQ(quenby::ReadWholeFile(out / ("disk" + std::to_string(d + 1)) / relative),
                      quenby::ReadWholeFile(dir / relative))
                << name;
            if (name.find('_') != std::string::npos) copied.push_back(name);
        }
    }
    EXPECT_EQ(copied, std::vector<std::string>({"orrshare.dl_", "Uninstall.ex_", "orrery.ex_", "readme.tx_", "data\\planets.tx_",
                                                "data\\moons.tx_", "charts\\ecliptic.tx_"}));

    quenby::TIniDistribution result(out);
    ASSERT_EQ(result.DiskCount(), 3);
    std::vector<quenby::TFinding> findings = quenby::CheckDistribution(result.Instructions(), result);
    EXPECT_EQ(quenby::FindingsReport(findings, false), "");

    // Disks already there are not mixed with new ones.
    EXPECT_THROW(quenby::MakeDisks(dir, out, size), quenby::Exception);
    // A file the instructions name that is not there stops the layout before anything is written.
    fs::remove(dir / "data" / "moons.tx_");
    EXPECT_THROW(quenby::MakeDisks(dir, scratch.Path() / "other", size), quenby::Exception);
    EXPECT_FALSE(fs::exists(scratch.Path() / "other"));
}
