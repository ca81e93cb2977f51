// quenby-check: checks a distribution before it ships, reading its instructions with the very code
// Setup.exe reads them with (kHelp says how to use it).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CheckReport.h"
#include "FileDigest.h"
#include "base/Instructions.h"
#include "install/InstructionsFile.h"
#include "publish/DistributionFolder.h"
#include "win/profile.h"

namespace {

using quenby::TDistributionFolder;

constexpr char kUsage[] = "usage: quenby-check [--quiet] DIR\n";
constexpr char kHelp[] =
    "\n"
    "Checks the distribution in DIR (Setup.exe and Quenby.ipi, or disk folders DIR\\disk1, DIR\\disk2, ...) as\n"
    "Setup.exe will read it. One finding a line, errors first, then a line that counts them (\"1 error, 2\n"
    "warnings\"); --quiet prints the errors only. With [Checksums] in the instructions every source file is\n"
    "hashed on the disk the installer reads it from.\n"
    "\n"
    "Exit code: 0 no errors, 1 an error found, 2 a command line not understood.\n";

// The disks as files, the sections of the instructions file through the system's profile functions.
class TProfileDistribution : public TDistributionFolder {
public:
    explicit TProfileDistribution(const std::string& dir) : TDistributionFolder(dir, quenby::DigestOfFile) {
        m_instructions = quenby::ReadInstructionsFile(DiskPath(1).string() + "\\");
    }

    const quenby::TInstructions& Instructions() const { return m_instructions; }

    bool HasSection(const std::string& section) const override {
        for (const std::string& name : SectionNames())
            if (lstrcmpiA(name.c_str(), section.c_str()) == 0) return true;
        return false;
    }

    std::vector<std::string> SectionNames() const override {
        for (DWORD size = 4096;; size *= 2) {
            std::vector<char> names(size, '\0');
            DWORD length = GetPrivateProfileSectionNamesA(names.data(), size, m_instructions.InstructionsPath.c_str());
            // A list that did not fit comes back as size - 2.
            if (length + 2 >= size) continue;
            std::vector<std::string> list;
            for (const char* name = names.data(); *name; name += std::strlen(name) + 1) list.push_back(name);
            return list;
        }
    }

    void ListKeys(const std::string& section, quenby::TStringList& list) const override {
        quenby::TProfileFile(m_instructions.InstructionsPath).ListKeys(section, list);
    }

    std::vector<quenby::TChecksum> Checksums() const override {
        return quenby::ReadChecksums(quenby::TProfileFile(m_instructions.InstructionsPath));
    }

private:
    quenby::TInstructions m_instructions;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("%s%s", kUsage, kHelp);
        return 0;
    }
    bool quiet = argc == 3 && std::strcmp(argv[1], "--quiet") == 0;
    if (argc != 2 && !quiet) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        TProfileDistribution media(argv[argc - 1]);
        return quenby::PrintCheck(media.Instructions(), media, media.DiskPath(1).string(), quiet);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quenby-check: %s\n", e.what());
        return 1;
    }
}
