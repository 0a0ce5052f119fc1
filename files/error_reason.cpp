#include "files/error_reason.h"

#include <cerrno>
#include <system_error>

namespace tarvex {

std::string FileErrorReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "нет прав доступа";
        case ENOSPC:
            return "на диске нет свободного места";
        case EROFS:
            return "файловая система доступна только для чтения";
        case ENOENT:
            return "нет такого файла или папки";
        case EISDIR:
            return "на месте файла находится папка";
        case EDQUOT:
            return "превышена дисковая квота";
        case EFBIG:
            return "файл превысил допустимый размер";
        case ENOTDIR:
            return "часть пути не является папкой";
        case ENAMETOOLONG:
            return "слишком длинное имя файла";
        case EIO:
            return "ошибка ввода-вывода";
        default:
            return std::generic_category().message(error);
    }
}

}  // namespace tarvex
