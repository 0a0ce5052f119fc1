#pragma once

#include <string>

#include <vector>

#include "names/site_text.h"
#include "planning/plan_inputs.h"

// The words of a problem with the plan's inputs (planning::InputProblem): English for the error
// lines of `tarvex-calc` (its batch and its options), Russian for the plan window and the phone
// page. The problems themselves are data; nothing reads these texts back.

namespace tarvex {

// In the examples K(X) is input X's batch key, quoted (planning::RowOf(PlanInputId::X).key).
// English, one phrase without a full stop, as `tarvex-calc` has always written them.
//   {UnknownKey, "", 0, "f"} -> "unknown key \"f\"";  {Missing, K(Latitude)} -> "missing
//   K(Latitude)"
//   {NotOfItsKind, K(Longitude)} -> "the value of K(Longitude) is not a number"
//   {NotOfItsKind, K(Satellites), 2} -> "the value of an element of K(Satellites) is not a number"
//   {OutOfRange} -> "a number is out of range"
//   {SatelliteAmbiguous, K(Satellites), 2, "Astra"} -> "an element of K(Satellites): \"Astra\" is
//   more than
//     one position: 19.2E (Astra, Astra 1KR, ...); ...; give one of their names or the longitude"
//   {Refused, ...} -> the refusal in the plan's Russian words (RefusalText)
std::string ProblemInEnglish(const planning::InputProblem& problem);

// Russian, for a line under the input's field.
//   {Missing, K(FocalLength)} -> "Заполните поле";  {Missing, K(Satellites)} -> "Нужно от 2 до 4
//   спутников."
//   {NotOfItsKind, K(Latitude)} -> "Градусы (32.8083), градусы:минуты (32:48.5) или 32°48′30″,
//   можно с
//     с.ш./ю.ш."
//   {SatelliteAmbiguous, K(Satellites), 2, "Astra"} -> "Спутник 2: «Astra» — несколько позиций:
//   19.2° в.д.
//     — Astra, ...; .... Укажите имя точнее или долготу."
//   {Refused, ...} -> RefusalText
std::string ProblemInRussian(const planning::InputProblem& problem);

// Russian, for a job's file that is refused: what is wrong, naming the key where there is one.
//   {NotJson} -> "это не объект JSON в одну строку";  {UnknownKey, "", 0, "f"} -> "неизвестный
//   ключ «f»";  {Missing, K(Latitude)} -> "«" + K(Latitude) + "»: Заполните поле"
std::string JobProblemText(const planning::InputProblem& problem);

// A site pasted from a map that reads more than one way (names::ReadSite), each reading as
// latitude, longitude.
//   {1, 5.2}, {1.5, 2} -> "1, 5.2 or 1.5, 2 (latitude, longitude); write it with points and a
//   comma between them" (English, after the quoted text);  Russian -> "Место читается по-разному:
//   1, 5.2 или 1.5, 2 (широта, долгота). Запишите дроби с точкой, а между числами запятую."
std::string AmbiguousSiteInEnglish(const std::vector<names::SiteCoordinates>& readings);
std::string AmbiguousSiteInRussian(const std::vector<names::SiteCoordinates>& readings);

// What the phone page says beside an input its link gives but the plan does not take.
//   -> "Этот расчёт такое поле пока не учитывает."
std::string IgnoredKeyText();

}  // namespace tarvex
