// Times Setup.exe /VERYSILENT against an NSIS installer of the same files, both 32-bit programs started from
// here (a 32-bit program under emulation cannot make Wine's desktop itself). FILES_DIR holds file0.bin,
// file1.bin, ... (the files the NSIS installer was made from, uncompressed); they are laid out with SETUP.EXE
// as an uncompressed medium (Expand=0, one item, a [Keys] base). Then PAIRS alternating pairs, each into a
// new folder (NSIS /S /D=C:\nsisN, Setup.exe /DIR=C:\quenbyN), and PAIRS pairs installing again over one
// folder each, timed from process creation to exit; before each first installation both products' entries,
// keys and links are removed. Every run must end with code 0 and leave every file whole, and the entries and
// links must be there at the end. Prints Markdown rows: each side's median (with the range) and the median of
// the pairs' ratios, Setup.exe over NSIS; each pair's times on stderr.
//
//   nsis_bench.exe NSIS_INSTALLER.EXE SETUP.EXE FILES_DIR [PAIRS]     (default: 9 pairs)
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Host.h"
#include "win/Handles.h"
#include "win/RegistryKey.h"

using namespace quenby;
using namespace quenby::drive;

namespace {

constexpr DWORD kWaitMs = 300000;
constexpr DWORD kQuietMs = 1500;
constexpr long long kFileSize = 64 * 1024;
// The names the NSIS script that scripts/bench.sh writes uses; Setup.exe's differ, so neither side finds the
// other's entry, group or records.
constexpr char kNsisName[] = "NBench NSIS";
constexpr char kSetupName[] = "NBench";
constexpr char kItemTitle[] = "NBench File";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kSetupKeys[] = "Software\\Norvale Tests\\NBench";  // the medium's [Keys] base

std::string FileName(int i) { return "file" + std::to_string(i) + ".bin"; }

int FailedChecks = 0;
void Fail(const std::string& what) {
    std::fprintf(stderr, "nsis_bench: %s\n", what.c_str());
    ++FailedChecks;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The medium: Setup.exe, its instructions and the files, copied from FILES_DIR.
int LayOut(const std::string& filesDir, const std::string& setup, const std::string& medium) {
    MakeFolders(medium);
    if (!CopyFileA(setup.c_str(), (medium + "\\Setup.exe").c_str(), FALSE)) return 0;
    std::string in = "[FilesIn]\r\n", out = "[FilesOut]\r\n";
    int files = 0;
    for (; FileSize(filesDir + "\\" + FileName(files)) == kFileSize; ++files) {
        if (!CopyFileA((filesDir + "\\" + FileName(files)).c_str(), (medium + "\\" + FileName(files)).c_str(), FALSE))
            return 0;
        in += FileName(files) + "=\r\n";
        out += FileName(files) + "=0\r\n";
    }
    WriteWholeFile(medium + "\\Quenby.ipi", std::string("[Settings]\r\nApplication=") + kSetupName +
                                                "\r\nVersion=1\r\nProgGroup=" + kSetupName + "\r\nExpand=0\r\n" + in +
                                                out + "[Items]\r\n" + FileName(0) + "=" + kItemTitle + "\r\n" +
                                                "[Keys]\r\nBase=\\" + kSetupKeys + "\r\n");
    return files;
}

// Milliseconds from creating the process to its end; each run starts on a quiet machine (Program Manager's
// server opens the group's folder window after an installation has ended).
double Timed(const std::string& program, const std::string& folder, const std::string& arguments) {
    Sleep(kQuietMs);
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const double start = NowMs();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started)) {
        Fail("cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")");
        return 0;
    }
    const THandle process(started.hProcess), thread(started.hThread);
    const bool ended = WaitForSingleObject(process.Get(), kWaitMs) == WAIT_OBJECT_0;
    const double elapsed = NowMs() - start;
    DWORD code = 0;
    if (!ended) {
        TerminateProcess(process.Get(), 1);
        Fail(commandLine + " did not end");
    } else if (!GetExitCodeProcess(process.Get(), &code) || code != 0) {
        Fail(commandLine + " ended with " + std::to_string(code));
    }
    return elapsed;
}

// Every file whole in the folder: a run that left one out must not count as fast.
void CheckInstalled(const std::string& folder, int files, bool nsis) {
    for (int i = 0; i < files; ++i)
        if (FileSize(folder + "\\" + FileName(i)) != kFileSize) return Fail(folder + "\\" + FileName(i) + " missing");
    if (nsis && FileSize(folder + "\\Uninstall.exe") <= 0) Fail(folder + "\\Uninstall.exe missing");
    if (!nsis && FileSize(folder + "\\Quenby.log") <= 0) Fail(folder + "\\Quenby.log missing");
}

std::string ProgramsFolder() {
    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return programs;
}

// The uninstall entry (32-bit view: both are 32-bit programs) and the Start Menu link of each.
void CheckEntryAndLink(const char* name) {
    const auto key =
        TRegistryKey::Open(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + name, KEY_READ | KEY_WOW64_32KEY);
    if (!key || key->ReadText("DisplayName").empty() || key->ReadText("UninstallString").empty())
        Fail(std::string("no uninstall entry ") + name);
    const std::string link = ProgramsFolder() + "\\" + name + "\\" + kItemTitle + ".lnk";
    if (FileSize(link) <= 0) Fail("no link " + link);
}

