#include "unattended/SetupLog.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "win/SystemText.h"

namespace quenby {

TSetupLog::TSetupLog(const std::string& path) {
    if (path.empty()) return;
    m_file = THandle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) throw Exception(CannotWriteLogText(path, SystemErrorText(GetLastError())));
}

void TSetupLog::Line(const char* what, const std::string& detail) { Line(LogLine(what, detail)); }

void TSetupLog::Line(const std::string& sentence) {
    if (!m_file) return;
    const std::string line = sentence + "\r\n";
    DWORD written = 0;
    WriteFile(m_file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace quenby
