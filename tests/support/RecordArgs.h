// Helpers around the record_args tool: where it lies and what its started copies recorded.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace quenby::test {

// The folder of the running test program, with a trailing backslash; the tools are built beside it.
std::string ProgramFolder();
// A fresh record file named in QUENBY_RECORD_FILE, which started copies of record_args inherit.
std::string UseFreshRecordFile(const std::string& name);
// The recorded lines ("<program path>|<arguments>"); empty when the file does not exist.
std::vector<std::string> RecordedLines(const std::string& file);
// Waits (processing messages) until the file holds at least `count` lines or the time is up.
std::vector<std::string> WaitForRecordedLines(const std::string& file, std::size_t count, DWORD milliseconds);

}  // namespace quenby::test
