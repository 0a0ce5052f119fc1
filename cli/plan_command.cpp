#include "cli/plan_command.h"

#include <array>
#include <chrono>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

#include "plan_window/plan_text.h"
#include "planning/typed_input.h"

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

Json WarningJson(const planning::PlanWarning& warning, const Plan& plan) {
    Json json = Json::object();
    json["code"] = planning::WarningCode(warning.kind);
    if (warning.feed) {
        json["feed"] = *warning.feed;
    }
    json["message"] = WarningText(warning, plan);
    return json;
}

// ---- Batch input ----

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
    const auto latitude = [](const std::string& text) {
        return planning::ParseAngle(text, planning::AngleKind::Latitude);
    };
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
        return read(input.site_latitude_deg, latitude, 1);
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
    using namespace std::chrono;
    const year_month_day today(floor<days>(system_clock::now()));
    return {static_cast<int>(today.year()), static_cast<int>(static_cast<unsigned>(today.month())),
            static_cast<int>(static_cast<unsigned>(today.day()))};
}

std::string PlanJson(const Plan& plan) {
    Json feeds = Json::array();
    for (const FeedPlan& feed : plan.feeds) {
        feeds.push_back(FeedJson(feed));
    }
    Json warnings = Json::array();
    for (const planning::PlanWarning& warning : plan.warnings) {
        warnings.push_back(WarningJson(warning, plan));
    }
    Json json = {{"beam_deviation_factor", plan.beam_deviation_factor},
                 {"declination_deg", plan.declination_deg}};
    json["feeds"] = std::move(feeds);
    json["warnings"] = std::move(warnings);
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
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
        return {ErrorLine(line_number, RefusalText(*refusal)), false};
    }
    return {PlanJson(std::get<Plan>(plan)), true};
}

}  // namespace tarvex
