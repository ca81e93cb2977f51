// Measures Setup.exe from outside, as the driver sees it: start-up to the wizard on view against the
// 4,000 ms the splash and the timer take by design, and the copy step's time per file against the
// 500 ms pause after each file plus a bare CopyFileA of the same file. Prints Markdown table rows.
//
//   quenby_bench.exe SETUP.EXE [STARTS] [FILES]     (default: 3 starts, 10 files of 256 KiB)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "wizard/forms/MainDialogForm.h"

using namespace quenby;
using namespace quenby::drive;

namespace {

constexpr DWORD kWaitMs = 60000;
constexpr int kFileSize = 256 * 1024;

HWND Item(HWND dialog, const char* name) { return Control(dialog, ui::ControlId(forms::kMainDialogControls, name)); }

std::string Distribution(const std::string& root, int files) {
    const std::string dist = root + "\\dist";
    MakeFolders(dist);
    std::string in = "[FilesIn]\r\n", out = "[FilesOut]\r\n";
    for (int i = 0; i < files; ++i) {
        const std::string name = "file" + std::to_string(i) + ".bin";
        WriteWholeFile(dist + "\\" + name, std::string(kFileSize, static_cast<char>('a' + i % 26)));
        in += name + "=\r\n";
        out += name + "=0\r\n";
    }
    WriteWholeFile(dist + "\\Quenby.ipi", "[Settings]\r\nApplication=Bench\r\nVersion=1\r\nProgGroup=Bench\r\n" + in +
                                              out + "[Keys]\r\nBase=\\Software\\Norvale Tests\\Bench\r\n");
    return dist;
}

// From the start of the process to the wizard first seen on view, as a range (polling).
TMoment StartUp(const std::string& setup, const std::string& dist) {
    TDriver driver(setup, dist);
    driver.WaitWindow({"TMainDialog"}, kWaitMs);
    return *driver.FirstRecord("TMainDialog")->shown;
}

// Milliseconds between the copy step showing its first and its last file, divided by the files between.
double CopyPerFile(const std::string& setup, const std::string& dist, const std::string& target, int files) {
    TDriver driver(setup, dist);
    const HWND dialog = driver.WaitWindow({"TMainDialog"}, kWaitMs);
    Click(Item(dialog, "NextBut"));
    WaitUntil([&] { return Visible(Item(dialog, "EditName")); }, kWaitMs, "the user page");
    Click(Item(dialog, "NextBut"));
    WaitUntil([&] { return Visible(Item(dialog, "EditPath")); }, kWaitMs, "the destination page");
    SetText(Item(dialog, "EditPath"), target);
    Click(Item(dialog, "NextBut"));
    const HWND source = Item(dialog, "SourceLabel");
    std::string last;
    double first = 0, latest = 0;
    int seen = 0;
    const std::string done = "Bench 1 was installed successfuly. Please select next to continue.";
    const double deadline = NowMs() + kWaitMs;
    while (Text(Item(dialog, "InfoLabel")) != done && NowMs() < deadline) {
        const std::string now = Text(source);
        if (now != last && !now.empty()) {
            last = now;
            latest = NowMs();
            if (seen++ == 0) first = latest;
        }
        Sleep(1);
    }
    if (seen != files) std::fprintf(stderr, "saw %d of %d files\n", seen, files);
    return (latest - first) / std::max(1, seen - 1);
}

double BareCopy(const std::string& dist, const std::string& target, int files) {
    MakeFolders(target);
    const double start = NowMs();
    for (int i = 0; i < files; ++i) {
        const std::string name = "\\file" + std::to_string(i) + ".bin";
        CopyFileA((dist + name).c_str(), (target + name).c_str(), FALSE);
    }
    return (NowMs() - start) / files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quenby_bench SETUP.EXE [STARTS] [FILES]\n");
        return 2;
    }
    const std::string setup = argv[1];
    const int starts = argc > 2 ? std::atoi(argv[2]) : 3;
    const int files = argc > 3 ? std::atoi(argv[3]) : 10;
    UseVirtualDesktop(1024, 768);
    const std::string root = "C:\\quenby-bench";
    const std::string dist = Distribution(root, files);

    std::vector<long long> ready;
    for (int i = 0; i < starts; ++i) {
        const TMoment shown = StartUp(setup, dist);
        ready.push_back(shown.by);
        std::printf("| start-up to the wizard, run %d | %lld to %lld ms | 4,000 ms | %.2f |\n", i + 1, shown.after,
                    shown.by, double(shown.by) / 4000.0);
    }
    std::sort(ready.begin(), ready.end());
    std::printf("| start-up to the wizard, median | %lld ms | 4,000 ms | %.2f |\n", ready[ready.size() / 2],
                double(ready[ready.size() / 2]) / 4000.0);

    const double perFile = CopyPerFile(setup, dist, root + "\\installed", files);
    const double bare = BareCopy(dist, root + "\\bare", files);
    const double sleepStart = NowMs();
    Sleep(500);
    const double slept = NowMs() - sleepStart;
    std::printf("| copy step per file (%d files of %d KiB) | %.0f ms | 500 ms + %.1f ms bare CopyFileA | %.3f |\n",
                files, kFileSize / 1024, perFile, bare, perFile / (500.0 + bare));
    std::printf("| Sleep(500) in this process, for scale | %.1f ms | 500 ms | %.3f |\n", slept, slept / 500.0);
    return 0;
}
