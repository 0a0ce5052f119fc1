#pragma once

#include <QString>
#include <string_view>

#include "plan_window/plan_form.h"
#include "planning/plan.h"

// The installation card: A4 pages in PDF. The first ones hold the plan in words (inputs, results,
// warnings, what the figures mean, the program's version); the ones after hold the feeds' layout
// at 1:1, seen from behind the dish and, mirrored, from in front of it, each with a cross-hair at
// every feed's centre, an up arrow, a cut line and a 100 mm scale bar. A layout larger than a
// sheet is tiled over several, which overlap by marks; a feed too far for the card is named on it.

namespace tarvex {

// Writes the card to `path`; `place`, the site's name where it was chosen by name, goes before
// its coordinates; the job's customer and note under the title. The file is replaced only once the whole card is written: on any
// failure an earlier file stays as it was. Returns an empty text, or what went wrong in the
// installer's words (Russian), naming the file.
//   (a writable path, the default example) -> ""  (two pages: the words, both views)
//   ("/no/such/folder/card.pdf", ...) -> "Не удалось сохранить карточку ..."
QString SaveInstallationCard(const QString& path, const planning::PlanInput& input,
                             const planning::Plan& plan, std::string_view place = {},
                             const JobNotes& notes = {});

}  // namespace tarvex
