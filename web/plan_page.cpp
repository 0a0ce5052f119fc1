#include "web/plan_page.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "cli/plan_command.h"

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

// The input a refusal of the plan concerns, from the words its Russian message starts with.
std::string RefusedKey(const std::string& message) {
    static const std::pair<const char*, const char*> Starts[] = {
        {"Нужно от 2 до 4 спутников", "sats"},
        {"Долгота места", "lon"},
        {"Широта места", "lat"},
        {"Долгота спутника", "sats"},
        {"Спутник", "sats"},
        {"Фокусное расстояние", "focal_mm"},
        {"Диаметр антенны", "diameter_mm"},
        {"Даты", "date"},
    };
    for (const auto& [start, key] : Starts) {
        if (message.rfind(start, 0) == 0) {
            return key;
        }
    }
    return "";
}

// The reader's own words for what was wrong, put as the form puts them.
std::string ReasonInRussian(const std::string& reason, const std::string& key) {
    if (reason.rfind("missing", 0) == 0) {
        return key == "sats" ? "Нужно от 2 до 4 спутников." : "Заполните это поле.";
    }
    if (key == "date") {
        return "Дата записывается ГГГГ-ММ-ДД, например 2026-12-07.";
    }
    if (key == "lon" || key == "lat" || key == "sats") {
        return "Не угол: градусы (35.4615) или градусы:минуты (35:27.69).";
    }
    if (!key.empty()) {
        return "Не число.";
    }
    return reason;
}

std::string Refused(const std::string& reason, const std::string& field, const Json& ignored) {
    Json plan_json = {{"error", reason}, {"field", field}};
    Json answer = {{"json", plan_json.dump()}, {"error", reason}, {"field", field}};
    answer["ignored"] = ignored;
    return answer.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::string PlanAnswer(std::string_view query, const planning::Date& today) {
    Json object = BatchObject(query);
    Json ignored = Json::array();
    while (true) {
        const auto parsed = ParsePlanBatchLine(object.dump(), today);
        if (const auto* input = std::get_if<planning::PlanInput>(&parsed)) {
            const auto plan = planning::MakePlan(*input);
            if (const auto* refusal = std::get_if<planning::PlanRefusal>(&plan)) {
                return Refused(refusal->message, RefusedKey(refusal->message), ignored);
            }
            Json answer = {{"json", PlanJson(std::get<planning::Plan>(plan))},
                           {"text", PlanText(std::get<planning::Plan>(plan))}};
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

}  // namespace tarvex::web
