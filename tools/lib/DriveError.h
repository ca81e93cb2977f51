// The driver's one error: what did not happen, and at which line of the caller, so that a failing
// end-to-end test points at its own line rather than into the driver.
#pragma once
#include <source_location>
#include <stdexcept>
#include <string>

namespace quenby::drive {

class EDriveError : public std::runtime_error {
public:
    EDriveError(const std::string& what, const std::source_location& where)
        : std::runtime_error(std::string(where.file_name()) + ":" + std::to_string(where.line()) + ": " + what) {}
};

}  // namespace quenby::drive
