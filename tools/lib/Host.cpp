#include "Host.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "DriveError.h"
#include "Handles.h"

namespace quenby::drive {

namespace {

// Wine's own exports for crossing between its drives and the Linux file system; the results come
// from the process heap.
using TToUnix = char*(CDECL*)(const WCHAR*);
using TToDos = WCHAR*(CDECL*)(const char*);

template <typename TFunction>
TFunction WineExport(const char* name) {
    FARPROC function = GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
    if (!function) throw std::runtime_error(std::string("not running under Wine: no ") + name);
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(function));
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

constexpr DWORD kClickMs = 300;

struct TKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using TKey = std::unique_ptr<std::remove_pointer_t<HKEY>, TKeyCloser>;

void SetUserString(const char* path, const char* name, const std::string& value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot open HKEY_CURRENT_USER\\") + path);
    TKey key(opened);
    if (RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot set ") + name);
}

// import writes the file in place; it is done when the PNG's closing chunk is there.
bool CompletePng(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    static const char kEnd[] = "IEND\xAE\x42\x60\x82";
    return bytes.size() > 16 && std::memcmp(bytes.data() + bytes.size() - 8, kEnd, 8) == 0;
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

void StartHostProgram(const std::string& unixProgram, const std::string& arguments,
                      const std::source_location& where) {
    std::string commandLine = unixProgram.substr(unixProgram.find_last_of('/') + 1) + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(unixProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        throw EDriveError("cannot start " + unixProgram + " (error " + std::to_string(GetLastError()) + ")", where);
    THandle process(started.hProcess), thread(started.hThread);
}

std::string Screenshot(const std::string& windowsFolder, const std::string& fileName, unsigned timeoutMs,
                       const std::source_location& where) {
    MakeFolders(windowsFolder);
    std::string path = windowsFolder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += fileName;
    DeleteFileA(path.c_str());
    StartHostProgram("/usr/bin/import", "-window root \"" + UnixPath(path) + "\"", where);
    ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!CompletePng(path)) {
        if (GetTickCount64() >= end) throw EDriveError("no complete screenshot " + path, where);
        Sleep(50);
    }
    return path;
}

void ClickAt(int x, int y, const std::source_location& where) {
    StartHostProgram("/usr/bin/xdotool",
                     "mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1", where);
    // xdotool cannot be waited for: give it the time it takes.
    Sleep(kClickMs);
}

void Keys(const std::string& xdotoolCommand, const std::source_location& where) {
    StartHostProgram("/usr/bin/xdotool", xdotoolCommand, where);
    Sleep(kClickMs + 20 * static_cast<DWORD>(xdotoolCommand.size()));
}

void UseVirtualDesktop(int width, int height) {
    SetUserString("Software\\Wine\\Explorer\\Desktops", "Default",
                  std::to_string(width) + "x" + std::to_string(height));
    SetUserString("Software\\Wine\\Explorer", "Desktop", "Default");
}

}  // namespace quenby::drive
