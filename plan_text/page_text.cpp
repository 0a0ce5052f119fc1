#include "plan_text/page_text.h"

#include "plan_text/plan_text.h"

namespace tarvex {

PageInputWords PageWordsOf(planning::PlanInputId input) {
    using planning::PlanInputId;
    switch (input) {
        case PlanInputId::Longitude:
            return {"Долгота, °", "", "", "35.4615"};
        case PlanInputId::Latitude:
            return {"Широта, °", "", "", "32:48.5"};
        case PlanInputId::Satellites:
            return {"Спутники (" + ShortText(planning::MinFeeds) + "–" +
                        ShortText(planning::MaxFeeds) + "), первый — на который наведена антенна",
                    "", "", ""};
        case PlanInputId::FocalLength:
            return {"Фокус, мм", "По паспорту антенны", "", "600"};
        case PlanInputId::Diameter:
            return {"Диаметр, мм", "Поперёк, по кромке", "", "необязательно"};
        case PlanInputId::Date:
            return {"Дата (для магнитного склонения)", "", "", ""};
        case PlanInputId::Dish:
            return {"Тип", "", "", ""};
        case PlanInputId::Depth:
            return {"Глубина, мм", "Под линейкой в центре", "Наибольшая по высоте", ""};
        case PlanInputId::Width:
            return {"Ширина, мм", "Поперёк зеркала", "", "800"};
        case PlanInputId::Height:
            return {"Высота, мм", "Сверху вниз", "", "883"};
        case PlanInputId::FeedDistance:
            return {"До центра, мм", "От раструба до центра", "", ""};
        case PlanInputId::RimLow:
            return {"До нижней кромки, мм", "От раструба", "", ""};
        case PlanInputId::RimHigh:
            break;
    }
    return {"До верхней кромки, мм", "От раструба", "", ""};
}

}  // namespace tarvex
