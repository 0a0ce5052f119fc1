#pragma once

#include <string>
#include <vector>

#include "planning/plan.h"
#include "planning/plan_inputs.h"

// The phone page's words for the plan's inputs: short, for a phone held in one hand. The page
// builds its form from the inputs table with these.

namespace tarvex {

struct PageInputWords {
    std::string label;
    std::string hint;         // a line under the field; "" for none
    std::string offset_hint;  // where an offset dish's differs from a prime-focus one's
    std::string placeholder;  // an example shown in the empty field
};

// FocalLength -> {"Фокус, мм", "По паспорту антенны", "", "600"};  Satellites -> {"Спутники
// (2–4), первый — на который наведена антенна", ...}
PageInputWords PageWordsOf(planning::PlanInputId input);

// One feed's card on the phone page, in large type: what to mark on the holder, a line each,
// whole millimetres and tenths of a degree, as read off a ruler and a protractor.
struct FeedCardText {
    std::string title;               // "Конвертор 2"
    std::string satellite;           // "19.2° в.д. Astra 1KR" (the position's first name)
    std::vector<std::string> lines;  // what to mark, in the order of marking
    std::string verdict;  // by the optics, with the loss: "−2.2 дБ: слабее на 2.2 дБ"; "" without
    std::string sun;  // the sun at the satellite's azimuth (SunRow's cell); "" where not given
};

// A feed's offsets and turns; feed 1's card gives the dish's pointing instead of offsets. An
// offset that rounds to 0 mm is left out. The worked example (Tiberias, 13 and 19.2, F 600):
//   feed 1 -> {"Конвертор 1", "13.0° в.д. Hotbird", {"Азимут 217.4° (по компасу 212.3°)",
//     "Угол места 44.8°", "Наклон зеркала 44.8° назад от вертикали", "поворот 30.8° по часовой"}}
//   feed 2 -> {"Конвертор 2", "19.2° в.д. Astra", {"вправо 64 мм", "вниз 37 мм",
//     "от конвертора 1: 74 мм", "поворот 30.2° по часовой", "к центру антенны: 7.0°"}}
// With the optics, feeds 2 to 4 carry their verdict and an axial shift as a line of its own;
// `sun`, where given, is a cell per feed.
std::vector<FeedCardText> FeedCards(const planning::Plan& plan,
                                    const std::vector<std::string>& sun = {});

// What a rotation's number means, said once beside every rotation on the page.
//   -> "разъём вниз = 0°, по часовой"
std::string RotationSenseText();

}  // namespace tarvex
