// The plain-text log of /LOG: one line per event, each written through to the file at once, so that a
// run stopped anywhere leaves its log up to that point. Apart from Quenby.log, which is the uninstaller's.
#pragma once
#include <string>

#include "win/Handles.h"

namespace quenby {

class TSetupLog {
public:
    // Without a path nothing is written. Raises Exception when the file cannot be made.
    explicit TSetupLog(const std::string& path);

    // "<what>: <detail>". A line that cannot be written is lost, not fatal: the run's outcome is the exit
    // code, and a full disk must not turn an installation into a failure.
    void Line(const char* what, const std::string& detail);
    // A line that is a sentence of its own.
    void Line(const std::string& sentence);

private:
    THandle m_file;
};

}  // namespace quenby
