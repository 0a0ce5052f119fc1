#include "plan_text/card_text.h"

#include "plan_text/plan_text.h"

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

std::vector<std::string> CardJobLines(std::string_view customer, std::string_view note) {
    std::vector<std::string> lines;
    if (!customer.empty()) {
        lines.push_back("Заказчик: " + std::string(customer));
    }
    if (!note.empty()) {
        lines.push_back("Заметка: " + std::string(note));
    }
    return lines;
}

std::string CardTitle() {
    return "Карточка установки мультифида";
}

std::string CardMadeBy(std::string_view version) {
    return "Составлена программой Tarvex " + std::string(version) + ".";
}

std::string CardHowToUse() {
    return "Дальше конверторы в натуральную величину: сначала вид сзади на антенну (стоя за ней, "
           "лицом к спутникам), затем его зеркальная копия, вид спереди (стоя перед антенной, "
           "лицом к ней). Печатайте в масштабе 100 %: шкала под каждой раскладкой должна быть "
           "длиной 100 мм. Вырежьте раскладку по пунктиру ✂ и приложите к держателю стрелкой "
           "«ВЕРХ» вверх; перекрестие — центр конвертора, черта через круг — поворот конвертора.";
}

std::string CardTilingNote(int sheets, int rows, int columns, double overlap_mm) {
    return "Раскладка не помещается на один лист: листов на каждый вид — " + Whole(sheets) +
           " (рядов: " + Whole(rows) + ", столбцов: " + Whole(columns) +
           "). Листы перекрываются не меньше чем на " + FixedText(overlap_mm, 0) +
           " мм: совместите край каждого листа с пунктиром «край листа …» на соседнем.";
}

std::string CardUpWord() {
    return "ВЕРХ";
}

std::string CardViewTitle(bool from_front) {
    return from_front ? "Вид спереди (зеркально): стоя перед антенной, лицом к ней"
                      : "Вид сзади на антенну: стоя за ней, лицом к спутникам";
}

std::vector<std::string> CardSheetNotes(int row, int column, int columns, int rows,
                                        const std::vector<int>& unplaced_feeds) {
    std::vector<std::string> notes;
    if (rows * columns > 1) {
        notes.push_back(CardTilePlace(row, column, columns) + " (рядов: " + Whole(rows) + ")");
    }
    notes.push_back("в натуральную величину, мм от центра конвертора 1");
    if (!unplaced_feeds.empty()) {
        std::string feeds;
        for (const int feed : unplaced_feeds) {
            feeds += (feeds.empty() ? "" : ", ") + Whole(feed);
        }
        notes.push_back("не поместились: конвертор " + feeds + " — см. лист 1");
    }
    return notes;
}

std::string CardFoot(std::string_view version, double longitude_deg, double latitude_deg,
                     const std::vector<double>& satellites_deg) {
    std::string satellites;
    for (const double satellite : satellites_deg) {
        satellites += (satellites.empty() ? "" : ", ") + SatelliteText(satellite);
    }
    return "Tarvex " + std::string(version) + " · долгота " + FixedText(longitude_deg, 4) +
           "°, широта " + FixedText(latitude_deg, 4) + "° · спутники " + satellites;
}

std::string SheetEdgeText(int sheet) {
    return "край листа " + Whole(sheet);
}

std::string ScaleBarText() {
    return "100 мм: проверьте масштаб печати";
}

}  // namespace tarvex
