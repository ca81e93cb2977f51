// Measures an unattended installation against a bare program doing the same copies: FILES files of
// 64 KiB, once plain and once compressed (SZDD, expanded through LZ32), Setup.exe /VERYSILENT against this
// program started the same way with --copy (CopyFileA, or LZ32's expansion, of each file), and with
// --copy-and-group (the same, then the group and item Setup.exe asks Program Manager for). Each runs RUNS
// times in turn, from process creation to exit, into new folders; prints Markdown rows with the best times
// and the median of the runs' ratios of Setup.exe to each.
//
//   unattended_bench.exe SETUP.EXE [FILES] [RUNS]      (default: 200 files, 7 runs)
//   unattended_bench.exe --copy|--copy-and-group SOURCE_DIR TARGET_DIR EXPAND FILES
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Driver.h"
#include "install/InstructionsFile.h"
#include "install/ProgramGroup.h"
#include "publish/Szdd.h"
#include "win/Lz32.h"
#include "win/SystemText.h"

using namespace quenby;
using namespace quenby::drive;

namespace {

constexpr DWORD kWaitMs = 120000;
constexpr int kFileSize = 64 * 1024;
constexpr DWORD kQuietMs = 1500;

std::string SourceName(int i, bool compressed) { return "file" + std::to_string(i) + (compressed ? ".bi_" : ".bin"); }
std::string TargetName(int i) { return "file" + std::to_string(i) + ".bin"; }

// Text-like bytes, so that compression does something, different in every file.
std::string Distribution(const std::string& dist, int files, bool compressed) {
    MakeFolders(dist);
    std::string in = "[FilesIn]\r\n", out = "[FilesOut]\r\n";
    unsigned seed = 12345;
    for (int i = 0; i < files; ++i) {
        std::string bytes(kFileSize, ' ');
        for (char& c : bytes) c = "etaoin shrdlu\r\n"[((seed = seed * 1103515245 + 12345) >> 16) % 15];
        if (compressed) {
            const TBytes packed = SzddCompress(TBytes(bytes.begin(), bytes.end()), 'n');
            bytes.assign(packed.begin(), packed.end());
        }
        WriteWholeFile(dist + "\\" + SourceName(i, compressed), bytes);
        in += SourceName(i, compressed) + "=\r\n";
        out += TargetName(i) + "=0\r\n";
    }
    WriteWholeFile(dist + "\\Quenby.ipi",
                   std::string("[Settings]\r\nApplication=UBench\r\nVersion=1\r\nProgGroup=UBench\r\n") +
                       "Expand=" + (compressed ? "1" : "0") + "\r\n" + in + out +
                       "[Keys]\r\nBase=\\Software\\Norvale Tests\\UBench\r\n");
    return dist;
}

// Milliseconds from creating the process to its end.
double Timed(const std::string& program, const std::string& folder, const std::string& arguments) {
    // Each run starts on a quiet machine: Program Manager's server opens the group's folder window after an
    // installation has ended, which would otherwise weigh on whichever run comes next.
    Sleep(kQuietMs);
    const double start = NowMs();
    TDriver run(program, folder, arguments);
    const DWORD code = run.WaitExit(kWaitMs);
    if (code != 0) std::fprintf(stderr, "%s %s ended with %lu\n", program.c_str(), arguments.c_str(), code);
    return NowMs() - start;
}

// With `group`, also what Setup.exe asks of Program Manager for this distribution (the group and the
// uninstaller's item), through the engine's own group step.
int BareCopy(const std::string& source, const std::string& target, bool expand, int files, bool group) {
    if (group) TDdeClientConv::InitializeLibrary();  // at the start, as Setup.exe does
    MakeFolders(target);
    const TLz32 lz32;
    for (int i = 0; i < files; ++i) {
        const std::string from = source + "\\" + SourceName(i, expand), to = target + "\\" + TargetName(i);
        if (expand)
            lz32.Expand(from, to);
        else if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
            return 1;
    }
    if (!group) return 0;
    TDdeClientConv progman;
    // Run in the distribution folder, as Setup.exe is: the same instructions give the same commands.
    CreateProgramGroup(progman, ReadInstructionsFromMedium(), target, WindowsDirectory());
    const bool opened = progman.IsOpen();
    progman.Close();  // waits for Program Manager to have carried them out
    return opened ? 0 : 1;
}

double MedianRatio(const std::vector<double>& times, const std::vector<double>& bases) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < times.size(); ++i) ratios.push_back(times[i] / bases[i]);
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}

double Best(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 6 && (mode == "--copy" || mode == "--copy-and-group"))
        return BareCopy(argv[2], argv[3], std::string(argv[4]) == "1", std::atoi(argv[5]), mode == "--copy-and-group");
    if (argc < 2) {
        std::fprintf(stderr, "usage: unattended_bench SETUP.EXE [FILES] [RUNS]\n");
        return 2;
    }
    const std::string setup = argv[1];
    const int files = argc > 2 ? std::atoi(argv[2]) : 200;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 7;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string root = "C:\\quenby-ubench";
    // A kept prefix holds the last measurement's folders: installing over them would measure replacing.
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    for (const bool compressed : {false, true}) {
        const std::string dist = Distribution(root + (compressed ? "\\packed" : "\\plain"), files, compressed);
        std::vector<double> setupTimes, bareTimes, groupTimes;
        for (int run = 0; run < runs; ++run) {
            const std::string target = root + "\\run" + std::to_string(run) + (compressed ? "p" : "");
            const auto bare = [&](const std::string& how, const std::string& folder) {
                return Timed(self, dist,
                             how + " " + dist + " " + target + "\\" + folder + (compressed ? " 1 " : " 0 ") +
                                 std::to_string(files));
            };
            setupTimes.push_back(Timed(setup, dist, "/VERYSILENT /DIR=" + target + "\\setup"));
            bareTimes.push_back(bare("--copy", "bare"));
            groupTimes.push_back(bare("--copy-and-group", "group"));
        }
        std::printf("| %d files of %d KiB, %s | %.0f ms | %.0f ms | %.2f | %.0f ms | %.2f |\n", files, kFileSize / 1024,
                    compressed ? "compressed" : "plain", Best(setupTimes), Best(bareTimes),
                    MedianRatio(setupTimes, bareTimes), Best(groupTimes), MedianRatio(setupTimes, groupTimes));
    }
    return 0;
}
