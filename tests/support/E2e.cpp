#include "E2e.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "Host.h"

namespace quenby::test {

namespace {

std::string Parent(const std::string& path) {
    std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string BuildDir() {
    const char* dir = std::getenv("QUENBY_BUILD_DIR");
    if (!dir || !*dir) throw std::runtime_error("QUENBY_BUILD_DIR is not set");
    return drive::WindowsPath(dir);
}

std::string SetupExe() { return BuildDir() + "\\Setup.exe"; }

std::string ToolExe(const std::string& name) { return BuildDir() + "\\" + name + ".exe"; }

std::unique_ptr<drive::TDriver> Start(const std::string& program, const std::string& folder) {
    drive::UseVirtualDesktop(1024, 768);  // the runner's Xvfb screen
    return std::make_unique<drive::TDriver>(program, folder);
}

std::string ScreenshotFolder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "outside-tests";
    std::string folder = BuildDir() + "\\screenshots\\" + name;
    drive::MakeFolders(folder);
    return folder;
}

std::string Shot(const std::string& name) { return drive::Screenshot(ScreenshotFolder(), name + ".png"); }

TDistribution::TDistribution(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    m_folder = std::string(temp) + "quenby-" + name + "-" + std::to_string(GetCurrentProcessId());
    drive::MakeFolders(m_folder);
}

TDistribution::~TDistribution() {
    std::string from = m_folder + '\0';  // the list of paths ends with an empty one
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

void TDistribution::Write(const std::string& relativePath, const std::string& contents) const {
    std::string path = m_folder + "\\" + relativePath;
    for (char& c : path)
        if (c == '/') c = '\\';
    drive::MakeFolders(Parent(path));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace quenby::test
