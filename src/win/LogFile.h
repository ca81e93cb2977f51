// The plain-text log of /LOG, for Setup and the uninstaller alike: one line per event, each written through to
// the file at once, so that a run stopped anywhere leaves its log up to that point. Runs append to it: each
// opens with a header line and the command line, and closes with the elapsed time and the exit code. Apart
// from Quenby.log, which is the uninstaller's.
#pragma once
#include <cstdint>
#include <string>

#include "win/Handles.h"

namespace quenby {

// The first free "<temp folder>\Quenby <program> Log yyyy-mm-dd #nnn.txt", from 001: where /LOG alone writes.
std::string DatedLogPath(const std::string& program);

class TLogFile {
public:
    // `path` made full and appended to; "": nothing is written. A file that cannot be opened (a missing folder,
    // no access) gives way to DatedLogPath's, whose first line says why; Exception only when neither opens.
    TLogFile(std::string path, const std::string& program, const std::string& commandLine);

    // "<what>: <detail>". A line that cannot be written is lost, not fatal: the run's outcome is the exit
    // code, and a full disk must not turn an installation into a failure.
    void Line(const char* what, const std::string& detail);
    // A line that is a sentence of its own.
    void Line(const std::string& sentence);
    // The elapsed time, then the exit code: the run's last lines.
    void End(int exitCode);

private:
    THandle m_file;
    std::uint64_t m_started = 0;
};

}  // namespace quenby
