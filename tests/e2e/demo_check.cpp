// The demo's checks, run in its prefix by scripts/demo.sh: `before FILE` keeps the prefix's state before Setup.exe
// starts; `after FILE REPORT SHOTS` adds to the report what differs once Uninstall.exe has run, and fails unless
// that is only the uninstaller's waiting copy, the report shows a complete installation, and every screenshot is
// there.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "Prefix.h"
#include "Snapshot.h"

using namespace quenby::test;

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "before" && argc == 3) {
        std::ofstream out(argv[2], std::ios::binary);
        for (const std::string& line : Snapshot()) out << line.size() << ':' << line;  // registry data holds any byte
        return out.flush() ? 0 : 1;
    }
    if (mode != "after" || argc != 5) {
        std::fputs("usage: demo_check before SNAPSHOT | after SNAPSHOT REPORT SHOTS-FOLDER\n", stderr);
        return 2;
    }
    std::set<std::string> before;
    const std::string kept = ReadFile(argv[2]);
    for (std::size_t at = 0, colon; (colon = kept.find(':', at)) != std::string::npos;) {
        const std::size_t size = std::stoul(kept.substr(at, colon - at));
        before.insert(kept.substr(colon + 1, size));
        at = colon + 1 + size;
    }
    const std::string left = DifferenceButWaitingCopies(before, Snapshot());
    std::ofstream(argv[3], std::ios::binary | std::ios::app)
        << "\n== After Uninstall.exe: what differs from the prefix before Setup.exe (+ added, - removed) ==\n"
        << left
        << "(Uninstall.exe ran the removal from a copy in C:\\windows\\temp, which goes when Windows restarts.)\n";
    int shots = 0;
    WIN32_FIND_DATAA found;
    if (const HANDLE search = FindFirstFileA((std::string(argv[4]) + "\\*.png").c_str(), &found);
        search != INVALID_HANDLE_VALUE) {
        do ++shots;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::string failures;
    if (shots != 15) failures += "made " + std::to_string(shots) + " screenshots, not 15\n";
    if (ReadFile(argv[3]).find("\n  UninstallString=") == std::string::npos)
        failures += "reported no complete installation\n";
    if (!left.empty()) failures += "left behind after the removal:\n" + left;
    std::fputs(failures.c_str(), stderr);
    return failures.empty() ? 0 : 1;
}
