#include "web/plan_page.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "cli/plan_command.h"
#include "cli/satellite_longitude.h"
#include "names/satellites.h"
#include "names/site_text.h"
#include "plan_window/dish_text.h"
#include "plan_window/plan_text.h"

namespace tarvex::web {
namespace {

using Json = nlohmann::ordered_json;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(c | 0x20);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// application/x-www-form-urlencoded: '+' is a space, %XX a byte; a stray '%' stays as it is.
std::string Decoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
                   HexDigit(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// The query as a batch line's object: every value a string, `sats` an array of strings. A key
// given twice keeps its last value, as the form's own link never does otherwise.
Json BatchObject(std::string_view query) {
    if (!query.empty() && query.front() == '?') {
        query.remove_prefix(1);
    }
    Json object = Json::object();
    for (const std::string& pair : Split(query, '&')) {
        const std::size_t equals = pair.find('=');
        const std::string key = Decoded(std::string_view(pair).substr(0, equals));
        const std::string value =
            equals == std::string::npos ? "" : Decoded(std::string_view(pair).substr(equals + 1));
        if (key.empty() || value.find_first_not_of(" \t") == std::string::npos) {
            object.erase(key);
            continue;
        }
        if (key == "sats") {
            Json satellites = Json::array();
            // "13, 19.2" as a person types it.
            for (const std::string& satellite : Split(value, ',')) {
                const std::size_t start = satellite.find_first_not_of(' ');
                const std::size_t end = satellite.find_last_not_of(' ');
                satellites.push_back(start == std::string::npos
                                         ? std::string()
                                         : satellite.substr(start, end - start + 1));
            }
            object[key] = std::move(satellites);
        } else {
            object[key] = value;
        }
    }
    return object;
}

// The first key named in a reader's reason: `the value of "lat" is not a number` -> lat.
std::string QuotedKey(const std::string& reason) {
    const std::size_t open = reason.find('"');
    const std::size_t close = open == std::string::npos ? open : reason.find('"', open + 1);
    return close == std::string::npos ? "" : reason.substr(open + 1, close - open - 1);
}

// The key of the batch input a measurement of the dish is given by.
const char* KeyOf(planning::DishMeasure measure) {
    switch (measure) {
        case planning::DishMeasure::FocalLength:
            return "focal_mm";
        case planning::DishMeasure::Diameter:
            return "diameter_mm";
        case planning::DishMeasure::Depth:
            return "depth_mm";
        case planning::DishMeasure::Width:
            return "width_mm";
        case planning::DishMeasure::Height:
            return "height_mm";
        case planning::DishMeasure::FeedDistance:
            return "feed_distance_mm";
        case planning::DishMeasure::RimLow:
            return "rim_low_mm";
        case planning::DishMeasure::FOverD:
            return "f_over_d";
        case planning::DishMeasure::RimHigh:
            break;
    }
    return "rim_high_mm";
}

// The field a refusal of the dish is shown beside: the measurement it names, else the one to
// change, else the dish's type, whose field lists the ways of measuring it.
std::string DishField(const planning::DishIssue& issue) {
    using planning::DishProblem;
    switch (issue.problem) {
        case DishProblem::OffsetMeasureOnPrime:
        case DishProblem::NotPositive:
        case DishProblem::OneRimOnly:
        case DishProblem::HeightNotAboveWidth:
        case DishProblem::MeasurementsDisagree:
        case DishProblem::FocalLooksLikeFOverD:
        case DishProblem::FOverDWithFocal:
        case DishProblem::OffsetAngleOutOfRange:
        case DishProblem::RimBelowAxis:
            return KeyOf(issue.measure);
        case DishProblem::NoFocalLength:
        case DishProblem::FocalOnOffset:
            return "focal_mm";
        case DishProblem::FocalAndDepth:
            return "depth_mm";
        case DishProblem::DepthWithoutDiameter:
        case DishProblem::FOverDWithoutDiameter:
        case DishProblem::DiameterOnOffset:
            return "diameter_mm";
        case DishProblem::NoWidth:
            return "width_mm";
        case DishProblem::NoHeight:
            return "height_mm";
        case DishProblem::RimsOutOfOrder:
            return "rim_high_mm";
        case DishProblem::NoWayToFocus:
        case DishProblem::TwoWaysToFocus:
        case DishProblem::NoSuchRims:
        case DishProblem::BeyondNumbers:
        case DishProblem::NoDishSize:
            break;
    }
    return "dish";
}

// The input a refusal of the plan concerns.
std::string RefusedKey(const planning::PlanRefusal& refusal) {
    using planning::RefusalKind;
    switch (refusal.kind) {
        case RefusalKind::SiteLongitude:
            return "lon";
        case RefusalKind::SiteLatitude:
            return "lat";
        case RefusalKind::SatelliteCount:
        case RefusalKind::SatelliteLongitude:
        case RefusalKind::SameSatellite:
        case RefusalKind::BelowHorizon:
        case RefusalKind::TooFarApart:
            return "sats";
        case RefusalKind::FocalLength:
        case RefusalKind::OffsetsTooLarge:
            return "focal_mm";
        case RefusalKind::Diameter:
            return "diameter_mm";
        case RefusalKind::Date:
            return "date";
        case RefusalKind::Dish:
            return DishField(refusal.dish);
    }
    return "";
}

// The reader's own words for what was wrong, put as the form puts them.
std::string ReasonInRussian(const std::string& reason, const std::string& key) {
    if (reason.rfind("missing", 0) == 0) {
        if (key == "sats") {
            return "Нужно от 2 до 4 спутников.";
        }
        if (key == "focal_mm") {
            planning::DishIssue issue;
            issue.problem = planning::DishProblem::NoFocalLength;
            return DishIssueText(issue);
        }
        return "Заполните это поле.";
    }
    if (key == "date") {
        return "Дата записывается ГГГГ-ММ-ДД, например 2026-12-07.";
    }
    if (key == "dish") {
        return "Тип антенны: prime (прямофокусная) или offset (офсетная).";
    }
    if (key == "lon" || key == "lat" || key == "sats") {
        return "Не угол: градусы (35.4615) или градусы:минуты (35:27.69).";
    }
    if (!key.empty()) {
        return "Не число.";
    }
    return reason;
}

// "36.1° в.д. — Express AMU1; 19.2° в.д. — Astra, Astra 1KR"
std::string EntriesText(const std::vector<names::SatellitePosition>& positions) {
    std::string text;
    for (const names::SatellitePosition& position : positions) {
        text += (text.empty() ? "" : "; ") + names::SatelliteEntry(position);
    }
    return text;
}

// Why satellite `number`'s text is neither a longitude nor a name of one position, in Russian,
// with what it may have meant; nothing where it is one of them.
std::optional<std::string> SatelliteProblem(int number, const std::string& text) {
    const std::string label = "Спутник " + std::to_string(number);
    if (text.empty()) {
        return label + " не задан: укажите долготу или имя.";
    }
    if (std::holds_alternative<double>(SatelliteLongitude(text))) {
        return std::nullopt;
    }
    const names::SatelliteLookup lookup = names::LookUpSatellite(text);
    if (lookup.problem != TextProblem::None) {
        return label + ": " + TextProblemText(lookup.problem) + ".";
    }
    if (lookup.found == names::SatelliteLookup::Found::Several) {
        return label + ": «" + text + "» — несколько позиций: " + EntriesText(lookup.candidates) +
               ". Укажите имя точнее или долготу.";
    }
    return label + ": «" + text + "» — не долгота и не имя спутника из списка" +
           (lookup.candidates.empty() ? "" : "; похожие: " + EntriesText(lookup.candidates)) + ".";
}

// `satellite`: the 1-based element of "sats" the refusal names, 0 for none.
std::string Refused(const std::string& reason, const std::string& field, const Json& ignored,
                    int satellite = 0) {
    Json plan_json = {{"error", reason}, {"field", field}};
    Json answer = {{"json", plan_json.dump()}, {"error", reason}, {"field", field}};
    if (satellite > 0) {
        answer["satellite"] = satellite;
    }
    answer["ignored"] = ignored;
    return answer.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::string PlanAnswer(std::string_view query, const planning::Date& today) {
    Json object = BatchObject(query);
    Json ignored = Json::array();
    if (const auto satellites = object.find("sats");
        satellites != object.end() && satellites->is_array()) {
        for (std::size_t k = 0; k < satellites->size(); ++k) {
            const auto& text = (*satellites)[k].get_ref<const std::string&>();
            if (const auto problem = SatelliteProblem(static_cast<int>(k) + 1, text)) {
                return Refused(*problem, "sats", ignored, static_cast<int>(k) + 1);
            }
        }
    }
    PlanBatchDefaults defaults;
    defaults.date = today;
    while (true) {
        const auto parsed = ParsePlanBatchLine(object.dump(), defaults);
        if (const auto* input = std::get_if<planning::PlanInput>(&parsed)) {
            const auto plan = planning::MakePlan(*input);
            if (const auto* refusal = std::get_if<planning::PlanRefusal>(&plan)) {
                return Refused(RefusalText(*refusal), RefusedKey(*refusal), ignored,
                               refusal->satellite);
            }
            Json answer = {{"json", PlanJson(std::get<planning::Plan>(plan))},
                           {"text", PlanText(*input, std::get<planning::Plan>(plan))}};
            answer["ignored"] = std::move(ignored);
            return answer.dump(-1, ' ', false, Json::error_handler_t::replace);
        }
        const std::string& reason = std::get<std::string>(parsed);
        const std::string key = QuotedKey(reason);
        // A key of another program's link (utm_source=...) or of a newer page: left out.
        if (reason.rfind("unknown key", 0) == 0 && object.contains(key)) {
            object.erase(key);
            ignored.push_back(key);
            continue;
        }
        return Refused(ReasonInRussian(reason, key), key, ignored);
    }
}

std::string SatelliteSuggestions(std::string_view text) {
    Json suggestions = Json::array();
    for (const names::SatellitePosition& position : names::FindSatellites(text)) {
        std::string entry = names::SatelliteEntry(position);
        // The position with its hemisphere means it alone, and holds no comma to split `sats` at.
        std::string value = entry.substr(0, entry.find(" —"));
        suggestions.push_back({{"value", std::move(value)}, {"entry", std::move(entry)}});
    }
    return suggestions.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string SiteAnswer(std::string_view text) {
    const names::SiteReading reading = names::ReadSite(text);
    Json answer = Json::object();
    if (reading.outcome == names::SiteReading::Outcome::Read) {
        answer["lat"] = ShortText(reading.readings.front().latitude_deg);
        answer["lon"] = ShortText(reading.readings.front().longitude_deg);
    } else if (reading.outcome == names::SiteReading::Outcome::Ambiguous) {
        std::string ways;
        for (const names::SiteCoordinates& site : reading.readings) {
            ways += (ways.empty() ? "" : " или ") + ShortText(site.latitude_deg) + ", " +
                    ShortText(site.longitude_deg);
        }
        answer["error"] = "Место читается по-разному: " + ways +
                          " (широта, долгота). Запишите дроби с точкой, а между числами запятую.";
    }
    return answer.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace tarvex::web
