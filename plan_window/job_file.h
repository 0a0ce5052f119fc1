#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "plan_window/plan_form.h"
#include "planning/plan_inputs.h"

// A job kept in a file: the plan window's form as one JSON object of the batch keys (one line,
// so that `tarvex-calc plan --batch < job.json` plans the same job), with the customer and a
// note. Free of Qt.

namespace tarvex {

struct Job {
    PlanFormTexts texts{};
    DishWayIndex way = 0;
    JobNotes notes;
};

// In the examples K(X) is input X's batch key, quoted (planning::RowOf(PlanInputId::X).key).
// The job as one line of JSON (with its line end): JobPairs, every value a string, the
// satellites an array of strings.
//   the example, way 0, customer "Иванов" ->
//   {K(Longitude):"35:27.69",K(Latitude):"32:48.5",K(Satellites):["13",
//     "19.2"],K(FocalLength):"600",K(Diameter):"1000",K(Date):"2026-12-07",K(Dish):"prime",
//     K(Customer):"Иванов"}\n
std::string JobJson(const Job& job);

// A job file read back: what JobJson writes, and any line the plan's batch reads (numbers too)
// with the dish's measurements of one way of measuring it (the first of its type that takes
// every measurement given). What the batch would refuse, is refused alike (the problem names
// the key); so are more than 4 satellites, a text past MaxJobTextBytes and measurements no way
// of the type takes together.
//   JobJson(job) -> job;  "[1]" -> {NotAnObject};  {K(Longitude):"35",K(Latitude):"32"} ->
//   {Missing, K(Satellites)}
std::variant<Job, planning::InputProblem> ReadJob(std::string_view text);

// A card's file name for the job: the place (or the site's coordinates), the satellites and
// the date, with nothing a file system refuses (/ \ : * ? " < > | and control characters
// become '_'), ending in ".pdf".
//   ("Тверия", {13, 19.2}, 2026-12-07) -> "Тверия 13E 19.2E 2026-12-07.pdf"
std::string CardFileName(std::string_view place, const planning::PlanInput& input);

}  // namespace tarvex
