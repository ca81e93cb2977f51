#include "PrefixFiles.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ScratchFolder.h"

namespace quenby::test {

namespace fs = std::filesystem;

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())).flush())
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFileText(const std::string& path) { return FileExists(path) ? ReadWholeFile(path) : "<missing>"; }

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolder(const std::string& path) {
    std::error_code ignored;  // a folder that cannot be made shows when it is used
    fs::create_directories(path, ignored);
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void CopyTree(const std::string& from, const std::string& to) {
    MakeFolder(to);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
        const std::string target = to + "\\" + fs::relative(entry.path(), from).string();
        if (entry.is_directory())
            MakeFolder(target);
        else if (!CopyFileA(entry.path().string().c_str(), target.c_str(), FALSE))
            throw std::runtime_error("cannot copy " + entry.path().string());
    }
}

}  // namespace quenby::test
