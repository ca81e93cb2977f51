#include "RecordArgs.h"

#include <fstream>

#include "ProgmanRecorder.h"

namespace quenby::test {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string UseFreshRecordFile(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string file = std::string(temp) + name;
    DeleteFileA(file.c_str());
    SetEnvironmentVariableA("QUENBY_RECORD_FILE", file.c_str());
    return file;
}

std::vector<std::string> RecordedLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> WaitForRecordedLines(const std::string& file, std::size_t count, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    auto lines = RecordedLines(file);
    while (lines.size() < count && GetTickCount() - start < milliseconds) {
        TProgmanRecorder::Pump(50);
        lines = RecordedLines(file);
    }
    return lines;
}

}  // namespace quenby::test
