#include "plan_text/page_text.h"

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
    };
    static_assert(std::size(Words) == planning::PlanInputCount);
    return Words[static_cast<std::size_t>(input)];
}

}  // namespace tarvex
