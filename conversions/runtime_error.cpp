#include "conversions/runtime_error.h"

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
        case ErrorKind::FileRead:
            return "Не удалось прочитать файл.";
        case ErrorKind::FileWrite:
            return "Не удалось записать файл результатов: папка программы должна быть доступна "
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
    return std::string(Explanation(error.Kind())) + "\n\n(" + error.what() + ")";
}

}  // namespace tarvex
