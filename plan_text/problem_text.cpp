#include "plan_text/problem_text.h"

#include <span>

#include <cmath>
#include <vector>

#include "conversions/text.h"
#include "names/satellites.h"
#include "plan_text/dish_text.h"
#include "plan_text/plan_text.h"

namespace tarvex {
namespace {

using planning::InputKind;
using planning::InputProblem;
using planning::InputProblemKind;

// "19.2E (Astra, Astra 1KR)"
std::string PositionInEnglish(const names::SatellitePosition& position) {
    std::string text = FixedText(std::fabs(position.longitude_deg), 1);
    text += position.longitude_deg < 0 ? "W (" : "E (";
    for (std::size_t i = 0; i < position.names.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::string(position.names[i]);
    }
    return text + ")";
}

template <typename Entry>
std::string Joined(const std::vector<names::SatellitePosition>& positions, Entry entry) {
    std::string text;
    for (const names::SatellitePosition& position : positions) {
        text += (text.empty() ? "" : "; ") + entry(position);
    }
    return text;
}

std::string SatelliteInEnglish(const InputProblem& problem) {
    const names::SatelliteLookup lookup = names::LookUpSatellite(problem.value);
    const std::string quoted = Quoted(problem.value);
    if (problem.kind == InputProblemKind::SatelliteAmbiguous) {
        return quoted +
               " is more than one position: " + Joined(lookup.candidates, PositionInEnglish) +
               "; give one of their names or the longitude";
    }
    return "not a longitude, and no satellite is named " + quoted +
           (lookup.candidates.empty()
                ? ""
                : "; close: " + Joined(lookup.candidates, PositionInEnglish)) +
           " (tarvex-calc satellites lists them)";
}

// "the value of \"lon\"" or "the value of an element of \"sats\"".
std::string ValueOf(const InputProblem& problem) {
    return "the value of " +
           (problem.element > 0 ? "an element of " + Quoted(problem.key) : Quoted(problem.key));
}

std::string NotOfItsKindInEnglish(const InputProblem& problem) {
    const std::optional<planning::PlanInputId> input = planning::InputOfKey(problem.key);
    const InputKind kind = input ? planning::RowOf(*input).kind : InputKind::Length;
    if (kind == InputKind::Date) {
        return ValueOf(problem) + " is not a date YYYY-MM-DD";
    }
    if (kind == InputKind::Choice || kind == InputKind::Switch) {
        std::string words;
        for (const std::string_view word :
             kind == InputKind::Choice ? std::span<const std::string_view>(planning::DishTypeWords)
                                       : std::span<const std::string_view>(planning::SwitchWords)) {
            words += (words.empty() ? "" : " or ") + Quoted(word);
        }
        return ValueOf(problem) + " is not " + words;
    }
    if (kind == InputKind::Text) {
        return ValueOf(problem) + " is not a string";
    }
    return ValueOf(problem) + " is not a number";
}

constexpr const char* LongitudeExample =
    "Градусы (35.4615), градусы:минуты (35:27.69) или 35°27′41″, можно с в.д./з.д.";
constexpr const char* LatitudeExample =
    "Градусы (32.8083), градусы:минуты (32:48.5) или 32°48′30″, можно с с.ш./ю.ш.";
constexpr const char* LengthExample = "Число миллиметров больше нуля";
constexpr const char* RatioExample = "Число больше нуля, например 0.4";

std::string SatelliteCountText() {
    return "Нужно от " + ShortText(planning::MinFeeds) + " до " + ShortText(planning::MaxFeeds) +
           " спутников.";
}

std::string SatelliteLabel(int element) {
    return "Спутник " + ShortText(element);
}

std::string SatelliteInRussian(const InputProblem& problem) {
    const names::SatelliteLookup lookup = names::LookUpSatellite(problem.value);
    const std::string named = SatelliteLabel(problem.element) + ": «" + problem.value + "» — ";
    if (problem.kind == InputProblemKind::SatelliteAmbiguous) {
        return named + "несколько позиций: " + Joined(lookup.candidates, names::SatelliteEntry) +
               ". Укажите имя точнее или долготу.";
    }
    return named + "не долгота и не имя спутника из списка" +
           (lookup.candidates.empty()
                ? ""
                : "; похожие: " + Joined(lookup.candidates, names::SatelliteEntry)) +
           ".";
}

std::string NotOfItsKindInRussian(const InputProblem& problem) {
    const std::optional<planning::PlanInputId> input = planning::InputOfKey(problem.key);
    switch (input ? planning::RowOf(*input).kind : InputKind::Length) {
        case InputKind::Angle:
        case InputKind::Satellites:
            return LongitudeExample;
        case InputKind::Latitude:
            return LatitudeExample;
        case InputKind::Date:
            return "Дата в виде ГГГГ-ММ-ДД или ДД.ММ.ГГГГ, например 2026-12-07";
        case InputKind::Choice:
            return "Тип антенны: " + std::string(planning::DishTypeWords[0]) + " (" +
                   DishTypeText(planning::DishType::PrimeFocus) + ") или " +
                   std::string(planning::DishTypeWords[1]) + " (" +
                   DishTypeText(planning::DishType::Offset) + ").";
        case InputKind::Ratio:
            return RatioExample;
        case InputKind::Text:
            return "Текст";
        case InputKind::Switch:
            return "Оптика: " + std::string(planning::SwitchWords[1]) + " (включена) или " +
                   std::string(planning::SwitchWords[0]) + " (только формула).";
        case InputKind::Number:
            return "Нужно число, например 11.7";
        case InputKind::Length:
            break;
    }
    return LengthExample;
}

}  // namespace

std::string ProblemInEnglish(const InputProblem& problem) {
    switch (problem.kind) {
        case InputProblemKind::NotJson:
            return "not valid JSON";
        case InputProblemKind::NotAnObject:
            return "not a JSON object";
        case InputProblemKind::UnknownKey:
            return "unknown key " + Quoted(problem.value);
        case InputProblemKind::GivenTwice:
            return "the key " + Quoted(problem.key) + " is given twice";
        case InputProblemKind::Missing:
            return "missing " + Quoted(problem.key);
        case InputProblemKind::NotOfItsKind:
            return NotOfItsKindInEnglish(problem);
        case InputProblemKind::NotAnArray:
            return ValueOf(problem) + " is not an array";
        case InputProblemKind::OutOfRange:
            return problem.key.empty() ? "a number is out of range"
                                       : ValueOf(problem) + " is a number out of range";
        case InputProblemKind::SatelliteUnknown:
        case InputProblemKind::SatelliteAmbiguous:
            return (problem.element > 0 ? "an element of " + Quoted(problem.key) + ": " : "") +
                   SatelliteInEnglish(problem);
        case InputProblemKind::TextRefused:
            return (problem.element > 0 ? "an element of " + Quoted(problem.key) + ": " : "") +
                   TypedTextEnglish(problem.element > 0 ? "a longitude" : "a value", problem.value,
                                    problem.text);
        case InputProblemKind::NotPositive:
            return ValueOf(problem) + " is not a number > 0";
        case InputProblemKind::SatelliteSkipped:
            return "satellite " + ShortText(problem.element) + " is given without satellite " +
                   ShortText(problem.element - 1);
        case InputProblemKind::NulByte:
            return "holds a NUL byte";
        case InputProblemKind::TooLong:
            return "longer than 1 MiB";
        case InputProblemKind::NotAString:
            return ValueOf(problem) + " is not a string";
        case InputProblemKind::Refused:
            break;
    }
    return RefusalText(problem.refusal);
}

std::string ProblemInRussian(const InputProblem& problem) {
    switch (problem.kind) {
        case InputProblemKind::Missing:
            if (problem.key == planning::RowOf(planning::PlanInputId::Satellites).key) {
                return problem.element > 0
                           ? SatelliteLabel(problem.element) + " не задан: укажите долготу или имя."
                           : SatelliteCountText();
            }
            return "Заполните поле";
        case InputProblemKind::NotOfItsKind:
        case InputProblemKind::OutOfRange:
            return NotOfItsKindInRussian(problem);
        case InputProblemKind::NotAnArray:
            return SatelliteCountText();
        case InputProblemKind::SatelliteUnknown:
        case InputProblemKind::SatelliteAmbiguous:
            return SatelliteInRussian(problem);
        case InputProblemKind::TextRefused:
            return (problem.element > 0 ? SatelliteLabel(problem.element) + ": " : "") +
                   TextProblemText(problem.text) + ".";
        case InputProblemKind::NotPositive:
            return NotOfItsKindInRussian(problem);
        case InputProblemKind::SatelliteSkipped:
            return "Сначала заполните спутник " + ShortText(problem.element - 1);
        case InputProblemKind::UnknownKey:
            return IgnoredKeyText();
        case InputProblemKind::GivenTwice:
            return "Поле задано дважды.";
        case InputProblemKind::NotJson:
        case InputProblemKind::NotAnObject:
        case InputProblemKind::NulByte:
        case InputProblemKind::TooLong:
        case InputProblemKind::NotAString:
            return "Входные данные не прочитать.";
        case InputProblemKind::Refused:
            break;
    }
    return RefusalText(problem.refusal);
}

std::string JobProblemText(const InputProblem& problem) {
    switch (problem.kind) {
        case InputProblemKind::NotJson:
        case InputProblemKind::NotAnObject:
        case InputProblemKind::NulByte:
        case InputProblemKind::TooLong:
            return "это не объект JSON в одну строку";
        case InputProblemKind::UnknownKey:
            return "неизвестный ключ «" + problem.value + "»";
        default:
            break;
    }
    return (problem.key.empty() ? "" : "«" + problem.key + "»: ") + ProblemInRussian(problem);
}

namespace {

std::string Readings(const std::vector<names::SiteCoordinates>& readings, const char* separator) {
    std::string ways;
    for (const names::SiteCoordinates& site : readings) {
        ways += (ways.empty() ? "" : separator) + ShortText(site.latitude_deg) + ", " +
                ShortText(site.longitude_deg);
    }
    return ways;
}

}  // namespace

std::string AmbiguousSiteInEnglish(const std::vector<names::SiteCoordinates>& readings) {
    return Readings(readings, " or ") +
           " (latitude, longitude); write it with points and a comma between them";
}

std::string AmbiguousSiteInRussian(const std::vector<names::SiteCoordinates>& readings) {
    return "Место читается по-разному: " + Readings(readings, " или ") +
           " (широта, долгота). Запишите дроби с точкой, а между числами запятую.";
}

std::string IgnoredKeyText() {
    return "Этот расчёт такое поле пока не учитывает.";
}

}  // namespace tarvex
