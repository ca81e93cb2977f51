// Logs spelled from the real line kinds, each with a word of its kind, some hostile: no fault, and the plan keeps
// only files below the destination, clean full paths, names below the Windows directory, clean key paths under
// the two roots and plain titles; and puts back only what a run that never ended overwrote.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/InstallLog.h"
#include "base/SameText.h"

namespace {

const std::string kDest = "C:\\D";
bool Below(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() + 1 && path[folder.size()] == '\\' &&
           quenby::SameTextIgnoringCase(path.substr(0, folder.size()), folder);
}
constexpr quenby::TPathComparer kPaths{quenby::SameTextIgnoringCase, Below};

// By class (full path, name below the Windows directory, key path, title): four words, four rarer hostile ones.
const char* const kWords[][8] = {
    {"C:\\D", "C:\\D\\a", "c:\\d\\S\\b", "C:\\D\\S\\", "C:\\Dx\\a", "C:\\D\\.. \\x", "\\\\.\\C:\\D\\a", "C:\\D\\%0"},
    {"a.dll", "SYS\\b.dll", "A.DLL", "sys\\c.drv", "..\\x.dll", "C:\\W\\a.dll", "\\a.dll", "a/../b"},
    {"Software\\Q", "Software\\Q\\Sub", "SOFTWARE\\q\\sub\\D", "Software\\R", "Software\\\\Q", "S\\..", "\\S", "S/Q"},
    {"Orrery", "Read Me", "orrery", "100%25", "a..b", "x,y)", "x\\y", ". ."}};
// The class of the row's word, then the line: '?' new or old, '!' a root, '*' the word.
const char* const kRows[] = {
    "0destination\t*",    "0directory\t*",  "0file\t?\t*", "0final\t*",          "0saved\t*\t*",
    "0atrestart\t*",      "1sysfile\t?\t*", "1counter\t*", "1machinecounter\t*", "1lowered\t*",
    "1machinelowered\t*", "1kept\t*",       "2key\t!\t*",  "2value\t?\t!\t*\tv", "2oldvalue\t!\t*\t4:0a0b:v",
    "3group\t?\t*",       "3group\t?\t*",   "3item\t*",    "3application\t*",    "3uninstall\t*",
    "3runstart\t*",       "3runend\t*",     "3checked\t*"};

void Check(bool condition) {
    if (!condition) std::abort();
}

// Every '\'-separated part holds more than dots and blanks (Windows would climb or stay), and none of `forbidden`.
bool CleanParts(const std::string& parts, const char* forbidden = "/<>:\"|?*\r\n\t") {
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
        if (parts.substr(start, (end = parts.find('\\', start)) - start).find_first_not_of(". ") == std::string::npos)
            return false;
    return parts.find_first_of(forbidden) == std::string::npos;
}
bool FullPath(std::string path) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();  // names the same folder
    if (path.starts_with("\\\\")) return CleanParts(path.substr(2));
    return path.size() > 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path.compare(1, 2, ":\\") == 0 &&
           (path.size() == 3 || CleanParts(path.substr(3)));
}
bool Key(const quenby::TRegistryName& key) {
    return (key.Root == "HKLM" || key.Root == "HKCU") && key.Key.size() <= 255 && CleanParts(key.Key, "/\r\n");
}
bool Title(const std::string& title) {
    return CleanParts(title, "[](),\"\r\n\t\\/:*?<>|") && title.find("..") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)quenby::ParseOldValue(
        {quenby::TLogKind::OldValue, false, "", "", {reinterpret_cast<const char*>(data), size}});
    std::string log = std::string(quenby::kInstallLogHeader) + "\r\ndestination\t" + kDest + "\r\n";
    bool unfinished = false;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char* row = kRows[data[i] % std::size(kRows)];
        const int bits = data[i] / int(std::size(kRows));
        const char* const fills[] = {bits & 1 ? "old" : "new", bits & 2 ? "HKLM" : "HKCU",
                                     kWords[row[0] - '0'][data[i + 1] % 4 + (data[i + 1] >= 0xe0 ? 4 : 0)]};
        std::string line = std::string(row + 1) + "\r\n";
        for (std::size_t at = 0; (at = line.find_first_of("?!*", at)) != std::string::npos; ++at)
            line.replace(at, 1, fills[std::string_view("?!*").find(line[at])]);
        if (line.starts_with("run")) unfinished = line.starts_with("runstart");
        log += line;
    }
    quenby::TUninstallPlan plan;
    try {
        plan = quenby::PlanUninstall(quenby::ParseLog(log), kDest, kPaths);
    } catch (const quenby::ELogRefused&) {
        return 0;
    }
    for (const std::string& file : plan.Files) Check(FullPath(file) && Below(file, kDest));
    for (const std::string& directory : plan.Directories) Check(FullPath(directory));
    Check(plan.DestinationFinal.empty() || FullPath(plan.DestinationFinal));
    for (const auto& restore : plan.Restores) Check(unfinished && FullPath(restore.Target) && FullPath(restore.Copy));
    for (const auto& old : plan.OldValues) Check(unfinished && Key(old.Name));
    for (const auto* names :
         {&plan.NewSystemFiles, &plan.UserCountedSystemFiles, &plan.Counters, &plan.MachineCounters})
        for (const std::string& name : *names) Check(CleanParts(name));
    Check(std::ranges::all_of(plan.Keys, Key) && std::ranges::all_of(plan.Values, Key));
    for (const auto& group : plan.Groups) Check(Title(group.Name) && std::ranges::all_of(group.Items, Title));
    for (const std::string& entry : plan.UninstallEntries) Check(entry.find('\\') == std::string::npos);
    return 0;
}
