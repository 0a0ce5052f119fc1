#pragma once

#include <string>

#include "conversions/runtime_error.h"

// What an error box says, in Russian like the rest of the program.

namespace tarvex {

// What happened and what to do, then the technical message in parentheses.
//   Overflow "Overflow" -> "Слишком большое число: ... Проверьте введённые числа.\n\n(Overflow)"
//   NotAFile "Not a file: /opt/t/rlin1.txt (a folder)" -> "На месте файла ... \n\n(Not a file:
//   ...)"
std::string UserMessage(const RuntimeError& error);

// The box for an allocation that failed: the handler stopped, the program goes on.
std::string OutOfMemoryMessage();

}  // namespace tarvex
