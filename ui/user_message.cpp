#include "ui/user_message.h"

#include "files/error_reason.h"

namespace tarvex {
namespace {

const char* Explanation(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::Overflow:
            return "Слишком большое число: расчёт выходит за допустимые пределы. "
                   "Проверьте введённые числа.";
        case ErrorKind::DivisionByZero:
            return "Деление на ноль: при этих данных расчёт невозможен. Проверьте введённые числа.";
        case ErrorKind::InvalidOperation:
            return "Недопустимая операция: при этих данных расчёт невозможен. "
                   "Проверьте введённые числа.";
        case ErrorKind::TypeMismatch:
            return "Текст не читается как число.";
        case ErrorKind::ResultsFileMissing:
            return "Нет файла результатов: сначала нажмите START в главном окне.";
        case ErrorKind::ResultsFileShort:
            return "Файл результатов неполон: нажмите START в главном окне ещё раз.";
        case ErrorKind::ResultsFileInvalid:
            return "Файл результатов испорчен: нажмите START в главном окне ещё раз.";
        case ErrorKind::ResultsFileOutdated:
            return "Файл результатов старше результатов главного окна: последний расчёт не "
                   "удалось в него записать, поэтому направление не нарисовано.";
        case ErrorKind::NotAFile:
            return "На месте файла находится папка или устройство, а не файл: уберите или "
                   "переименуйте его.";
        case ErrorKind::FileRead:
            return "Не удалось прочитать файл.";
        case ErrorKind::FileWrite:
            return "Не удалось записать файл результатов: папка результатов должна быть доступна "
                   "для записи.";
        case ErrorKind::Picture:
            return "Не удалось показать рисунок: файл отсутствует или повреждён.";
        case ErrorKind::DrawingArgument:
            return "Недопустимое значение для рисования.";
    }
    return "Ошибка выполнения.";
}

}  // namespace

std::string UserMessage(const RuntimeError& error) {
    std::string message = Explanation(error.Kind());
    if (error.SystemError() != 0) {
        // The reason replaces the general advice, which a full disk would contradict.
        if (error.Kind() == ErrorKind::FileWrite) {
            message = "Не удалось записать файл результатов.";
        }
        message += " Причина: " + FileErrorReason(error.SystemError()) + ".";
    }
    return message + "\n\n(" + error.what() + ")";
}

std::string OutOfMemoryMessage() {
    return "Не хватает памяти: действие прервано, программа продолжает работу.";
}

}  // namespace tarvex
