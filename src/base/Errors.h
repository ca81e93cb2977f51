// The errors the installer raises. Each carries the text the user sees; the framework's error box
// shows it followed by a full stop.
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace quenby {

// Not a std::runtime_error: its reference-counted message would bring the library's old string code into
// each program (see src/library_errors.cpp).
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

// A fault of the program itself, never of the machine or the user: a broken invariant, or a precondition
// that the standard library checks. It is no Exception, so no handler of the installer's errors takes it.
class EProgramFault : public std::exception {
public:
    explicit EProgramFault(std::string text) : m_text(std::move(text)) {}
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
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
