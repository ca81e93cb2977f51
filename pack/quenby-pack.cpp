// quenby-pack: prepares distribution media for Quenby.
//
//   quenby-pack compress FILE...   writes FILE in the LZ (SZDD) format beside it, the last character
//                                  of its name replaced by "_" (readme.txt -> readme.tx_)
//   quenby-pack disks --size BYTES DIR OUT
//                                  lays the distribution in DIR out on OUT/disk1, OUT/disk2, ... of at
//                                  most BYTES each, with [Checksums] in disk 1's Quenby.ipi, then checks
//                                  the result as quenby-check does
//   quenby-pack image DIR OUT      the same laid out in the one folder OUT, for installing from a
//                                  network share without a disk change
//   quenby-pack checksums DIR      writes [Checksums] into the Quenby.ipi of a set laid out by hand
//   quenby-pack check [--quiet] DIR
//                                  the checks of quenby-check, with a portable reader of Quenby.ipi
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "FileDigest.h"
#include "publish/DiskPacker.h"
#include "publish/Szdd.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: quenby-pack compress FILE...\n"
                 "       quenby-pack disks --size BYTES DIR OUT\n"
                 "       quenby-pack image DIR OUT\n"
                 "       quenby-pack checksums DIR\n"
                 "       quenby-pack check [--quiet] DIR\n");
    return 2;
}

bool ReadFile(const std::string& path, quenby::TBytes& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFile(const std::string& path, const quenby::TBytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out.flush());
}

// The name's last character goes into the header so the expander can give the file its name back.
int Compress(int count, char** files) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        std::string path = files[i];
        size_t nameStart = path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1;
        if (path.size() <= nameStart || path.back() == '_') {
            std::fprintf(stderr, "quenby-pack: %s: its name already ends in \"_\", the mark of a compressed file\n",
                         path.c_str());
            ++failures;
            continue;
        }
        quenby::TBytes data;
        if (!ReadFile(path, data)) {
            std::fprintf(stderr, "quenby-pack: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
            ++failures;
            continue;
        }
        std::string target = path.substr(0, path.size() - 1) + "_";
        if (!WriteFile(target, quenby::SzddCompress(data, path.back()))) {
            std::fprintf(stderr, "quenby-pack: cannot write %s: %s\n", target.c_str(), std::strerror(errno));
            ++failures;
            continue;
        }
        std::printf("%s -> %s\n", path.c_str(), target.c_str());
    }
    return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    if (std::strcmp(argv[1], "compress") == 0) return Compress(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "disks") == 0 && argc == 6 && std::strcmp(argv[2], "--size") == 0)
        return quenby::PackDisks(argv[3], argv[4], argv[5], quenby::Sha256OfFile);
    if (std::strcmp(argv[1], "image") == 0 && argc == 4)
        return quenby::PackImage(argv[2], argv[3], quenby::Sha256OfFile);
    if (std::strcmp(argv[1], "checksums") == 0 && argc == 3)
        return quenby::PackChecksums(argv[2], quenby::Sha256OfFile);
    if (std::strcmp(argv[1], "check") == 0 && argc == 3)
        return quenby::CheckFolder(argv[2], false, quenby::Sha256OfFile);
    if (std::strcmp(argv[1], "check") == 0 && argc == 4 && std::strcmp(argv[2], "--quiet") == 0)
        return quenby::CheckFolder(argv[3], true, quenby::Sha256OfFile);
    return Usage();
}
