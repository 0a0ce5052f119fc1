#pragma once

#include <string>

// Why a file could not be read or written, in the installer's words.

namespace tarvex {

// The reason for a system error code (errno), in Russian: the common ones in words of the
// program's own, any other one in the system's text.
//   EACCES -> "нет прав доступа";  ENOSPC -> "на диске нет свободного места"
std::string FileErrorReason(int error);

}  // namespace tarvex
