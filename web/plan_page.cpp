#include "web/plan_page.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <variant>
#include <vector>

#include "conversions/typed_text.h"
#include "names/satellites.h"
#include "names/site_text.h"
#include "plan_io/json_writer.h"
#include "plan_io/plan_batch.h"
#include "plan_io/satellite_longitude.h"
#include "plan_text/dish_text.h"
#include "plan_text/page_text.h"
#include "plan_text/plan_text.h"
#include "plan_text/problem_text.h"
#include "planning/plan_inputs.h"

namespace tarvex::web {
namespace {

using planning::InputProblem;
using planning::InputProblemKind;

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

// The query's keys in their order with their decoded values; a blank value drops its key.
using Pairs = std::vector<std::pair<std::string, std::string>>;

// The page plans what its form shows: a key given twice (blank or not) is refused, as the batch
// refuses it, and so is a key or a value that is not UTF-8 (a link from a cp1251 page). A key the
// plan does not know goes to `ignored`. Each pair is read once: time in proportion to the query.
std::variant<Pairs, InputProblem> QueryPairs(std::string_view query,
                                             std::vector<std::string>& ignored) {
    if (!query.empty() && query.front() == '?') {
        query.remove_prefix(1);
    }
    Pairs pairs;
    std::unordered_set<std::string> given;  // every key met, blank or not
    for (const std::string& pair : Split(query, '&')) {
        const std::size_t equals = pair.find('=');
        std::string key = Decoded(std::string_view(pair).substr(0, equals));
        std::string value =
            equals == std::string::npos ? "" : Decoded(std::string_view(pair).substr(equals + 1));
        const std::optional<planning::PlanInputId> input = planning::InputOfKey(key);
        const bool text = input && planning::RowOf(*input).kind == planning::InputKind::Text;
        for (const auto& [checked, limit] :
             {std::pair{std::string_view(key), std::string_view(key).size()},
              std::pair{std::string_view(value), text ? MaxJobTextBytes : value.size()}}) {
            if (const TextProblem problem = CheckTypedText(checked, limit);
                problem != TextProblem::None) {
                return InputProblem{
                    InputProblemKind::TextRefused, input ? key : std::string(), 0, {}, {}, problem};
            }
        }
        if (key.empty()) {
            continue;
        }
        const bool first = given.insert(key).second;
        if (!input) {
            // A key of another program's link (utm_source=...) or of a newer page: left out.
            if (first) {
                ignored.push_back(std::move(key));
            }
        } else if (!first) {
            return InputProblem{InputProblemKind::GivenTwice, key, 0, {}, {}, {}};
        } else if (value.find_first_not_of(" \t") != std::string::npos) {
            pairs.emplace_back(std::move(key), std::move(value));
        }
    }
    return pairs;
}

const std::string_view SatellitesKey = planning::RowOf(planning::PlanInputId::Satellites).key;

// "13, 19.2" as a person types it: the elements without the blanks around them.
std::vector<std::string> SatelliteTexts(const std::string& value) {
    std::vector<std::string> satellites;
    for (const std::string& satellite : Split(value, ',')) {
        const std::size_t start = satellite.find_first_not_of(' ');
        const std::size_t end = satellite.find_last_not_of(' ');
        satellites.push_back(start == std::string::npos ? std::string()
                                                        : satellite.substr(start, end - start + 1));
    }
    return satellites;
}

// The pairs as a batch line: every value a string, the satellites an array of strings.
std::string BatchLine(const Pairs& pairs) {
    JsonWriter json;
    json.BeginObject();
    for (const auto& [key, value] : pairs) {
        json.Key(key);
        if (key != SatellitesKey) {
            json.String(value);
            continue;
        }
        json.BeginArray();
        for (const std::string& satellite : SatelliteTexts(value)) {
            json.String(satellite);
        }
        json.EndArray();
    }
    json.EndObject();
    return std::move(json).Finish();
}

// The first satellite of the query that is neither a longitude nor a name of one position.
std::optional<InputProblem> SatelliteProblem(const Pairs& pairs) {
    for (const auto& [key, value] : pairs) {
        if (key != SatellitesKey) {
            continue;
        }
        const std::vector<std::string> satellites = SatelliteTexts(value);
        for (std::size_t k = 0; k < satellites.size(); ++k) {
            InputProblem problem{InputProblemKind::Missing,
                                 std::string(key),
                                 static_cast<int>(k) + 1,
                                 satellites[k],
                                 {},
                                 {}};
            if (!satellites[k].empty()) {
                auto longitude = SatelliteLongitude(satellites[k]);
                if (std::holds_alternative<double>(longitude)) {
                    continue;
                }
                problem.kind = std::get<InputProblem>(longitude).kind;
                problem.text = std::get<InputProblem>(longitude).text;
            }
            return problem;
        }
    }
    return std::nullopt;
}

// Each feed's card: its title, its satellite and what to mark, in the plan's order.
// The sun's row of the table as a line of each feed's card: "Солнце на азимуте спутника: 13:57 …".
std::vector<std::string> SunCardLines(const planning::Plan& plan,
                                      const std::vector<std::optional<planning::SunTime>>& sun) {
    const ReportRow row = SunRow(plan, sun);
    std::vector<std::string> lines;
    for (const std::string& cell : row.cells) {
        lines.push_back(row.caption + ": " + cell);
    }
    return lines;
}

void WriteCards(JsonWriter& json, const planning::Plan& plan, const std::vector<std::string>& sun) {
    json.Key("cards");
    json.BeginArray();
    for (const FeedCardText& card : FeedCards(plan, sun)) {
        json.BeginObject();
        json.Member("title", card.title);
        json.Member("satellite", card.satellite);
        if (!card.verdict.empty()) {
            json.Member("verdict", card.verdict);
        }
        if (!card.sun.empty()) {
            json.Member("sun", card.sun);
        }
        json.Key("lines");
        json.BeginArray();
        for (const std::string& line : card.lines) {
            json.String(line);
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Member("rotation_sense", RotationSenseText());
    json.Key("warnings");
    json.BeginArray();
    for (const std::string& line : WarningLines(plan)) {
        json.String(line);
    }
    json.EndArray();
}

void WriteIgnored(JsonWriter& json, const std::vector<std::string>& ignored) {
    json.Key("ignored");
    json.BeginArray();
    for (const std::string& key : ignored) {
        json.String(key);
    }
    json.EndArray();
}

std::string Refused(const InputProblem& problem, const std::vector<std::string>& ignored,
                    std::string& shown) {
    const std::string reason = ProblemInRussian(problem);
    JsonWriter plan_json;
    plan_json.BeginObject();
    plan_json.Member("error", reason);
    plan_json.Member("field", problem.key);
    plan_json.EndObject();
    shown = std::move(plan_json).Finish();
    JsonWriter json;
    json.BeginObject();
    json.Member("error", reason);
    json.Member("field", problem.key);
    if (problem.element > 0) {
        json.Key("satellite");
        json.Integer(problem.element);
    }
    WriteIgnored(json, ignored);
    json.EndObject();
    return std::move(json).Finish();
}

// The kinds' names for the page, in the order of planning::InputKind.
constexpr const char* KindWords[] = {"angle",  "latitude", "satellites", "length", "date",
                                     "choice", "number",   "switch",     "ratio",  "text"};

// The dish types whose ways of measuring use a measurement: "prime", "offset" or both.
std::string DishTypesOf(planning::DishMeasure measure) {
    std::string types;
    for (std::size_t type = 0; type < std::size(planning::DishTypeWords); ++type) {
        for (const planning::DishWay& way : planning::DishWays) {
            const auto uses = [measure](const std::vector<planning::DishMeasure>& measures) {
                return std::find(measures.begin(), measures.end(), measure) != measures.end();
            };
            if (static_cast<std::size_t>(way.type) == type &&
                (uses(way.required) || uses(way.optional))) {
                types += (types.empty() ? "" : " ") + std::string(planning::DishTypeWords[type]);
                break;
            }
        }
    }
    return types;
}

}  // namespace

std::string PlanAnswer(std::string_view query, const planning::Date& today,
                       const planning::SunClock& clock, std::string& shown) {
    std::vector<std::string> ignored;
    auto read = QueryPairs(query, ignored);
    if (const auto* problem = std::get_if<InputProblem>(&read)) {
        return Refused(*problem, ignored, shown);
    }
    const Pairs& pairs = std::get<Pairs>(read);
    if (const std::optional<InputProblem> problem = SatelliteProblem(pairs)) {
        return Refused(*problem, ignored, shown);
    }
    PlanBatchDefaults defaults;
    defaults.date = today;
    const auto parsed = ParsePlanBatchLine(BatchLine(pairs), defaults);
    if (const auto* problem = std::get_if<InputProblem>(&parsed)) {
        return Refused(*problem, ignored, shown);
    }
    const auto& input = std::get<planning::PlanInput>(parsed);
    const auto plan = planning::MakePlan(input);
    if (const auto* refusal = std::get_if<planning::PlanRefusal>(&plan)) {
        return Refused(planning::RefusalProblem(*refusal), ignored, shown);
    }
    const auto& made = std::get<planning::Plan>(plan);
    const auto sun = planning::SunTimes(input, made, clock);
    shown = PlanJson(made, nullptr, &sun);
    JsonWriter json;
    json.BeginObject();
    json.Key("plan");
    json.Raw(shown);
    json.Member("text", PlanText(input, made, sun));
    json.Key("sun_text");
    json.BeginArray();
    for (const std::string& cell : SunRow(made, sun).cells) {
        json.String(cell);
    }
    json.EndArray();
    json.Member("sun_hint", SunHintText());
    WriteCards(json, made, SunCardLines(made, sun));
    WriteIgnored(json, ignored);
    json.EndObject();
    return std::move(json).Finish();
}

std::string InputsAnswer(const planning::Date& today) {
    JsonWriter json;
    json.BeginObject();
    json.Key("inputs");
    json.BeginArray();
    for (const planning::PlanInputRow& row : planning::PlanInputs) {
        json.BeginObject();
        json.Member("key", row.key);
        json.Member("kind", KindWords[static_cast<std::size_t>(row.kind)]);
        json.Member("unit", row.unit);
        if (row.measure) {
            json.Member("dish", DishTypesOf(*row.measure));
        }
        const PageInputWords words = PageWordsOf(row.id);
        json.Member("label", words.label);
        json.Member("hint", words.hint);
        json.Member("offset_hint", words.offset_hint);
        json.Member("placeholder", words.placeholder);
        json.EndObject();
    }
    json.EndArray();
    json.Key("feed_body_mm");
    json.Number(planning::FeedBodyMm);
    json.Key("min_feeds");
    json.Integer(planning::MinFeeds);
    json.Key("max_feeds");
    json.Integer(planning::MaxFeeds);
    json.Member("today", DateText(today));
    json.Member("ignored_note", IgnoredKeyText());
    json.Key("dish_types");
    json.BeginArray();
    for (std::size_t type = 0; type < std::size(planning::DishTypeWords); ++type) {
        json.BeginObject();
        json.Member("value", planning::DishTypeWords[type]);
        json.Member("text", DishTypeText(static_cast<planning::DishType>(type)));
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return std::move(json).Finish();
}

std::string SatelliteSuggestions(std::string_view text) {
    JsonWriter json;
    json.BeginArray();
    for (const names::SatellitePosition& position : names::FindSatellites(text)) {
        const std::string entry = names::SatelliteEntry(position);
        // The position with its hemisphere means it alone, and holds no comma to split `sats` at.
        json.BeginObject();
        json.Member("value", entry.substr(0, entry.find(" —")));
        json.Member("entry", entry);
        json.EndObject();
    }
    json.EndArray();
    return std::move(json).Finish();
}

std::string SiteAnswer(std::string_view text) {
    const names::SiteReading reading = names::ReadSite(text);
    JsonWriter json;
    json.BeginObject();
    if (reading.outcome == names::SiteReading::Outcome::Read) {
        json.Member(planning::RowOf(planning::PlanInputId::Latitude).key,
                    ShortText(reading.readings.front().latitude_deg));
        json.Member(planning::RowOf(planning::PlanInputId::Longitude).key,
                    ShortText(reading.readings.front().longitude_deg));
    } else if (reading.outcome == names::SiteReading::Outcome::Ambiguous) {
        json.Member("error", AmbiguousSiteInRussian(reading.readings));
    }
    json.EndObject();
    return std::move(json).Finish();
}

}  // namespace tarvex::web
