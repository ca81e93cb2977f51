#include "Host.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstdlib>
#include <fstream>

#include "Controls.h"
#include "DriveError.h"
#include "Handles.h"
#include "win/RegistryKey.h"

namespace quenby::drive {

namespace {

// Wine's own exports for crossing between its drives and the Linux file system; the results come
// from the process heap.
using TToUnix = char*(CDECL*)(const WCHAR*);
using TToDos = WCHAR*(CDECL*)(const char*);

template <typename TFunction>
TFunction WineExport(const char* name) {
    const auto function = ProcedureOf<TFunction>(GetModuleHandleA("kernel32.dll"), name);
    if (!function) throw std::runtime_error(std::string("not running under Wine: no ") + name);
    return function;
}

std::wstring Widen(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string Narrow(const WCHAR* wide) {
    int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

void SetUserString(const char* path, const char* name, const std::string& value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot open HKEY_CURRENT_USER\\") + path);
    const TRegistryKey key(opened);
    if (RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot set ") + name);
}

// One argument of a Windows command line, as Wine splits it again into the Linux program's arguments.
std::string WindowsQuoted(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else {
            quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

std::string ReadFirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

}  // namespace

std::string UnixPath(const std::string& windowsPath) {
    auto toUnix = WineExport<TToUnix>("wine_get_unix_file_name");
    char* unix = toUnix(Widen(windowsPath).c_str());
    if (!unix) throw std::runtime_error("no Linux path for " + windowsPath);
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::string WindowsPath(const std::string& unixPath) {
    auto toDos = WineExport<TToDos>("wine_get_dos_file_name");
    WCHAR* dos = toDos(unixPath.c_str());
    if (!dos) throw std::runtime_error("no Windows path for " + unixPath);
    std::string result = Narrow(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

void MakeFolders(const std::string& windowsFolder) {
    int result = SHCreateDirectoryExA(nullptr, windowsFolder.c_str(), nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS && result != ERROR_FILE_EXISTS)
        throw std::runtime_error("cannot create folder " + windowsFolder);
}

void StartHostProgram(const std::string& unixProgram, const std::string& arguments, const std::source_location& where) {
    std::string commandLine = unixProgram.substr(unixProgram.find_last_of('/') + 1) + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(unixProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        throw EDriveError("cannot start " + unixProgram + " (error " + std::to_string(GetLastError()) + ")", where);
    THandle process(started.hProcess), thread(started.hThread);
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int RunHost(const std::string& shellCommand, unsigned timeoutMs, const std::source_location& where) {
    static std::atomic<unsigned> count{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string base =
        std::string(temp) + "quenby-host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    std::string script = base + ".sh", status = base + ".status";
    DeleteFileA(status.c_str());
    // The command travels in a file, untouched by command-line quoting; the status file appears whole,
    // by a rename, once the command has ended.
    std::string unixStatus = UnixPath(status);
    {
        std::ofstream file(script, std::ios::binary | std::ios::trunc);
        file << "(" << shellCommand << "\n) </dev/null\necho $? >" << ShellQuoted(unixStatus + ".part") << " && mv "
             << ShellQuoted(unixStatus + ".part") << " " << ShellQuoted(unixStatus) << "\n";
        if (!file.flush()) throw EDriveError("cannot write " + script, where);
    }
    StartHostProgram("/bin/sh", WindowsQuoted(UnixPath(script)), where);
    if (!PollUntil([&] { return GetFileAttributesA(status.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs))
        throw EDriveError("the host command did not end within " + std::to_string(timeoutMs) + " ms: " + shellCommand,
                          where);
    std::string line = ReadFirstLine(status);
    DeleteFileA(status.c_str());
    DeleteFileA(script.c_str());
    return std::atoi(line.c_str());
}

std::string Screenshot(const std::string& windowsFolder, const std::string& fileName, unsigned timeoutMs,
                       const std::source_location& where) {
    MakeFolders(windowsFolder);
    std::string path = windowsFolder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += fileName;
    if (int status = RunHost("import -window root " + ShellQuoted(UnixPath(path)), timeoutMs, where))
        throw EDriveError("import failed (" + std::to_string(status) + ") for " + path, where);
    return path;
}

void ClickAt(int x, int y, const std::source_location& where) {
    if (RunHost("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1", 30000, where))
        throw EDriveError("xdotool could not click", where);
}

void Keys(const std::string& xdotoolCommand, const std::source_location& where) {
    if (RunHost("xdotool " + xdotoolCommand, 30000, where)) throw EDriveError("xdotool " + xdotoolCommand, where);
}

void UseVirtualDesktop(int width, int height) {
    SetUserString("Software\\Wine\\Explorer\\Desktops", "Default",
                  std::to_string(width) + "x" + std::to_string(height));
    SetUserString("Software\\Wine\\Explorer", "Desktop", "Default");
}

bool Is32BitProgram(const std::string& windowsPath) {
    DWORD kind = SCS_64BIT_BINARY;
    return GetBinaryTypeA(windowsPath.c_str(), &kind) && kind == SCS_32BIT_BINARY;
}

double NowMs() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    const THandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

}  // namespace quenby::drive
