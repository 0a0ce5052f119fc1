#include "plan_window/plan_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tarvex {
namespace {

// One decimal, never "-0.0", and a point whatever the process's locale (Qt sets it from LANG).
std::string Fixed(double value, int decimals = 1) {
    char buffer[400];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals)
            .ptr;
    std::string text(buffer, end);
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') {
        text.erase(0, 1);
    }
    return text;
}

std::string Degrees(double value) {
    return Fixed(value) + "°";
}

std::string Millimetres(double value) {
    return Fixed(value) + " мм";
}

std::string FeedName(int feed) {
    return "Облучатель " + std::to_string(feed);
}

double RoundOut(double value, bool up) {
    return (up ? std::ceil(value / 10) : std::floor(value / 10)) * 10;
}

std::string DateText(const planning::Date& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}

}  // namespace

std::string RotationText(double degrees) {
    const std::string amount = Degrees(std::abs(degrees));
    if (amount == "0.0°") {
        return amount;
    }
    return amount + (degrees > 0 ? " по часовой стрелке" : " против часовой стрелки") +
           ", если смотреть сзади на антенну";
}

std::string OffsetText(double right_mm, double up_mm) {
    const auto part = [](double value, const char* positive, const char* negative) {
        const std::string amount = Millimetres(std::abs(value));
        return amount == "0.0 мм" ? amount : amount + " " + (value > 0 ? positive : negative);
    };
    return part(right_mm, "вправо", "влево") + ", " + part(up_mm, "вверх", "вниз");
}

std::string SatelliteText(double degrees) {
    const std::string amount = Degrees(std::abs(degrees));
    return amount == "0.0°" ? amount : amount + (degrees > 0 ? " в.д." : " з.д.");
}

std::vector<ReportRow> FeedTable(const planning::Plan& plan) {
    std::vector<ReportRow> rows = {{"Спутник", {}},
                                   {"Азимут истинный", {}},
                                   {"Азимут магнитный", {}},
                                   {"Угол места", {}},
                                   {"Поворот облучателя", {}},
                                   {"Поворот относительно облучателя 1", {}},
                                   {"Смещение от облучателя 1", {}},
                                   {"Расстояние между центрами", {}},
                                   {"Наклон линии от облучателя 1", {}}};
    for (std::size_t index = 0; index < plan.feeds.size(); ++index) {
        const planning::FeedPlan& feed = plan.feeds[index];
        const bool first = index == 0;
        const std::string cells[] = {SatelliteText(feed.satellite_deg),
                                     Degrees(feed.azimuth_deg),
                                     Degrees(feed.magnetic_azimuth_deg),
                                     Degrees(feed.elevation_deg),
                                     RotationText(feed.rotation_deg),
                                     first ? "" : RotationText(feed.relative_rotation_deg),
                                     first ? "" : OffsetText(feed.right_mm, feed.up_mm),
                                     first ? "" : Millimetres(feed.distance_mm),
                                     first ? "" : Degrees(feed.tilt_deg)};
        for (std::size_t row = 0; row < rows.size(); ++row) {
            rows[row].cells.push_back(cells[row]);
        }
    }
    return rows;
}

std::vector<std::string> WarningLines(const planning::Plan& plan) {
    std::vector<std::string> lines;
    for (const planning::PlanWarning& warning : plan.warnings) {
        lines.push_back(warning.feed ? FeedName(*warning.feed) + ": " + warning.message
                                     : warning.message);
    }
    return lines;
}

std::vector<std::string> ReportLines(const planning::PlanInput& input, const planning::Plan& plan) {
    std::vector<std::string> lines = {
        "Место: долгота " + Fixed(input.site_longitude_deg, 4) + "°, широта " +
            Fixed(input.site_latitude_deg, 4) + "°",
        "Фокусное расстояние " + Millimetres(plan.dish.focal_length_mm) +
            (input.diameter_mm ? ", диаметр антенны " + Millimetres(*input.diameter_mm) : "") +
            ", коэффициент отклонения луча " + Fixed(plan.beam_deviation_factor, 3),
        "Дата " + DateText(input.date) + ", магнитное склонение " + Degrees(plan.declination_deg)};
    const std::vector<ReportRow> table = FeedTable(plan);
    for (std::size_t feed = 0; feed < plan.feeds.size(); ++feed) {
        lines.push_back("");
        lines.push_back(FeedName(static_cast<int>(feed) + 1) +
                        (feed == 0 ? " (антенна наведена на его спутник)" : ""));
        for (const ReportRow& row : table) {
            if (!row.cells[feed].empty()) {
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

LayoutBounds FeedLayoutBounds(const planning::Plan& plan, const std::optional<FeedPosition>& marker,
                              bool centred) {
    constexpr double Margin = FeedDiameterMm / 2 + 5;
    std::vector<FeedPosition> positions;
    for (const planning::FeedPlan& feed : plan.feeds) {
        positions.push_back({feed.right_mm, feed.up_mm});
    }
    if (marker) {
        positions.push_back(*marker);
    }
    LayoutBounds bounds{-Margin, Margin, -Margin, Margin};
    for (const FeedPosition& position : positions) {
        bounds.left = std::min(bounds.left, position.right_mm - Margin);
        bounds.right = std::max(bounds.right, position.right_mm + Margin);
        bounds.bottom = std::min(bounds.bottom, position.up_mm - Margin);
        bounds.top = std::max(bounds.top, position.up_mm + Margin);
    }
    if (centred) {
        const double half = std::max({-bounds.left, bounds.right, -bounds.bottom, bounds.top});
        bounds = {-half, half, -half, half};
    }
    return {RoundOut(bounds.left, false), RoundOut(bounds.right, true),
            RoundOut(bounds.bottom, false), RoundOut(bounds.top, true)};
}

}  // namespace tarvex
