#include "ScratchFolder.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quenby::test {

TScratchFolder::TScratchFolder(const std::string& name) {
    char temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary directory");
    m_path = std::string(temp, length) + name;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
    if (!CreateDirectoryA(m_path.c_str(), nullptr)) throw std::runtime_error("cannot create " + m_path);
}

TScratchFolder::~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TScratchFolder::Write(const std::string& name, const std::string& content) const {
    std::string path = *this / name;
    std::error_code ignored;  // a folder that cannot be made shows as the write failing
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace quenby::test
