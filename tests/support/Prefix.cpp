#include "Prefix.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <tlhelp32.h>

#include "Controls.h"
#include "Handles.h"
#include "Host.h"
#include "win/profile.h"

namespace quenby::test {

namespace {

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) throw std::runtime_error(std::string(name) + " is not set");
    return drive::WindowsPath(value);
}

}  // namespace

std::string BuildDir() { return FromEnvironment("QUENBY_BUILD_DIR"); }
std::string SourceDir() { return FromEnvironment("QUENBY_SOURCE_DIR"); }
std::string SetupBuildDir() { return FromEnvironment("QUENBY_SETUP_BUILD_DIR"); }

std::string WindowsDir() {
    char folder[MAX_PATH] = {};
    return std::string(folder, GetWindowsDirectoryA(folder, MAX_PATH));
}

TScratchFolder::TScratchFolder(const std::string& name) {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary directory");
    m_path = std::string(temp, length) + name;
    RemoveTree(m_path);
    if (!CreateDirectoryA(m_path.c_str(), nullptr)) throw std::runtime_error("cannot create " + m_path);
}

TScratchFolder::~TScratchFolder() { RemoveTree(m_path); }

std::string TScratchFolder::Write(const std::string& name, const std::string& content) const {
    const std::string path = *this / name;
    std::error_code ignored;  // a folder that cannot be made shows as the write failing
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(content.data(), static_cast<std::streamsize>(content.size())).flush())
        throw std::runtime_error("cannot write " + path);
    return path;
}

::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string RegText(HKEY root, const std::string& path, const std::string& name, REGSAM view) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &raw) != ERROR_SUCCESS) return "<no key>";
    const TRegistryKey key(raw);
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    if (RegQueryValueExA(raw, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return "<missing>";
    return type == REG_SZ ? std::string(buffer) : "<not text>";
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view) { return RegText(root, path, "", view) != "<no key>"; }

void WaitNoProcess(const char* exeName, DWORD timeoutMs) {
    drive::WaitUntil(
        [&] {
            const THandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
            PROCESSENTRY32 entry{sizeof entry};
            for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
                if (lstrcmpiA(entry.szExeFile, exeName) == 0) return false;
            return true;
        },
        timeoutMs, std::string("no ") + exeName + " running");
}

}  // namespace quenby::test
