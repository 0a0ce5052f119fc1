#include "plan_text/plan_text.h"

#include "plan_text/dish_text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "conversions/float_chars.h"
#include "conversions/text.h"
#include "names/satellites.h"

namespace tarvex {
namespace {

using planning::FeedPlan;
using planning::Plan;

std::string IntText(long long value) {
    return float_chars::WholeText(value);
}

double ReadBack(const std::string& text) {
    double value = 0;
    float_chars::FromChars(text.data(), text.data() + text.size(), value);
    return value;
}

// A magnitude with the word of its sign, or the bare magnitude where it rounds to zero.
std::string WithSense(double value, int decimals, const char* unit, const char* positive,
                      const char* negative) {
    const std::string magnitude = FixedText(std::fabs(value), decimals);
    if (ReadBack(magnitude) == 0) {
        return magnitude + unit;
    }
    return magnitude + unit + " " + (value > 0 ? positive : negative);
}

// Characters, not bytes: the texts are Russian UTF-8.
std::size_t Width(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Padded(std::string text, std::size_t width) {
    const std::size_t used = Width(text);
    text.append(used < width ? width - used : 0, ' ');
    return text;
}

// "Спутник 2 (19.2°)", the input as it was given.
std::string SatelliteLabel(int satellite, double degrees) {
    return "Спутник " + IntText(satellite) + " (" + ShortText(degrees) + "°)";
}

constexpr const char* NotApplicable = "—";

std::string FeedSpacing(const Plan& plan, int feed, int other) {
    const FeedPlan& a = plan.feeds.at(static_cast<std::size_t>(feed - 1));
    const FeedPlan& b = plan.feeds.at(static_cast<std::size_t>(other - 1));
    return MillimetresText(std::hypot(a.right_mm - b.right_mm, a.up_mm - b.up_mm));
}

std::string PlaceText(const planning::PlanInput& input, std::string_view place) {
    const std::string site = SiteText(input.site_longitude_deg, input.site_latitude_deg);
    return place.empty() ? site : std::string(place) + " (" + site + ")";
}

// The dish as measured is in DishLines, under the feeds.
std::string InputLine(const planning::PlanInput& input, std::string_view place) {
    return "Место " + PlaceText(input, place) + "; дата " + DateText(input.date);
}

std::string FactorLine(const Plan& plan) {
    return DeclinationLine(plan.declination_deg) + "; коэффициент отклонения луча " +
           FixedText(plan.beam_deviation_factor, 3);
}

}  // namespace

std::string FixedText(double value, int decimals) {
    char text[400];
    auto result =
        float_chars::ToChars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        result = float_chars::ToChars(text, text + sizeof text, value);
    }
    std::string written(text, result.ptr);
    if (!written.empty() && written.front() == '-' &&
        written.find_first_not_of("-0.") == std::string::npos) {
        written.erase(0, 1);
    }
    return written;
}

std::string ShortText(double value) {
    char text[32];
    const auto end = float_chars::ToChars(text, text + sizeof text, value + 0.0).ptr;
    const std::string shortest(text, end);
    // "3e+05" is no way to write what an installer typed as 300000.
    const bool whole = std::fabs(value) < 1e15 && value == std::trunc(value);
    return whole && shortest.find('e') != std::string::npos ? FixedText(value, 0) : shortest;
}

std::string AzimuthText(double degrees) {
    std::string text = FixedText(degrees, 1);
    if (ReadBack(text) >= 360) {
        text = FixedText(degrees - 360, 1);
    }
    return text + "°";
}

std::string DegreesText(double degrees, int decimals) {
    return FixedText(degrees, decimals) + "°";
}

std::string MillimetresText(double millimetres) {
    return FixedText(millimetres, 1) + " мм";
}

std::string FeedName(int feed) {
    return "Конвертор " + IntText(feed);
}

std::string SatelliteText(double degrees) {
    double folded = std::remainder(degrees, 360.0);
    if (FixedText(folded, 1) == "-180.0") {
        folded = 180;
    }
    return WithSense(folded, 1, "°", "в.д.", "з.д.");
}

std::string SiteText(double longitude_deg, double latitude_deg) {
    return WithSense(longitude_deg, 4, "°", "в.д.", "з.д.") + ", " +
           WithSense(latitude_deg, 4, "°", "с.ш.", "ю.ш.");
}

std::string RotationText(double degrees) {
    // Half a turn either way is one position: -90 as written is 90.
    if (FixedText(degrees, 1) == "-90.0") {
        degrees = 90;
    }
    return WithSense(degrees, 1, "°", "по часовой", "против часовой");
}

std::string RotationZeroText() {
    return "Поворот: 0° — разъём конвертора смотрит вниз.";
}

std::string ViewpointText() {
    return "Вид сзади антенны: вправо, вниз и «по часовой» — как видно, стоя за антенной.";
}

std::string SignedMillimetresText(double millimetres, const char* positive, const char* negative) {
    return WithSense(millimetres, 1, " мм", positive, negative);
}

std::string OffsetText(double right_mm, double up_mm) {
    return SignedMillimetresText(right_mm, "вправо", "влево") + ", " +
           SignedMillimetresText(up_mm, "вверх", "вниз");
}

std::string LineText(double right_mm, double up_mm) {
    if (right_mm == 0 && up_mm == 0) {
        return NotApplicable;
    }
    // The angle to the horizontal, 0 to 90, and the two directions it goes.
    const double angle =
        std::atan2(std::fabs(up_mm), std::fabs(right_mm)) * planning::DegreesPerRadian;
    const std::string written = FixedText(angle, 0);
    const char* across = right_mm >= 0 ? "вправо" : "влево";
    const char* along = up_mm >= 0 ? "вверх" : "вниз";
    if (ReadBack(written) == 0) {
        return std::string(across) + ", по горизонтали";
    }
    if (ReadBack(written) == 90) {
        return std::string(along) + ", по вертикали";
    }
    return std::string(across) + " и " + along + ", под " + written + "° к горизонтали";
}

std::string DeclinationText(double degrees) {
    return WithSense(degrees, 1, "°", "к востоку", "к западу");
}

std::string DeclinationLine(double degrees) {
    return "Магнитное склонение " + DeclinationText(degrees);
}

std::string DecibelsText(double decibels) {
    return FixedText(decibels, 1) + " дБ";
}

std::string LossText(double decibels) {
    const std::string magnitude = FixedText(decibels, 1);
    return (ReadBack(magnitude) == 0 ? "" : "−") + magnitude + " дБ";
}

std::string VerdictText(const FeedPlan& feed) {
    switch (planning::VerdictOf(feed)) {
        case planning::BeamVerdict::AsFeedOne:
            return "почти как конвертор 1";
        case planning::BeamVerdict::Weaker:
            return "слабее на " + DecibelsText(feed.loss_db);
        case planning::BeamVerdict::StrongOnly:
            return "слабее на " + DecibelsText(feed.loss_db) +
                   ", только для сильного спутника с запасом";
        case planning::BeamVerdict::SecondDish:
            return "не на этой антенне: нужна вторая антенна";
    }
    return NotApplicable;
}

std::string AxialText(double axial_mm) {
    if (ReadBack(FixedText(axial_mm, 0)) == 0) {
        return "";
    }
    return "на " + FixedText(std::fabs(axial_mm), 0) + " мм " +
           (axial_mm > 0 ? "ближе к зеркалу" : "дальше от зеркала");
}

std::string FocusAdviceText(const planning::PlanWarning& warning, const Plan& plan) {
    const std::size_t satellite = static_cast<std::size_t>(warning.feed.value_or(1) - 1);
    return "Лучше навести антенну на " + SatelliteText(plan.feeds.at(satellite).satellite_deg) +
           ": худший конвертор " + LossText(warning.value) + " вместо " +
           LossText(warning.other_value) + ".";
}

std::string CardFeedText(const FeedPlan& feed, const Plan& plan) {
    std::string text = SatelliteText(feed.satellite_deg);
    for (const names::SatellitePosition& position : names::SatellitePositions()) {
        if (std::fabs(std::remainder(position.longitude_deg - feed.satellite_deg, 360.0)) < 0.05 &&
            !position.names.empty()) {
            text += " " + std::string(position.names.front());
            break;
        }
    }
    if (plan.optics) {
        text += "\n" + LossText(feed.loss_db);
        if (const std::string axial = AxialText(feed.axial_mm);
            !axial.empty() && feed.beam == planning::BeamKind::Clean) {
            text += "\n" + axial;
        }
    }
    return text;
}

std::string DateText(const planning::Date& date) {
    const auto padded = [](int value, std::size_t digits) {
        std::string text = IntText(value);
        text.insert(0, text.size() < digits ? digits - text.size() : 0, '0');
        return text;
    };
    return padded(date.year, 4) + "-" + padded(date.month, 2) + "-" + padded(date.day, 2);
}

std::string WarningText(const planning::PlanWarning& warning, const Plan& plan) {
    const std::string feed = warning.feed ? FeedName(*warning.feed) + ": " : std::string();
    switch (warning.kind) {
        case planning::WarningKind::Collision:
            return feed + "его центр в " +
                   FeedSpacing(plan, warning.feed.value_or(1), warning.other_feed.value_or(1)) +
                   " от центра конвертора " + IntText(warning.other_feed.value_or(1)) +
                   ", меньше " + ShortText(warning.value) +
                   " мм: рядом они не встанут. Возьмите конверторы поуже, моноблок или антенну с "
                   "большим фокусным расстоянием.";
        case planning::WarningKind::LowElevation:
            return feed + "спутник ниже " + ShortText(planning::MinElevationDeg) +
                   "° над горизонтом: сигнал могут закрыть деревья и постройки. Проверьте, что "
                   "в его сторону ничего не мешает.";
        case planning::WarningKind::FarOffAxis:
            return feed + "спутник дальше " + ShortText(planning::MaxOffAxisDeg) +
                   "° от оси антенны: сигнал будет заметно слабее. Наведите антенну на спутник "
                   "посередине или возьмите антенну побольше.";
        case planning::WarningKind::MagneticModelDate:
            return "Дата " + DateText(plan.date) + " вне срока магнитной модели WMM2025 (" +
                   DateText(planning::MagneticModelFirstDay) + " – " +
                   DateText(planning::MagneticModelLastDay) +
                   "): азимуты по компасу приблизительны.";
        case planning::WarningKind::NoDishSize:
        case planning::WarningKind::MeasurementsDisagree:
            return DishIssueText(warning.dish);
        case planning::WarningKind::WeakerBeam:
            return feed + "сигнал слабее, чем у конвертора 1, на " + DecibelsText(warning.value) +
                   ". Наведите антенну на спутник посередине, если можно.";
        case planning::WarningKind::StrongOnlyBeam:
            return feed + "сигнал слабее на " + DecibelsText(warning.value) +
                   ": только для сильного спутника с запасом сигнала. Наведите антенну на "
                   "спутник посередине или проверьте запас по карте покрытия.";
        case planning::WarningKind::SecondDish:
            return feed +
                   "луч разваливается: на этой антенне спутник не принять. Нужна вторая "
                   "антенна.";
        case planning::WarningKind::BetterFocus:
            return FocusAdviceText(warning, plan);
    }
    return feed;
}

std::vector<std::string> WarningLines(const Plan& plan) {
    std::vector<std::string> lines;
    for (const planning::PlanWarning& warning : plan.warnings) {
        lines.push_back(WarningText(warning, plan));
    }
    return lines;
}

std::string RefusalText(const planning::PlanRefusal& refusal) {
    using planning::RefusalKind;
    const std::string satellite = SatelliteLabel(refusal.satellite, refusal.value);
    switch (refusal.kind) {
        case RefusalKind::SatelliteCount:
            return "Нужно от " + IntText(planning::MinFeeds) + " до " +
                   IntText(planning::MaxFeeds) + " спутников, задано " + ShortText(refusal.value) +
                   ".";
        case RefusalKind::SiteLongitude:
            return "Долгота места не число.";
        case RefusalKind::SiteLatitude:
            return std::isnan(refusal.value)
                       ? std::string("Широта места не число.")
                       : "Широта места " + ShortText(refusal.value) + " вне пределов от -90 до 90.";
        case RefusalKind::SatelliteLongitude:
            return "Долгота спутника " + IntText(refusal.satellite) + " не число.";
        case RefusalKind::FocalLength:
            return "Фокусное расстояние должно быть конечным числом больше 0, задано " +
                   ShortText(refusal.value) + ".";
        case RefusalKind::Diameter:
            return "Диаметр антенны должен быть конечным числом больше 0, задано " +
                   ShortText(refusal.value) + ".";
        case RefusalKind::Date:
            return "Даты " + IntText(refusal.date.year) + "-" + IntText(refusal.date.month) + "-" +
                   IntText(refusal.date.day) + " нет в календаре.";
        case RefusalKind::SameSatellite:
            return satellite + " тот же, что спутник " + IntText(refusal.other_satellite) +
                   ": укажите разные спутники.";
        case RefusalKind::BelowHorizon:
            return satellite + " не виден с этого места: он за горизонтом.";
        case RefusalKind::TooFarApart:
            return satellite + " отстоит от спутника 1 на " + FixedText(refusal.separation_deg, 1) +
                   "°: его конвертор у этой антенны не поставить.";
        case RefusalKind::OffsetsTooLarge:
            return "Фокусное расстояние слишком велико: смещения конверторов не числа.";
        case RefusalKind::Dish:
            return DishIssueText(refusal.dish);
        case RefusalKind::Frequency:
            return "Частота должна быть числом от " + ShortText(planning::MinFrequencyGhz) +
                   " до " + ShortText(planning::MaxFrequencyGhz) + " ГГц, задано " +
                   ShortText(refusal.value) + ".";
        case RefusalKind::EdgeTaper:
            return "Спад облучения к кромке должен быть числом больше 0 и не больше " +
                   ShortText(planning::MaxEdgeTaperDb) + " дБ, задано " + ShortText(refusal.value) +
                   ".";
        case RefusalKind::LnbWidth:
            return "Ширина конвертора должна быть конечным числом больше 0, задано " +
                   ShortText(refusal.value) + ".";
    }
    return "Расчёт невозможен.";
}

std::string TypedTextEnglish(std::string_view what, std::string_view text, TextProblem problem) {
    const std::string refused = "not " + std::string(what) + ": ";
    switch (problem) {
        case TextProblem::NotUtf8:
            return refused + "the text is not UTF-8";
        case TextProblem::TooLong:
            return refused + "the text is longer than " +
                   IntText(static_cast<long long>(MaxTypedBytes)) + " bytes";
        case TextProblem::SignWithHemisphere:
            return refused + Quoted(text) + " (a sign and a hemisphere together)";
        case TextProblem::WrongHemisphere:
            return refused + Quoted(text) + " (the other coordinate's hemisphere)";
        case TextProblem::NotANumber:
        case TextProblem::None:
            break;
    }
    return refused + Quoted(text);
}

std::string TextProblemText(TextProblem problem) {
    switch (problem) {
        case TextProblem::NotUtf8:
            return "Текст не в кодировке UTF-8";
        case TextProblem::TooLong:
            return "Текст длиннее " + IntText(static_cast<long long>(MaxTypedBytes)) + " байт";
        case TextProblem::SignWithHemisphere:
            return "Знак и полушарие вместе: оставьте что-то одно";
        case TextProblem::WrongHemisphere:
            return "Полушарие другой координаты";
        case TextProblem::NotANumber:
        case TextProblem::None:
            break;
    }
    return "";
}

std::string ExplanationText() {
    return "Главное окно считает упрощённо, по разностям азимутов и углов места спутников: его "
           "«расстояние между центрами» — только сдвиг вбок, а его поворот — собственный наклон "
           "поляризации спутника 2. Здесь расчёт точный: конверторы стоят по направлениям на "
           "спутники, расстояние — полное, от центра до центра, а поворот — угол каждого "
           "конвертора в плоскости антенны; устанавливайте по этим числам.";
}

std::vector<ReportRow> FeedTable(const Plan& plan) {
    struct Row {
        const char* caption;
        bool relative;  // measured from feed 1: does not apply to feed 1 itself
        std::string (*cell)(const FeedPlan&);
    };
    static const Row rows[] = {
        {"Спутник", false, [](const FeedPlan& f) { return SatelliteText(f.satellite_deg); }},
        {"Азимут истинный", false, [](const FeedPlan& f) { return AzimuthText(f.azimuth_deg); }},
        {"Азимут по компасу", false,
         [](const FeedPlan& f) { return AzimuthText(f.magnetic_azimuth_deg); }},
        {"Угол места", false, [](const FeedPlan& f) { return DegreesText(f.elevation_deg); }},
        {"От оси антенны", false,
         [](const FeedPlan& f) { return DegreesText(f.separation_deg, 2); }},
        {"Поворот", false, [](const FeedPlan& f) { return RotationText(f.rotation_deg); }},
        {"Поворот от конвертора 1", true,
         [](const FeedPlan& f) { return RotationText(f.relative_rotation_deg); }},
        {"Сдвиг по горизонтали", true,
         [](const FeedPlan& f) { return SignedMillimetresText(f.right_mm, "вправо", "влево"); }},
        {"Сдвиг по вертикали", true,
         [](const FeedPlan& f) { return SignedMillimetresText(f.up_mm, "вверх", "вниз"); }},
        {"Расстояние от конвертора 1", true,
         [](const FeedPlan& f) { return MillimetresText(f.distance_mm); }},
        {"Линия от конвертора 1", true,
         [](const FeedPlan& f) { return LineText(f.right_mm, f.up_mm); }},
    };
    // What the optics make of each beam, where they were worked out.
    static const Row beam_rows[] = {
        {"Слабее конвертора 1", true, [](const FeedPlan& f) { return DecibelsText(f.loss_db); }},
        {"Оценка", true, [](const FeedPlan& f) { return VerdictText(f); }},
        {"Вдоль оси", true,
         [](const FeedPlan& f) {
             // A degraded beam has no place worth refining.
             const std::string axial =
                 f.beam == planning::BeamKind::Degraded ? "" : AxialText(f.axial_mm);
             return axial.empty() ? std::string(NotApplicable) : axial;
         }},
    };
    std::vector<ReportRow> table;
    const auto add = [&](const Row& row) {
        ReportRow& shown = table.emplace_back(ReportRow{row.caption, {}});
        for (std::size_t feed = 0; feed < plan.feeds.size(); ++feed) {
            shown.cells.push_back(row.relative && feed == 0 ? NotApplicable
                                                            : row.cell(plan.feeds[feed]));
        }
    };
    for (const Row& row : rows) {
        add(row);
    }
    if (plan.optics) {
        for (const Row& row : beam_rows) {
            add(row);
        }
    }
    return table;
}

std::string SunTimeText(const std::optional<planning::SunTime>& sun, const planning::Date& date) {
    using namespace std::chrono;
    if (!sun) {
        return "сегодня не будет";
    }
    const int offset = sun->utc_offset_seconds.value_or(0);
    const auto shown = round<minutes>(sys_seconds(seconds(sun->unix_seconds + offset)));
    const year_month_day day(floor<days>(shown));
    const hh_mm_ss time(shown - floor<days>(shown));
    const planning::Date shown_date{static_cast<int>(day.year()),
                                    static_cast<int>(static_cast<unsigned>(day.month())),
                                    static_cast<int>(static_cast<unsigned>(day.day()))};
    char clock[8];
    std::snprintf(clock, sizeof clock, "%02d:%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()));
    std::string zone = "UTC";
    if (offset != 0) {
        const int magnitude = std::abs(offset);
        zone += (offset < 0 ? "-" : "+") + IntText(magnitude / 3600);
        char rest[8];
        if (magnitude % 60 != 0) {
            std::snprintf(rest, sizeof rest, ":%02d:%02d", magnitude % 3600 / 60, magnitude % 60);
            zone += rest;
        } else if (magnitude % 3600 != 0) {
            std::snprintf(rest, sizeof rest, ":%02d", magnitude % 3600 / 60);
            zone += rest;
        }
    }
    return (shown_date == date ? "" : DateText(shown_date) + " ") + clock + " " + zone +
           ", высота " + DegreesText(sun->elevation_deg);
}

ReportRow SunRow(const Plan& plan, const std::vector<std::optional<planning::SunTime>>& sun) {
    ReportRow row{"Солнце на азимуте спутника", {}};
    for (std::size_t feed = 0; feed < plan.feeds.size() && feed < sun.size(); ++feed) {
        row.cells.push_back(SunTimeText(sun[feed], plan.date));
    }
    return row;
}

std::string SunHintText() {
    return "Солнце вместо компаса: в это время антенна смотрит в сторону солнца, а тень "
           "вертикального шеста указывает точно от спутника.";
}

std::string PlanText(const planning::PlanInput& input, const Plan& plan,
                     const std::vector<std::optional<planning::SunTime>>& sun,
                     std::string_view place) {
    std::vector<ReportRow> table = FeedTable(plan);
    table.push_back(SunRow(plan, sun));
    ReportRow heading{"", {}};
    for (std::size_t feed = 0; feed < plan.feeds.size(); ++feed) {
        heading.cells.push_back(FeedName(static_cast<int>(feed + 1)));
    }
    table.insert(table.begin(), std::move(heading));
    // Each column as wide as its widest cell, two blanks apart.
    std::size_t caption_width = 0;
    std::vector<std::size_t> widths(plan.feeds.size());
    for (const ReportRow& row : table) {
        caption_width = std::max(caption_width, Width(row.caption));
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            widths[column] = std::max(widths[column], Width(row.cells[column]));
        }
    }
    std::string text =
        "Точный план конверторов; антенна наведена на спутник 1\n" + InputLine(input, place) + "\n";
    for (const ReportRow& row : table) {
        std::string line = Padded(row.caption, caption_width + 2);
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            line += Padded(row.cells[column], widths[column] + 2);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + '\n';
    }
    text += ViewpointText() + "\n" + RotationZeroText() + "\n" + SunHintText() + "\n" +
            FactorLine(plan) + "\n" + DishLines(plan);
    for (const std::string& warning : WarningLines(plan)) {
        text += "Внимание! " + warning + "\n";
    }
    return text;
}

std::vector<std::string> ReportLines(const planning::PlanInput& input, const Plan& plan,
                                     std::string_view place) {
    std::vector<std::string> lines = {
        "Место: " + PlaceText(input, place),
        "Дата " + DateText(input.date) + ". " + DeclinationLine(plan.declination_deg) +
            "; коэффициент отклонения луча " + FixedText(plan.beam_deviation_factor, 3),
        DishMeasurementsLine(input)};
    const std::string dish = DishLines(plan);
    for (std::size_t start = 0; start < dish.size();) {
        const std::size_t end = std::min(dish.find('\n', start), dish.size());
        lines.push_back(dish.substr(start, end - start));
        start = end + 1;
    }
    lines.push_back(ViewpointText());
    lines.push_back(RotationZeroText());
    const std::vector<ReportRow> table = FeedTable(plan);
    for (std::size_t feed = 0; feed < plan.feeds.size(); ++feed) {
        lines.push_back("");
        lines.push_back(FeedName(static_cast<int>(feed + 1)) +
                        (feed == 0 ? " (антенна наведена на его спутник)" : ""));
        for (const ReportRow& row : table) {
            if (row.cells[feed] != NotApplicable) {
                lines.push_back("  " + row.caption + ": " + row.cells[feed]);
            }
        }
    }
    const std::vector<std::string> warnings = WarningLines(plan);
    if (!warnings.empty()) {
        lines.push_back("");
        lines.push_back("Предупреждения:");
        for (const std::string& warning : warnings) {
            lines.push_back("  " + warning);
        }
    }
    return lines;
}

}  // namespace tarvex
