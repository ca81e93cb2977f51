#include "Snapshot.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <vector>

#include "Prefix.h"

namespace quenby::test {

namespace {

void AddKeys(HKEY root, const std::string& path, REGSAM view, const std::string& shown, std::set<std::string>& out) {
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
        if (path == "Software" && _stricmp(name, "Classes") == 0) continue;
        AddKeys(root, path + "\\" + name, view, shown + "\\" + name, out);
    }
    RegCloseKey(key);
}

// Every file and folder below `folder`, never through a link: a prefix's user folders lead to the Linux home,
// and a walk through them reads the home (or goes round and round when the home holds a prefix). A folder
// that cannot be listed fails the test instead of ending the walk quietly.
void AddFiles(const std::string& folder, std::set<std::string>& out) {
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
        out.insert(folder + "\\" + name);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            folders.push_back(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) ADD_FAILURE() << "the listing of " << folder << " stopped: error " << error;
    for (const std::string& inner : folders) AddFiles(inner, out);
}

// What others change meanwhile: Wine's desktop and explorer bookkeeping, Notepad's settings (the add-on
// shows the read-me in it).
bool ChangedByOthers(const std::string& line) {
    for (const char* prefix : {"HKCU\\Software\\Wine\\", "HKCU\\Software\\Microsoft\\Notepad",
                               "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"})
        if (line.rfind(prefix, 0) == 0) return true;
    return false;
}

}  // namespace

std::set<std::string> Snapshot() {
    std::set<std::string> out;
    AddFiles("C:", out);
    AddKeys(HKEY_CURRENT_USER, "Software", 0, "HKCU\\Software", out);
    AddKeys(HKEY_LOCAL_MACHINE, "Software", KEY_WOW64_64KEY, "HKLM64\\Software", out);
    AddKeys(HKEY_LOCAL_MACHINE, "Software", KEY_WOW64_32KEY, "HKLM32\\Software", out);
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
