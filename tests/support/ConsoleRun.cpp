#include "ConsoleRun.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "Handles.h"
#include "ScratchFolder.h"

namespace quenby::test {

namespace {

using drive::THandle;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) throw std::runtime_error(std::string(name) + " is not set");
    return value;
}

}  // namespace

std::string WindowsPathOf(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string BuildDir() { return WindowsPathOf(Environment("QUENBY_BUILD_DIR")); }
std::string SourceDir() { return WindowsPathOf(Environment("QUENBY_SOURCE_DIR")); }
std::string SetupBuildDir() { return WindowsPathOf(Environment("QUENBY_SETUP_BUILD_DIR")); }

TConsoleResult RunBuiltProgram(const std::string& program, const std::string& arguments) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    char outputPath[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(temp, "qco", 0, outputPath)) throw std::runtime_error("no temporary file");

    TConsoleResult result;
    {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        THandle output(CreateFileA(outputPath, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output) throw std::runtime_error("cannot create the output file");
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
        PROCESS_INFORMATION process{};
        std::string command = "\"" + BuildDir() + "\\" + program + "\" " + arguments;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
            throw std::runtime_error("cannot start " + command);
        THandle processHandle(process.hProcess);
        THandle threadHandle(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &result.ExitCode);
    }
    result.Output = ReadWholeFile(outputPath);
    DeleteFileA(outputPath);
    return result;
}

}  // namespace quenby::test
