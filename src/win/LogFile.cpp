#include "win/LogFile.h"

#include <windows.h>

#include "base/Errors.h"
#include "base/Texts.h"
#include "win/SystemText.h"

namespace quenby {

namespace {

THandle OpenForAppending(const std::string& path) {
    THandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    return file;
}

std::string Full(const std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

std::string Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[32] = {};
    wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
    return text;
}

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

}  // namespace

std::string DatedLogPath(const std::string& program) {
    char temp[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    const std::string folder = length > 0 && length < MAX_PATH ? std::string(temp, length) : std::string(".\\");
    const std::string day = Now().substr(0, 10);
    for (int number = 1; number < 1000; ++number) {
        char suffix[8] = {};
        wsprintfA(suffix, "%03d", number);
        const std::string path = folder + "Quenby " + program + " Log " + day + " #" + suffix + ".txt";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    }
    return folder + "Quenby " + program + " Log " + day + " #999.txt";
}

TLogFile::TLogFile(std::string path, const std::string& program, const std::string& commandLine)
    : m_started(GetTickCount64()) {
    if (path.empty()) return;
    path = Full(path);
    m_file = OpenForAppending(path);
    std::string unwritable;
    if (!m_file) {
        unwritable = LogLine(kLogNotWritten, path + ": " + SystemErrorText(GetLastError()));
        path = DatedLogPath(program);
        m_file = OpenForAppending(path);
        if (!m_file) throw Exception(CannotWriteLogText(path, SystemErrorText(GetLastError())));
    }
    if (!unwritable.empty()) Line(unwritable);
    Line(LogHeaderText(program, Now(), UserName()));
    Line(kLogCommandLine, commandLine);
}

void TLogFile::Line(const char* what, const std::string& detail) { Line(LogLine(what, detail)); }

void TLogFile::Line(const std::string& sentence) {
    if (!m_file) return;
    const std::string line = sentence + "\r\n";
    DWORD written = 0;
    WriteFile(m_file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void TLogFile::End(int exitCode) {
    const std::uint64_t tenths = (GetTickCount64() - m_started + 50) / 100;
    Line(kLogElapsed, std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s");
    Line(kLogExitCode, std::to_string(exitCode));
}

}  // namespace quenby
