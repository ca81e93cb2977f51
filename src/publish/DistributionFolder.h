// A distribution laid out in folders: DIR\disk1, DIR\disk2, ... when DIR\disk1 exists, otherwise DIR
// itself as the one medium. The instructions are those on the first disk.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "publish/DistributionCheck.h"
#include "publish/IniFile.h"

namespace quenby {

class TDistributionFolder : public TDistributionMedia {
public:
    // `digest` hashes the files for the checks of [Checksums]; without it no file can be checked.
    explicit TDistributionFolder(const std::filesystem::path& dir, TFileDigest digest = {});

    int DiskCount() const override { return static_cast<int>(m_disks.size()); }
    const std::filesystem::path& DiskPath(int disk) const { return m_disks.at(static_cast<size_t>(disk - 1)); }
    // A name from the instructions ("data\planets.tx_") on a disk; letter case is ignored as on Windows.
    std::optional<std::filesystem::path> Locate(int disk, const std::string& name) const;
    // The first disk that holds the file, or 0.
    int FirstDiskWith(const std::string& name) const;
    std::optional<TMediaFile> File(int disk, const std::string& name) const override;
    std::optional<TBytes> Contents(int disk, const std::string& name) const override;
    std::optional<std::string> Digest(int disk, const std::string& name) const override;

private:
    std::vector<std::filesystem::path> m_disks;
    TFileDigest m_digest;
};

// The same, with the instructions file read by the portable INI reader (no profile functions).
class TIniDistribution : public TDistributionFolder {
public:
    explicit TIniDistribution(const std::filesystem::path& dir, TFileDigest digest = {});

    bool Missing() const { return m_instructions.Missing; }
    const TInstructions& Instructions() const { return m_instructions; }
    bool HasSection(const std::string& section) const override { return m_ini.HasSection(section); }
    std::vector<std::string> SectionNames() const override { return m_ini.SectionNames(); }
    void ListKeys(const std::string& section, TStringList& list) const override { m_ini.ListKeys(section, list); }
    std::vector<TChecksum> Checksums() const override { return ReadChecksums(m_ini); }

private:
    TIniFile m_ini;
    TInstructions m_instructions;
};

// The whole file, or empty when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace quenby