// A first installation finds no trace of the product: Setup.exe refuses a second folder while its entry names a
// first one, and neither side should find its entry, keys or link to replace.
void Forget(const char* name) {
    HKEY entries = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &entries) ==
        ERROR_SUCCESS) {
        RegDeleteTreeA(entries, name);
        RegCloseKey(entries);
    }
    if (std::string(name) == kSetupName) RegDeleteTreeA(HKEY_CURRENT_USER, kSetupKeys);
    std::error_code ignored;
    std::filesystem::remove_all(ProgramsFolder() + "\\" + name, ignored);
}

// Wine's desktop ends some time after its last window, and a program started then cannot make any: a Notepad
// window holds it for the whole measurement.
THandle HoldDesktop() {
    std::string commandLine = "C:\\windows\\system32\\notepad.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup, &started))
        return THandle();
    const THandle thread(started.hThread);
    THandle process(started.hProcess);
    WaitForInputIdle(process.Get(), 30000);
    for (int tries = 0; tries < 300 && !FindWindowA("Notepad", nullptr); ++tries) Sleep(100);
    return process;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Spread(const std::vector<double>& times) {
    char text[96];
    std::snprintf(text, sizeof text, "%.0f ms (%.0f to %.0f)", Median(times),
                  *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
    return text;
}

void Row(const char* what, int files, const std::vector<double>& nsis, const std::vector<double>& setup) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < nsis.size(); ++i) ratios.push_back(setup[i] / nsis[i]);
    std::printf("| %s, %d files of %lld KiB | %s | %s | %.2f |\n", what, files, kFileSize / 1024, Spread(nsis).c_str(),
                Spread(setup).c_str(), Median(ratios));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: nsis_bench NSIS_INSTALLER.EXE SETUP.EXE FILES_DIR [PAIRS]\n");
        return 2;
    }
    const std::string nsisSource = argv[1], setupSource = argv[2], filesDir = argv[3];
    const int pairs = argc > 4 ? std::atoi(argv[4]) : 9;
    if (pairs < 1) {
        std::fprintf(stderr, "nsis_bench: PAIRS must be at least 1\n");
        return 2;
    }
    const std::string root = "C:\\nsis-bench", medium = root + "\\medium", nsis = root + "\\nbench-nsis.exe";
    // A kept prefix holds the last measurement's folders: installing over them would measure replacing.
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    for (int i = 0; i < pairs; ++i) {
        std::filesystem::remove_all("C:\\nsis" + std::to_string(i), ignored);
        std::filesystem::remove_all("C:\\quenby" + std::to_string(i), ignored);
    }
    std::filesystem::remove_all("C:\\nsis-again", ignored);
    std::filesystem::remove_all("C:\\quenby-again", ignored);
    const int files = LayOut(filesDir, setupSource, medium);
    MakeFolders(root);
    if (files == 0 || !CopyFileA(nsisSource.c_str(), nsis.c_str(), FALSE)) {
        std::fprintf(stderr, "nsis_bench: cannot lay out %s with %s and %s\n", filesDir.c_str(), setupSource.c_str(),
                     nsisSource.c_str());
        return 1;
    }
    const THandle desktop = HoldDesktop();
    if (!desktop || !FindWindowA("Notepad", nullptr)) {
        std::fprintf(stderr, "nsis_bench: no Notepad window to hold the desktop\n");
        return 1;
    }
    const std::string setup = medium + "\\Setup.exe";
    const auto runNsis = [&](const std::string& folder) {
        const double ms = Timed(nsis, root, "/S /D=" + folder);  // /D= must come last, unquoted
        CheckInstalled(folder, files, true);
        return ms;
    };
    const auto runSetup = [&](const std::string& folder) {
        const double ms = Timed(setup, medium, "/VERYSILENT /DIR=" + folder);
        CheckInstalled(folder, files, false);
        return ms;
    };

    std::vector<double> nsisFirst, setupFirst, nsisAgain, setupAgain;
    for (int i = 0; i < pairs; ++i) {
        Forget(kNsisName);
        nsisFirst.push_back(runNsis("C:\\nsis" + std::to_string(i)));
        Forget(kSetupName);
        setupFirst.push_back(runSetup("C:\\quenby" + std::to_string(i)));
    }
    // The folders to install over, made once, untimed.
    Forget(kNsisName);
    Forget(kSetupName);
    runNsis("C:\\nsis-again");
    runSetup("C:\\quenby-again");
    for (int i = 0; i < pairs; ++i) {
        nsisAgain.push_back(runNsis("C:\\nsis-again"));
        setupAgain.push_back(runSetup("C:\\quenby-again"));
    }
    // Each pair too, in order: a trend over the pairs is hidden in the medians.
    for (int i = 0; i < pairs; ++i)
        std::fprintf(stderr, "pair %d: first %.0f / %.0f ms, again %.0f / %.0f ms (NSIS / Setup.exe)\n", i + 1,
                     nsisFirst[i], setupFirst[i], nsisAgain[i], setupAgain[i]);
    CheckEntryAndLink(kNsisName);
    CheckEntryAndLink(kSetupName);

    TerminateProcess(desktop.Get(), 0);
    WaitForSingleObject(desktop.Get(), 10000);
    if (FailedChecks != 0) return 1;
    Row("first installation", files, nsisFirst, setupFirst);
    Row("installing again over it", files, nsisAgain, setupAgain);
    return 0;
}
