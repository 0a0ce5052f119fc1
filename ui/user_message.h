#pragma once

#include <string>

#include "conversions/runtime_error.h"

// What an error box says, in Russian like the rest of the program.

namespace tarvex {

// What happened and what to do, for a file the reason in Russian words (FileErrorReason), then the
// technical message in parentheses.
//   Overflow "Overflow" -> "Слишком большое число: ... Проверьте введённые числа.\n\n(Overflow)"
//   NotAFile "Not a file: /opt/t/rlin1.txt (a folder)" -> "На месте файла ... \n\n(Not a file:
//   ...)"
//   FileWrite "Cannot write /d/rlin1.txt: Permission denied" with EACCES -> "Не удалось записать
//   файл результатов. Причина: нет прав доступа.\n\n(Cannot write ...)"
std::string UserMessage(const RuntimeError& error);

// The box for an allocation that failed: the handler stopped, the program goes on.
std::string OutOfMemoryMessage();

}  // namespace tarvex
