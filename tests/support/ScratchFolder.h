// A folder of the test's own in the temporary directory, emptied before use and removed afterwards.
#pragma once
#include <string>

namespace quenby::test {

class TScratchFolder {
public:
    explicit TScratchFolder(const std::string& name);
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    ~TScratchFolder();

    // The folder's Windows path, without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Path() + "\" + name.
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }
    // Writes the bytes exactly (no line-end translation) to a file in the folder, making the sub-folders
    // a name like "disk1\\data\\a.txt" needs; returns its path.
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

// The whole content of a file, or an empty text when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace quenby::test
