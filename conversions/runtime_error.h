#pragma once

#include <stdexcept>
#include <string>

namespace tarvex {

// What went wrong, so that the message box can say it in the installer's words.
enum class ErrorKind {
    Overflow,  // a number beyond the range of its type
    DivisionByZero,
    InvalidOperation,     // a result that is not a number, e.g. the root of a negative value
    TypeMismatch,         // a text that must be a number and is not
    ResultsFileMissing,   // the direction window finds no results file
    ResultsFileShort,     // the results file ends before its second field
    ResultsFileInvalid,   // the results file is too large or holds a number out of range
    ResultsFileOutdated,  // the last START could not write its results into the file
    NotAFile,             // a folder, a device or a FIFO where a file belongs
    FileRead,
    FileWrite,
    Picture,          // an illustration bitmap missing, unreadable or damaged
    DrawingArgument,  // a drawing call outside its range
};

// The single failure path of the program: a conversion that fails, arithmetic that divides by
// zero or overflows, a file that cannot be read or written. It is thrown where the fault happens
// and caught at one boundary per handler. what() names the fault in technical terms (the
// command-line calculator prints it as it is); the windows say it in the installer's words.
class RuntimeError : public std::runtime_error {
  public:
    // `system_error`: the errno of a file that failed, so that the windows can give its reason in
    // the installer's words; 0 for none.
    RuntimeError(ErrorKind kind, const std::string& message, int system_error = 0)
        : std::runtime_error(message), m_kind(kind), m_system_error(system_error) {}

    ErrorKind Kind() const { return m_kind; }
    int SystemError() const { return m_system_error; }

  private:
    ErrorKind m_kind;
    int m_system_error;
};

}  // namespace tarvex
