// quenby-pack: prepares distribution media for Quenby; `quenby-pack --help` says how. The work is done in
// src/publish, which returns what it did; this prints it and chooses the exit code.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CheckReport.h"
#include "FileDigest.h"
#include "base/NumberRule.h"
#include "publish/Compression.h"
#include "publish/DiskPacker.h"
#include "publish/DistributionFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace quenby;

constexpr char kUsage[] =
    "usage: quenby-pack compress [--ipi INSTRUCTIONS] FILE...\n"
    "       quenby-pack disks --size BYTES DIR OUT\n"
    "       quenby-pack image DIR OUT\n"
    "       quenby-pack checksums DIR\n"
    "       quenby-pack check [--quiet] DIR\n";

constexpr char kHelp[] =
    "\n"
    "compress FILE...\n"
    "    writes each FILE in the LZ (SZDD) format beside it, the last character of its name replaced by \"_\"\n"
    "    (readme.txt -> readme.tx_), for instructions with Expand=1\n"
    "compress --ipi Quenby.ipi FILE...\n"
    "    the same, and the instructions then name the compressed files: each FILE listed in [FilesIn] or\n"
    "    [SysFilesIn] (below the instructions' folder, or on any disk D/diskN when they are in D/disk1) is\n"
    "    listed under its compressed name; the instructions as they were are kept as Quenby.ipi.bak. A FILE\n"
    "    that would grow is left as it is, uncompressed and under its own name: Expand=1 cannot expand it, so\n"
    "    Setup copies it unchanged (quenby-check warns about it)\n"
    "disks --size BYTES DIR OUT\n"
    "    lays the distribution in DIR out on OUT/disk1, OUT/disk2, ... of at most BYTES each (1457664: a 1.44 MB\n"
    "    floppy), with [Checksums] in disk 1's Quenby.ipi, then checks the result as quenby-check does\n"
    "image DIR OUT\n"
    "    the same laid out in the one folder OUT, for installing from a network share without a disk change\n"
    "checksums DIR\n"
    "    writes [Checksums] into the Quenby.ipi of a set laid out by hand, then checks it\n"
    "check [--quiet] DIR\n"
    "    the checks of quenby-check, with a portable reader of Quenby.ipi\n"
    "\n"
    "Exit code: 0 done, 1 a failure or an error found, 2 a command line not understood.\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

unsigned long long Bytes(std::uint64_t size) { return static_cast<unsigned long long>(size); }

// Runs one publishing step; its failure is reported as the tool's.
template <typename Step>
bool Try(Step step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quenby-pack: %s\n", e.what());
        return false;
    }
}

// With `instructionsPath`, a file that would grow is left as it is, and the instructions name the others
// compressed.
int Compress(const std::vector<std::string>& files, const char* instructionsPath) {
    std::optional<std::string> original;
    TIniFile instructions;
    if (instructionsPath) {
        original = ReadWholeFile(instructionsPath);
        if (!original) {
            std::fprintf(stderr, "quenby-pack: cannot read %s\n", instructionsPath);
            return 1;
        }
        instructions = TIniFile(*original);
    }
    std::vector<TRename> renames;
    int failures = 0;
    for (const std::string& path : files) {
        failures += !Try([&] {
            const TCompressedFile file = CompressFile(path, instructionsPath != nullptr);
            if (!file.Written) {
                std::printf(
                    "%s grew when compressed (%llu -> %llu bytes): left uncompressed under its own name; Expand=1 "
                    "cannot expand it, so Setup copies it unchanged\n",
                    path.c_str(), Bytes(file.Size), Bytes(file.CompressedSize));
                return;
            }
            std::printf("%s -> %s\n", path.c_str(), file.Target.string().c_str());
            if (!instructionsPath) return;
            if (std::optional<std::string> name = ListedSourceName(instructionsPath, instructions, path))
                renames.push_back({*name, CompressedName(*name)});
            else
                std::printf("%s: not a source in [FilesIn] or [SysFilesIn] of %s, where no name changes for it\n",
                            path.c_str(), instructionsPath);
        });
    }
    if (!renames.empty()) {
        if (!Try([&] { WriteSourcesRenamed(instructionsPath, *original, renames); })) return 1;
        std::printf("%s: %zu source name%s now compressed (as it was: %s.bak)\n", instructionsPath, renames.size(),
                    renames.size() == 1 ? "" : "s", instructionsPath);
        if (ReadNumber(instructions.ReadText("Settings", "Expand", ""), 0) == 0)
            std::printf("%s: Expand=0 copies the compressed files as they are; set Expand=1\n", instructionsPath);
    }
    return failures ? 1 : 0;
}

void PrintDisk(const std::string& label, const TDisk& disk) {
    std::printf("%s (%llu bytes):", label.c_str(), Bytes(disk.Used));
    for (const std::string& name : disk.Names) std::printf(" %s", name.c_str());
    std::printf("\n");
}

int CheckFolder(const std::string& dir, bool quiet) {
    int code = 1;
    Try([&] {
        TIniDistribution media(fs::path(dir), DigestOfFile);
        code = PrintCheck(media.Instructions(), media, media.DiskPath(1).string(), quiet);
    });
    return code;
}

int PackDisks(const std::string& sizeText, const std::string& dir, const std::string& out) {
    std::optional<std::int32_t> size = ParseNumber(sizeText);
    if (!size || *size <= 0) {
        std::fprintf(stderr, "quenby-pack: the disk size %s is not a positive whole number of bytes\n",
                     sizeText.c_str());
        return 2;
    }
    bool done = Try([&] {
        std::vector<TDisk> disks = MakeDisks(dir, out, static_cast<std::uint64_t>(*size), DigestOfFile);
        for (size_t d = 0; d < disks.size(); ++d) PrintDisk("disk" + std::to_string(d + 1), disks[d]);
    });
    return done ? CheckFolder(out, false) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto is = [&](const char* command, size_t count) { return args.size() == count && args[0] == command; };
    if (is("--help", 1)) {
        std::printf("%s%s", kUsage, kHelp);
        return 0;
    }
    if (args.size() >= 2 && args[0] == "compress" && args[1] != "--ipi")
        return Compress({args.begin() + 1, args.end()}, nullptr);
    if (args.size() >= 4 && args[0] == "compress") return Compress({args.begin() + 3, args.end()}, args[2].c_str());
    if (is("disks", 5) && args[1] == "--size") return PackDisks(args[2], args[3], args[4]);
    if (is("image", 3)) {
        const bool done = Try([&] { PrintDisk(args[2], MakeImage(args[1], args[2], DigestOfFile)); });
        return done ? CheckFolder(args[2], false) : 1;
    }
    if (is("checksums", 2))
        return Try([&] { WriteChecksums(args[1], DigestOfFile); }) ? CheckFolder(args[1], false) : 1;
    if (is("check", 2)) return CheckFolder(args[1], false);
    if (is("check", 3) && args[1] == "--quiet") return CheckFolder(args[2], true);
    return Usage();
}
