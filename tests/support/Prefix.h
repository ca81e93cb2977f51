// The test prefix as tests see it: the build and source folders, scratch folders, files and registry
// values read directly, past the code under test.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

namespace quenby::test {

std::string BuildDir();   // QUENBY_BUILD_DIR through drive Z:
std::string SourceDir();  // QUENBY_SOURCE_DIR through drive Z:
// The build whose Setup.exe, sample product and planted DLL the test uses (QUENBY_SETUP_BUILD_DIR): ctest
// runs the road and the planting test on the shipped i686 build as well as on the test build.
std::string SetupBuildDir();
std::string WindowsDir();  // the prefix's, as GetWindowsDirectoryA gives it

// A folder of the test's own in the temporary directory, emptied before use and removed afterwards.
class TScratchFolder {
public:
    explicit TScratchFolder(const std::string& name);
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    ~TScratchFolder();

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }
    // Writes the bytes exactly into the folder (sub-folders made as needed); returns the file's path.
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);  // a file or a folder
// Whether `text` (a log, a box's text) holds `part`; a failure shows the whole text.
::testing::AssertionResult Holds(const std::string& text, const std::string& part);
bool IsFolder(const std::string& path);
void RemoveTree(const std::string& path);
// The text of a REG_SZ value; "<no key>", "<missing>" or "<not text>" otherwise. `view`: KEY_WOW64_32KEY
// or KEY_WOW64_64KEY to read that view of HKLM\SOFTWARE, 0 this process's own.
std::string RegText(HKEY root, const std::string& path, const std::string& name, REGSAM view = 0);
bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0);
// Waits until no process of this program file name (e.g. "cmd.exe") runs in the prefix.
void WaitNoProcess(const char* exeName, DWORD timeoutMs);

}  // namespace quenby::test
