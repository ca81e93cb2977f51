#include "uninstall/SelfCopy.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/InstallRecord.h"
#include "uninstall/Uninstaller.h"
#include "win/NoLinkRemoval.h"
#include "win/PathCompare.h"
#include "win/PrivateFolder.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

constexpr char kCopySwitch[] = "/QUENBY-COPY=";
constexpr DWORD kOriginalEndMs = 60000;

std::string ModulePath() {
    char path[MAX_PATH] = {};
    const DWORD size = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return size > 0 && size < MAX_PATH ? std::string(path, size) : std::string();
}

HANDLE HandleFrom(const std::string& digits) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::strtoull(digits.c_str(), nullptr, 10)));
}

}  // namespace

std::optional<TOriginal> TakeOriginal(const std::string& commandLine, std::string& rest) {
    // /QUENBY-COPY=<process>,<pipe>,"<original's path>" <command line>
    if (!commandLine.starts_with(kCopySwitch)) return std::nullopt;
    const std::size_t first = commandLine.find(','), second = commandLine.find(',', first + 1);
    const std::size_t open = second + 1, close = commandLine.find('"', open + 1);
    if (first == std::string::npos || second == std::string::npos || close == std::string::npos ||
        commandLine[open] != '"')
        return std::nullopt;
    TOriginal original;
    const std::size_t start = sizeof kCopySwitch - 1;
    original.Process.Reset(HandleFrom(commandLine.substr(start, first - start)));
    original.Pipe.Reset(HandleFrom(commandLine.substr(first + 1, second - first - 1)));
    original.Path = commandLine.substr(open + 1, close - open - 1);
    rest = commandLine.substr(std::min(close + 2, commandLine.size()));
    return original;
}

std::optional<int> RunFromCopy(const std::string& commandLine) {
    const std::string self = ModulePath();
    const std::string folder = MakePrivateFolder();
    if (self.empty() || folder.empty()) return std::nullopt;
    const std::string copy = folder + "\\" + kUninstallerName;
    if (!CopyFileA(self.c_str(), copy.c_str(), TRUE)) {
        RemoveDirectoryA(folder.c_str());
        return std::nullopt;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr, process = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
    THandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &process, SYNCHRONIZE, TRUE, 0))
        return std::nullopt;
    THandle me(process);
    std::string line = "\"" + copy + "\" " + kCopySwitch + std::to_string(reinterpret_cast<std::uintptr_t>(process)) +
                       "," + std::to_string(reinterpret_cast<std::uintptr_t>(writeEnd)) + ",\"" + self + "\" " +
                       commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(copy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, WindowsDirectory().c_str(),
                        &startup, &started)) {
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(folder.c_str());
        return std::nullopt;
    }
    const THandle copyProcess(started.hProcess), copyThread(started.hThread);
    writer.Reset();  // else the pipe never breaks when the copy ends without a word
    me.Reset();
    DWORD code = kNothingRemoved, read = 0;
    if (!ReadFile(reader.Get(), &code, sizeof code, &read, nullptr) || read != sizeof code) code = kNothingRemoved;
    return static_cast<int>(code);
}

void EndCopy(TOriginal& original, int exitCode, bool removeOriginal) {
    const DWORD code = static_cast<DWORD>(exitCode);
    DWORD written = 0;
    WriteFile(original.Pipe.Get(), &code, sizeof code, &written, nullptr);
    original.Pipe.Reset();
    const bool ended = WaitForSingleObject(original.Process.Get(), kOriginalEndMs) == WAIT_OBJECT_0;
    if (removeOriginal && ended)
        RemoveWithoutLinks(original.Path, [&](const std::string& final) { return SamePath(final, original.Path); });
    const std::string self = ModulePath();
    MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA(self.substr(0, self.rfind('\\')).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace quenby
