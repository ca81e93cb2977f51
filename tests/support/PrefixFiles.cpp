#include "PrefixFiles.h"

#include <windows.h>

#include <memory>
#include <stdexcept>

namespace quenby::test {

namespace {

class THandle {
public:
    explicit THandle(HANDLE handle) : m_handle(handle) {}
    ~THandle() {
        if (m_handle != INVALID_HANDLE_VALUE && m_handle) CloseHandle(m_handle);
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace

void WriteFileText(const std::string& path, const std::string& text) {
    THandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFileText(const std::string& path) {
    THandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid()) return "<missing>";
    std::string text;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolder(const std::string& path) {
    const auto cut = path.find_last_of('\\');
    if (cut != std::string::npos && cut > 2) MakeFolder(path.substr(0, cut));
    if (!IsFolder(path)) CreateDirectoryA(path.c_str(), nullptr);
}

void RemoveTree(const std::string& path) {
    if (!IsFolder(path)) {
        DeleteFileA(path.c_str());
        return;
    }
    {
        WIN32_FIND_DATAA found;
        const std::unique_ptr<void, decltype(&FindClose)> search(FindFirstFileA((path + "\\*").c_str(), &found),
                                                                 &FindClose);
        if (search.get() != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name != "." && name != "..") RemoveTree(path + "\\" + name);
            } while (FindNextFileA(search.get(), &found));
        }
    }
    RemoveDirectoryA(path.c_str());
}

void CopyTree(const std::string& from, const std::string& to) {
    MakeFolder(to);
    WIN32_FIND_DATAA found;
    const std::unique_ptr<void, decltype(&FindClose)> search(FindFirstFileA((from + "\\*").c_str(), &found),
                                                             &FindClose);
    if (search.get() == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else if (!CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + from + "\\" + name);
    } while (FindNextFileA(search.get(), &found));
}

}  // namespace quenby::test
