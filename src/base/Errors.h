// The errors the installer raises. Each carries the text the user sees; the framework's error box
// shows it followed by a full stop.
#pragma once
#include <stdexcept>
#include <string>

namespace quenby {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// What the error box shows for an error: its message and a full stop.
inline std::string ErrorBoxText(const std::exception& error) { return std::string(error.what()) + "."; }

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// A destination the destination page refuses in a box of its own.
class EDestinationRefused : public Exception {
public:
    using Exception::Exception;
};

// A destination whose drive has not the room the installation needs.
class EDiskFull : public EDestinationRefused {
public:
    using EDestinationRefused::EDestinationRefused;
};

// A string list indexed past its end.
class EListError : public Exception {
public:
    EListError() : Exception("List index out of bounds") {}
};

// A text that had to be a whole number and was not.
class EConvertError : public Exception {
public:
    explicit EConvertError(const std::string& text) : Exception("'" + text + "' is not a valid integer value") {}
};

// A text file (a notice) that could not be opened for reading.
class EFOpenError : public Exception {
public:
    explicit EFOpenError(const std::string& path) : Exception("Cannot open file " + path) {}
};

// A source file missing from the medium: caught by the copy step alone, which then asks for the
// next disk. Never shown to the user.
class ENoFile : public Exception {
public:
    ENoFile() : Exception("No File") {}
};

}  // namespace quenby
