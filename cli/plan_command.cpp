#include "cli/plan_command.h"

#include <array>
#include <charconv>
#include <cmath>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>

#include "conversions/float_chars.h"

namespace tarvex {
namespace {

using Json = nlohmann::ordered_json;
using planning::FeedPlan;
using planning::Plan;

// ---- JSON ----

Json FeedJson(const FeedPlan& feed) {
    return {{"sat", feed.satellite_deg},
            {"azimuth_deg", feed.azimuth_deg},
            {"magnetic_azimuth_deg", feed.magnetic_azimuth_deg},
            {"elevation_deg", feed.elevation_deg},
            {"separation_deg", feed.separation_deg},
            {"right_mm", feed.right_mm},
            {"up_mm", feed.up_mm},
            {"distance_mm", feed.distance_mm},
            {"tilt_deg", feed.tilt_deg},
            {"rotation_deg", feed.rotation_deg},
            {"relative_rotation_deg", feed.relative_rotation_deg}};
}

Json WarningJson(const planning::PlanWarning& warning) {
    Json json = Json::object();
    json["code"] = warning.code;
    if (warning.feed) {
        json["feed"] = *warning.feed;
    }
    json["message"] = warning.message;
    return json;
}

// ---- Text ----

constexpr std::size_t LabelWidth = 24;
constexpr std::size_t ColumnWidth = 22;

// Characters, not bytes: the table is Russian UTF-8.
std::size_t Width(std::string_view text) {
    std::size_t width = 0;
    for (const char c : text) {
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return width;
}

std::string Padded(std::string text, std::size_t width) {
    const std::size_t used = Width(text);
    text.append(used < width ? width - used : 1, ' ');
    return text;
}

// Fixed decimals, whatever the process's locale; no "-0.0".
std::string Fixed(double value, int decimals) {
    char text[64];
    const double rounding = std::pow(10.0, decimals);
    if (std::round(std::fabs(value) * rounding) == 0) {
        value = 0;
    }
    const std::to_chars_result written =
        float_chars::ToChars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, written.ptr);
}

std::string Degrees(double value, int decimals = 1) {
    return Fixed(value, decimals) + "°";
}

// A magnitude with the word for its sign, or a plain 0.
std::string Signed(double value, int decimals, const char* unit, const char* positive,
                   const char* negative) {
    const std::string magnitude = Fixed(std::fabs(value), decimals);
    if (Fixed(value, decimals) == Fixed(0, decimals)) {
        return "0" + std::string(unit);
    }
    return magnitude + unit + " " + (value > 0 ? positive : negative);
}

std::string Satellite(double longitude) {
    const double folded = std::remainder(longitude, 360.0);
    return Signed(folded, 1, "°", "в.д.", "з.д.");
}

struct TextRow {
    const char* label;
    std::string (*cell)(const FeedPlan&);
};

const TextRow TextRows[] = {
    {"Спутник", [](const FeedPlan& f) { return Satellite(f.satellite_deg); }},
    {"Азимут истинный", [](const FeedPlan& f) { return Degrees(f.azimuth_deg); }},
    {"Азимут по компасу", [](const FeedPlan& f) { return Degrees(f.magnetic_azimuth_deg); }},
    {"Угол места", [](const FeedPlan& f) { return Degrees(f.elevation_deg); }},
    {"От оси антенны", [](const FeedPlan& f) { return Degrees(f.separation_deg, 2); }},
    {"Поворот",
     [](const FeedPlan& f) {
         return Signed(f.rotation_deg, 1, "°", "по часовой", "против часовой");
     }},
    {"Поворот от облучателя 1",
     [](const FeedPlan& f) {
         return Signed(f.relative_rotation_deg, 1, "°", "по часовой", "против часовой");
     }},
    {"Сдвиг по горизонтали",
     [](const FeedPlan& f) { return Signed(f.right_mm, 1, " мм", "вправо", "влево"); }},
    {"Сдвиг по вертикали",
     [](const FeedPlan& f) { return Signed(f.up_mm, 1, " мм", "вверх", "вниз"); }},
    {"Расстояние", [](const FeedPlan& f) { return Fixed(f.distance_mm, 1) + " мм"; }},
    {"Наклон линии от 1", [](const FeedPlan& f) { return Degrees(f.tilt_deg); }},
};

std::string TableLine(const std::string& label, const std::vector<std::string>& cells) {
    std::string line = Padded(label, LabelWidth);
    for (const std::string& cell : cells) {
        line += Padded(cell, ColumnWidth);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line + '\n';
}

// ---- Batch input ----

using BatchValue = std::variant<double, std::string>;

std::string Quoted(std::string_view key) {
    return "\"" + std::string(key) + "\"";
}

// A number, or a string read by `parse`; none with the reason in `problem`.
template <typename Parse>
std::optional<double> NumberOf(const Json& value, std::string_view what, Parse parse,
                               std::string& problem) {
    if (value.is_number()) {
        return value.get<double>();
    }
    if (value.is_string()) {
        if (std::optional<double> parsed = parse(value.get_ref<const std::string&>())) {
            return parsed;
        }
        problem = "the value of " + std::string(what) + " is not a number";
        return std::nullopt;
    }
    problem = "the value of " + std::string(what) + " is not a number";
    return std::nullopt;
}

std::optional<std::string> ReadMember(const std::string& key, const Json& value,
                                      planning::PlanInput& input, std::array<bool, 4>& seen) {
    std::string problem;
    const auto angle = [](const std::string& text) { return planning::ParseAngle(text); };
    const auto number = [](const std::string& text) { return planning::ParseNumber(text); };
    auto read = [&](double& target, auto parse,
                    std::size_t required) -> std::optional<std::string> {
        const std::optional<double> parsed = NumberOf(value, Quoted(key), parse, problem);
        if (!parsed) {
            return problem;
        }
        target = *parsed;
        if (required < seen.size()) {
            seen[required] = true;
        }
        return std::nullopt;
    };
    if (key == "lon") {
        return read(input.site_longitude_deg, angle, 0);
    }
    if (key == "lat") {
        return read(input.site_latitude_deg, angle, 1);
    }
    if (key == "focal_mm") {
        return read(input.focal_length_mm, number, 3);
    }
    if (key == "diameter_mm") {
        double diameter = 0;
        std::optional<std::string> refused = read(diameter, number, seen.size());
        input.diameter_mm = diameter;
        return refused;
    }
    if (key == "date") {
        const std::optional<planning::Date> date =
            value.is_string() ? planning::ParseDate(value.get_ref<const std::string&>())
                              : std::nullopt;
        if (!date) {
            return "the value of \"date\" is not a date YYYY-MM-DD";
        }
        input.date = *date;
        return std::nullopt;
    }
    if (key == "sats") {
        if (!value.is_array()) {
            return std::string("the value of \"sats\" is not an array");
        }
        input.satellites_deg.clear();
        for (const Json& satellite : value) {
            const std::optional<double> parsed =
                NumberOf(satellite, "an element of \"sats\"", angle, problem);
            if (!parsed) {
                return problem;
            }
            input.satellites_deg.push_back(*parsed);
        }
        seen[2] = true;
        return std::nullopt;
    }
    return "unknown key " + Quoted(key);
}

std::string ErrorLine(long line_number, const std::string& reason) {
    return Json{{"error", "line " + std::to_string(line_number) + ": " + reason}}.dump();
}

}  // namespace

planning::Date TodayUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

std::string PlanJson(const Plan& plan) {
    Json feeds = Json::array();
    for (const FeedPlan& feed : plan.feeds) {
        feeds.push_back(FeedJson(feed));
    }
    Json warnings = Json::array();
    for (const planning::PlanWarning& warning : plan.warnings) {
        warnings.push_back(WarningJson(warning));
    }
    Json json = {{"beam_deviation_factor", plan.beam_deviation_factor},
                 {"declination_deg", plan.declination_deg}};
    json["feeds"] = std::move(feeds);
    json["warnings"] = std::move(warnings);
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string PlanText(const Plan& plan) {
    std::string text =
        "Точный план облучателей, вид сзади антенны; антенна наведена на спутник 1\n";
    std::vector<std::string> cells;
    for (std::size_t k = 0; k < plan.feeds.size(); ++k) {
        cells.push_back("Облучатель " + std::to_string(k + 1));
    }
    text += TableLine("", cells);
    for (const TextRow& row : TextRows) {
        cells.clear();
        for (const FeedPlan& feed : plan.feeds) {
            cells.push_back(row.cell(feed));
        }
        text += TableLine(row.label, cells);
    }
    text += "Магнитное склонение " + Signed(plan.declination_deg, 1, "°", "к востоку", "к западу") +
            "; коэффициент отклонения луча " + Fixed(plan.beam_deviation_factor, 3) + "\n";
    for (const planning::PlanWarning& warning : plan.warnings) {
        text += "Внимание: " + warning.message + "\n";
    }
    return text;
}

std::variant<planning::PlanInput, std::string> ParsePlanBatchLine(std::string_view line,
                                                                  const planning::Date& today) {
    const Json json = Json::parse(line, nullptr, false);
    if (json.is_discarded()) {
        return std::string("not valid JSON");
    }
    if (!json.is_object()) {
        return std::string("not a JSON object");
    }
    planning::PlanInput input;
    input.date = today;
    std::array<bool, 4> seen{};
    for (const auto& [key, value] : json.items()) {
        if (std::optional<std::string> problem = ReadMember(key, value, input, seen)) {
            return *problem;
        }
    }
    constexpr const char* Required[] = {"lon", "lat", "sats", "focal_mm"};
    for (std::size_t i = 0; i < seen.size(); ++i) {
        if (!seen[i]) {
            return "missing " + Quoted(Required[i]);
        }
    }
    return input;
}

std::pair<std::string, bool> PlanBatchOutputLine(std::string_view line, long line_number,
                                                 const planning::Date& today) {
    const auto parsed = ParsePlanBatchLine(line, today);
    if (const auto* reason = std::get_if<std::string>(&parsed)) {
        return {ErrorLine(line_number, *reason), false};
    }
    const auto plan = planning::MakePlan(std::get<planning::PlanInput>(parsed));
    if (const auto* refusal = std::get_if<planning::PlanRefusal>(&plan)) {
        return {ErrorLine(line_number, refusal->message), false};
    }
    return {PlanJson(std::get<Plan>(plan)), true};
}

}  // namespace tarvex
