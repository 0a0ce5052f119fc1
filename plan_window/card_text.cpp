#include "plan_window/card_text.h"

#include "plan_window/plan_text.h"

namespace tarvex {
namespace {

std::string Whole(int value) {
    return FixedText(value, 0);
}

}  // namespace

std::string DistanceText(double mm) {
    if (!(mm < 1e9)) {
        return "более 1000 км";
    }
    if (mm < 1e4) {
        return FixedText(mm, 0) + " мм";
    }
    if (mm < 1e7) {
        return FixedText(mm / 1e3, 1) + " м";
    }
    return FixedText(mm / 1e6, 0) + " км";
}

std::string CardPageLabel(int page, int pages) {
    return "лист " + Whole(page) + " из " + Whole(pages);
}

std::string CardTilePlace(int row, int column, int columns) {
    return "ряд " + Whole(row) + ", столбец " + Whole(column) + " из " + Whole(columns);
}

std::string UnplacedFeedText(int number, const planning::FeedPlan& feed) {
    return FeedName(number) + " не поместился на карточку: он в " + DistanceText(feed.distance_mm) +
           " от конвертора 1 (" + OffsetText(feed.right_mm, feed.up_mm) +
           "). Отмерьте это положение от центра конвертора 1.";
}

}  // namespace tarvex
