#pragma once

#include <QString>

#include "planning/plan.h"

// The installation card: a PDF page (A4) with the plan's inputs, results and warnings, and the
// feeds' layout at 1:1 with a 100 mm scale bar, so that the printed card held against the holder
// shows where each feed goes.

namespace tarvex {

// Writes the card to `path`. The file is replaced only once the whole card is written: on any
// failure an earlier file stays as it was. Returns an empty text, or what went wrong in the
// installer's words (Russian), naming the file.
//   (a writable path, the default example) -> ""  (one A4 page)
//   ("/no/such/folder/card.pdf", ...) -> "Не удалось сохранить карточку ..."
QString SaveInstallationCard(const QString& path, const planning::PlanInput& input,
                             const planning::Plan& plan);

}  // namespace tarvex
