#include "plan_text/page_text.h"

#include <cmath>

#include "names/satellites.h"
#include "plan_text/card_text.h"
#include "plan_text/dish_text.h"
#include "plan_text/plan_text.h"

namespace tarvex {

PageInputWords PageWordsOf(planning::PlanInputId input) {
    using planning::PlanInputId;
    if (input == PlanInputId::Satellites) {
        return {"Спутники (" + ShortText(planning::MinFeeds) + "–" + ShortText(planning::MaxFeeds) +
                    "), первый — на который наведена антенна",
                "", "", ""};
    }
    // In the order of planning::PlanInputs; the satellites' row above.
    static const PageInputWords Words[] = {
        {"Долгота, °", "", "", "35.4615"},
        {"Широта, °", "", "", "32:48.5"},
        {},
        {"Фокус, мм", "По паспорту антенны", "", "600"},
        {"Диаметр, мм", "Поперёк, по кромке", "", "необязательно"},
        {"f/D", "По паспорту антенны, вместо фокуса", "", "например 0.4"},
        {"Дата (для магнитного склонения)", "", "", ""},
        {"Тип", "", "", ""},
        {"Глубина, мм", "Под линейкой в центре", "Наибольшая по высоте", ""},
        {"Ширина, мм", "Поперёк зеркала", "", "800"},
        {"Высота, мм", "Сверху вниз", "", "883"},
        {"До центра, мм", "От раструба до центра", "", ""},
        {"До нижней кромки, мм", "От раструба", "", ""},
        {"До верхней кромки, мм", "От раструба", "", ""},
        {"Частота, ГГц", "Диапазон Ku: 10.7–12.75", "", "11.7"},
        {"Спад к кромке, дБ", "Облучение кромки ниже центра", "", "11"},
        {"Ширина конвертора, мм", "Самое широкое место у раструба", "", "60"},
        {"Оптика", "", "", ""},
        {"Заказчик", "", "", ""},
        {"Заметка", "", "", ""},
    };
    static_assert(std::size(Words) == planning::PlanInputCount);
    return Words[static_cast<std::size_t>(input)];
}

namespace {

// The position's first listed name after its longitude, or the longitude alone off the list.
std::string SatelliteWithName(double degrees) {
    const double folded = std::remainder(degrees, 360.0);
    for (const names::SatellitePosition& position : names::SatellitePositions()) {
        if (std::abs(position.longitude_deg - folded) < 0.05 && !position.names.empty()) {
            return SatelliteText(degrees) + " " + std::string(position.names.front());
        }
    }
    return SatelliteText(degrees);
}

// One offset in whole millimetres with its direction first, as marked: "влево 64 мм"; none when
// it rounds to nothing.
void AddOffset(std::vector<std::string>& lines, double mm, const char* positive,
               const char* negative) {
    const std::string whole = FixedText(std::abs(mm), 0);
    if (whole != "0") {
        lines.push_back(std::string(mm > 0 ? positive : negative) + " " + whole + " мм");
    }
}

}  // namespace

std::vector<FeedCardText> FeedCards(const planning::Plan& plan,
                                    const std::vector<std::string>& sun) {
    std::vector<FeedCardText> cards;
    for (std::size_t k = 0; k < plan.feeds.size(); ++k) {
        const planning::FeedPlan& feed = plan.feeds[k];
        FeedCardText card{
            FeedName(static_cast<int>(k) + 1), SatelliteWithName(feed.satellite_deg), {}, {}, {}};
        if (k == 0) {
            card.lines.push_back("Азимут " + AzimuthText(feed.azimuth_deg) + " (по компасу " +
                                 AzimuthText(feed.magnetic_azimuth_deg) + ")");
            card.lines.push_back("Угол места " + DegreesText(feed.elevation_deg));
            card.lines.push_back("Наклон зеркала " + FaceTiltText(plan.dish.face_tilt_deg));
        } else {
            AddOffset(card.lines, feed.right_mm, "вправо", "влево");
            AddOffset(card.lines, feed.up_mm, "вверх", "вниз");
            card.lines.push_back("от конвертора 1: " + DistanceText(feed.distance_mm));
            if (const std::string axial = AxialText(feed.axial_mm); plan.optics && !axial.empty()) {
                card.lines.push_back(axial);
            }
            if (plan.optics) {
                card.verdict = LossText(feed.loss_db) + ": " + VerdictText(feed);
            }
        }
        if (k < sun.size()) {
            card.sun = sun[k];
        }
        card.lines.push_back("поворот " + RotationText(feed.rotation_deg));
        if (k > 0) {
            card.lines.push_back("к центру антенны: " + DegreesText(feed.aim_deg));
        }
        cards.push_back(std::move(card));
    }
    return cards;
}

std::string RotationSenseText() {
    return "разъём вниз = 0°, по часовой";
}

}  // namespace tarvex
