#include "E2e.h"

#include <gtest/gtest.h>

#include "ConsoleRun.h"
#include "Host.h"

namespace quenby::test {

std::string SetupExe() { return SetupBuildDir() + "\\Setup.exe"; }

REGSAM SetupView() { return drive::Is32BitProgram(SetupExe()) ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

std::string ToolExe(const std::string& name) { return BuildDir() + "\\" + name + ".exe"; }

std::unique_ptr<drive::TDriver> Start(const std::string& program, const std::string& folder) {
    drive::UseVirtualDesktop(1024, 768);  // the runner's Xvfb screen
    return std::make_unique<drive::TDriver>(program, folder);
}

std::string ScreenshotFolder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "outside-tests";
    for (char& c : name)
        if (c == '/') c = '-';  // parameterised tests
    std::string folder = SetupBuildDir() + "\\screenshots\\" + name;
    drive::MakeFolders(folder);
    return folder;
}

std::string Shot(const std::string& name) { return drive::Screenshot(ScreenshotFolder(), name + ".png"); }

}  // namespace quenby::test
