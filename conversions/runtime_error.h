#pragma once

#include <stdexcept>
#include <string>

namespace tarvex {

// The single failure path of the program: a conversion that fails, arithmetic that divides by
// zero or overflows, a file that cannot be read or written. It is thrown where the fault happens
// and caught at one boundary per handler, which shows what() to the user.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tarvex
