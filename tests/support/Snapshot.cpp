#include "Snapshot.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Prefix.h"

namespace quenby::test {

namespace {

void AddKeys(HKEY root, const std::string& path, REGSAM view, const std::string& shown, std::set<std::string>& out,
             const char* skipped = "") {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
    out.insert(shown);
    char name[16384];
    BYTE data[65536];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        out.insert(shown + " : " + name + " = " + std::string(reinterpret_cast<char*>(data), dataSize));
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        // Wine registers some 60,000 COM classes there, nine tenths of a walk's time; an installation
        // writes none.
        // The 64-bit view's Wow6432Node is the 32-bit view, walked on its own.
        if (path == "Software" &&
            (_stricmp(name, "Classes") == 0 || _stricmp(name, "Wow6432Node") == 0 || _stricmp(name, skipped) == 0))
            continue;
        AddKeys(root, path + "\\" + name, view, shown + "\\" + name, out);
    }
    RegCloseKey(key);
}

// FNV-1a over the bytes: enough to tell a file put back from one left changed.
std::string DigestOf(const std::string& path) {
    const std::string bytes = ReadFile(path);
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return std::to_string(hash);
}

// Every file and folder below `folder`, never through a link: a prefix's user folders lead to the Linux home,
// and a walk through them reads the home (or goes round and round when the home holds a prefix). A folder
// that cannot be listed fails the test instead of ending the walk quietly.
void AddFiles(const std::string& folder, std::set<std::string>& out, bool digests = false, bool whole = true) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot list " << folder << ": error " << GetLastError();
        return;
    }
    std::vector<std::string> folders;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        out.insert(folder + "\\" + name + (digests && !isFolder ? " " + DigestOf(folder + "\\" + name) : ""));
        if (whole && isFolder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            folders.push_back(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) ADD_FAILURE() << "the listing of " << folder << " stopped: error " << error;
    for (const std::string& inner : folders) AddFiles(inner, out, digests);
}

// What others change meanwhile: Wine's desktop and explorer bookkeeping, Notepad's settings (the add-on
// shows the read-me in it).
bool ChangedByOthers(const std::string& line) {
    for (const char* prefix : {"HKCU\\Software\\Wine\\", "HKCU\\Software\\Microsoft\\Notepad",
                               "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"})
        if (line.rfind(prefix, 0) == 0) return true;
    return false;
}

// `installersOnly`: of HKLM\Software\Microsoft, which is most of the walk's time, only the keys where
// installers write.
void AddRegistry(std::set<std::string>& out, bool installersOnly = false) {
    AddKeys(HKEY_CURRENT_USER, "Software", 0, "HKCU\\Software", out);
    for (const auto& [view, shown] :
         {std::pair(KEY_WOW64_64KEY, "HKLM64\\Software"), std::pair(KEY_WOW64_32KEY, "HKLM32\\Software")}) {
        AddKeys(HKEY_LOCAL_MACHINE, "Software", view, shown, out, installersOnly ? "Microsoft" : "");
        if (!installersOnly) continue;
        for (const std::string key : {"Uninstall", "SharedDLLs"})
            AddKeys(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\" + key, view,
                    shown + std::string("\\Microsoft\\Windows\\CurrentVersion\\") + key, out);
    }
}

}  // namespace

std::set<std::string> Snapshot(const std::vector<TWalk>& folders) {
    std::set<std::string> out;
    for (const TWalk& walk : folders) AddFiles(walk.Folder, out, true, walk.Whole);
    AddRegistry(out, true);
    return out;
}

std::set<std::string> Snapshot() {
    std::set<std::string> out;
    AddFiles("C:", out);
    AddRegistry(out);
    EXPECT_TRUE(out.count(WindowsDir() + "\\system32\\kernel32.dll")) << "the walk missed the Windows directory";
    return out;
}

std::string Difference(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::string text;
    for (const std::string& line : after)
        if (!before.count(line) && !ChangedByOthers(line)) text += "+ " + line + "\n";
    for (const std::string& line : before)
        if (!after.count(line) && !ChangedByOthers(line)) text += "- " + line + "\n";
    return text;
}

std::string DifferenceButWaitingCopies(const std::set<std::string>& before, const std::set<std::string>& after) {
    const std::string copy = "+ " + WindowsDir() + "\\temp\\Quenby-";
    std::string difference = Difference(before, after);
    for (std::size_t at; (at = difference.find(copy)) != std::string::npos;)
        difference.erase(at, difference.find('\n', at) + 1 - at);
    return difference;
}

}  // namespace quenby::test
