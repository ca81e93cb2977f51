// Runs one of the project's console programs from a Windows test and collects what it printed.
#pragma once
#include <string>

namespace quenby::test {

struct TConsoleResult {
    unsigned long ExitCode = 0;
    std::string Output;  // stdout and stderr together
};

// `program` is a file of the Windows build folder (QUENBY_BUILD_DIR); `arguments` follow it on the
// command line as they are. Raises std::runtime_error when the program cannot be started.
TConsoleResult RunBuiltProgram(const std::string& program, const std::string& arguments);

// A Linux path from the environment as the test sees it through drive Z:.
std::string WindowsPathOf(const std::string& linuxPath);
// The Windows path of QUENBY_BUILD_DIR / QUENBY_SOURCE_DIR.
std::string BuildDir();
std::string SourceDir();
// The build whose Setup.exe, sample product and planted DLL the test uses (QUENBY_SETUP_BUILD_DIR): ctest
// runs the road and the planting test on the shipped i686 build as well as on the test build.
std::string SetupBuildDir();

}  // namespace quenby::test
