#include "cli/plan_command.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/json_line.h"
#include "cli/satellite_longitude.h"
#include "plan_window/plan_text.h"
#include "planning/typed_input.h"

namespace tarvex {
namespace {

using Json = nlohmann::ordered_json;
using planning::FeedPlan;
using planning::Plan;

// ---- JSON ----

// Written directly rather than built as a document and dumped: building and freeing the
// document's members cost more than the plan itself. Numbers take nlohmann's own shortest form
// ("13.0", "1e-05"), the one the plan's JSON has always had.
void AppendNumber(std::string& out, double value) {
    char text[64];
    // -0 (a satellite typed "-0", an offset of -0 mm) is written as 0.
    out.append(text,
               nlohmann::detail::to_chars(text, text + sizeof text, value == 0 ? 0.0 : value));
}

// `key` is plain ASCII, written as it is.
void AppendMember(std::string& out, std::string_view key, double value) {
    out += '"';
    out += key;
    out += "\":";
    AppendNumber(out, value);
    out += ',';
}

void AppendFeed(std::string& out, const FeedPlan& feed) {
    out += '{';
    AppendMember(out, "sat", feed.satellite_deg);
    AppendMember(out, "azimuth_deg", feed.azimuth_deg);
    AppendMember(out, "magnetic_azimuth_deg", feed.magnetic_azimuth_deg);
    AppendMember(out, "elevation_deg", feed.elevation_deg);
    AppendMember(out, "separation_deg", feed.separation_deg);
    AppendMember(out, "right_mm", feed.right_mm);
    AppendMember(out, "up_mm", feed.up_mm);
    AppendMember(out, "distance_mm", feed.distance_mm);
    AppendMember(out, "tilt_deg", feed.tilt_deg);
    AppendMember(out, "rotation_deg", feed.rotation_deg);
    AppendMember(out, "relative_rotation_deg", feed.relative_rotation_deg);
    AppendMember(out, "aim_deg", feed.aim_deg);
    out.back() = '}';
}

// A figure that may not be known: null then.
void AppendMember(std::string& out, std::string_view key, const std::optional<double>& value) {
    if (value) {
        AppendMember(out, key, *value);
    } else {
        out += '"';
        out += key;
        out += "\":null,";
    }
}

void AppendDish(std::string& out, const planning::DishFigures& dish) {
    out +=
        dish.type == planning::DishType::Offset ? "{\"type\":\"offset\"," : "{\"type\":\"prime\",";
    AppendMember(out, "focal_mm", dish.focal_length_mm);
    AppendMember(out, "effective_focal_mm", dish.effective_focal_length_mm);
    AppendMember(out, "aperture_mm", dish.aperture_mm);
    AppendMember(out, "offset_angle_deg", dish.offset_angle_deg);
    AppendMember(out, "f_over_d", dish.f_over_d);
    AppendMember(out, "face_tilt_deg", dish.face_tilt_deg);
    AppendMember(out, "feed_axis_elevation_deg", dish.feed_axis_elevation_deg);
    out.back() = '}';
}

void AppendWarning(std::string& out, const planning::PlanWarning& warning, const Plan& plan) {
    out += "{\"code\":";
    AppendJsonString(out, planning::WarningCode(warning.kind));
    if (warning.feed) {
        char text[16];
        out += ",\"feed\":";
        out.append(text, std::to_chars(text, text + sizeof text, *warning.feed).ptr);
    }
    out += ",\"message\":";
    AppendJsonString(out, WarningText(warning, plan));
    out += '}';
}

// ---- Batch input ----

enum class Key {
    Longitude,
    Latitude,
    Satellites,
    FocalLength,
    Diameter,
    Date,
    Dish,
    Depth,
    Width,
    Height,
    FeedDistance,
    RimLow,
    RimHigh
};

constexpr std::string_view KeyNames[] = {
    "lon",      "lat",      "sats",      "focal_mm",         "diameter_mm", "date",       "dish",
    "depth_mm", "width_mm", "height_mm", "feed_distance_mm", "rim_low_mm",  "rim_high_mm"};

std::string Quoted(std::string_view key) {
    return "\"" + std::string(key) + "\"";
}

std::optional<Key> KeyOf(std::string_view name) {
    for (std::size_t k = 0; k < std::size(KeyNames); ++k) {
        if (KeyNames[k] == name) {
            return static_cast<Key>(k);
        }
    }
    return std::nullopt;
}

// Reads one line as events into a PlanInput, without building a document: the top level must
// be an object of known keys, each given once, with values of their kinds. Records the first
// problem and reads on, so that a line that is not JSON at all is reported as such whatever
// came before; values of refused keys are only stepped over, however large or deep.
class PlanLineReader : public Json::json_sax_t {
  public:
    explicit PlanLineReader(planning::PlanInput& input) : m_input(input) {}

    const std::string& Problem() const { return m_problem; }
    bool Given(Key key) const { return m_given[Index(key)]; }

    bool null() override { return Other(); }
    bool boolean(bool) override { return Other(); }
    bool number_integer(number_integer_t value) override {
        return Number(static_cast<double>(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Number(static_cast<double>(value));
    }
    bool number_float(number_float_t value, const string_t&) override { return Number(value); }
    bool binary(binary_t&) override { return Other(); }
    bool string(string_t& text) override {
        if (m_depth == 1 && m_key == Key::Date) {
            if (const std::optional<planning::Date> date = planning::ParseDate(text)) {
                m_input.date = *date;
            } else {
                NotOfItsKind();
            }
            return true;
        }
        if (m_depth == 1 && m_key == Key::Dish) {
            if (text == "prime" || text == "offset") {
                m_input.dish.type =
                    text == "offset" ? planning::DishType::Offset : planning::DishType::PrimeFocus;
            } else {
                NotOfItsKind();
            }
            return true;
        }
        const std::optional<double> value = InNumberPlace() ? Read(text) : std::nullopt;
        return value ? Number(*value) : Other();
    }
    bool start_object(std::size_t) override {
        if (m_depth > 0) {
            Other();
        }
        ++m_depth;
        return true;
    }
    bool start_array(std::size_t) override {
        if (m_depth == 1 && m_key == Key::Satellites) {
            m_input.satellites_deg.clear();
            m_in_satellites = true;
        } else {
            Other();
        }
        ++m_depth;
        return true;
    }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override {
        if (m_depth != 1) {
            return true;
        }
        m_key = KeyOf(name);
        if (!m_key) {
            Report("unknown key " + Quoted(name));
        } else if (m_given[Index(*m_key)]) {
            Report("the key " + Quoted(name) + " is given twice");
        } else {
            m_given[Index(*m_key)] = true;
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // 406: valid JSON whose number does not fit a double.
        if (error.id == 406) {
            m_out_of_range = true;
            if (InNumberPlace()) {
                Report("the value of " + What() + " is a number out of range");
            }
            Other();
            Report("a number is out of range");
        }
        return false;
    }

    // True when the reading stopped at a number out of range, not at a fault of the JSON.
    bool OutOfRange() const { return m_out_of_range; }

  private:
    static std::size_t Index(Key key) { return static_cast<std::size_t>(key); }

    // Where a number (or a text read as one) is taken: the value of a known key other than
    // "date", or an element of "sats".
    bool InNumberPlace() const {
        if (!m_key || m_key == Key::Date || m_key == Key::Dish) {
            return false;
        }
        return m_key == Key::Satellites ? m_depth == 2 && m_in_satellites : m_depth == 1;
    }

    // A text where a number is taken, read as the option of its key reads it.
    std::optional<double> Read(const std::string& text) {
        switch (*m_key) {
            case Key::Longitude:
                return planning::ParseAngle(text);
            case Key::Latitude:
                return planning::ParseAngle(text, planning::AngleKind::Latitude);
            case Key::Satellites: {
                // A longitude or a satellite's name, as --sat takes them.
                const auto longitude = SatelliteLongitude(text);
                if (const auto* refused = std::get_if<std::string>(&longitude)) {
                    Report("an element of \"sats\": " + *refused);
                    return std::nullopt;
                }
                return std::get<double>(longitude);
            }
            default:
                return planning::ParseNumber(text);
        }
    }

    std::string What() const {
        return m_key == Key::Satellites && m_depth == 2 ? "an element of \"sats\""
                                                        : Quoted(KeyNames[Index(*m_key)]);
    }

    bool Number(double value) {
        if (!InNumberPlace()) {
            return Other();
        }
        switch (*m_key) {
            case Key::Longitude:
                m_input.site_longitude_deg = value;
                break;
            case Key::Latitude:
                m_input.site_latitude_deg = value;
                break;
            case Key::Satellites:
                m_input.satellites_deg.push_back(value);
                break;
            case Key::FocalLength:
                m_input.focal_length_mm = value;
                break;
            case Key::Diameter:
                m_input.diameter_mm = value;
                break;
            case Key::Depth:
                m_input.dish.depth_mm = value;
                break;
            case Key::Width:
                m_input.dish.width_mm = value;
                break;
            case Key::Height:
                m_input.dish.height_mm = value;
                break;
            case Key::FeedDistance:
                m_input.dish.feed_distance_mm = value;
                break;
            case Key::RimLow:
                m_input.dish.rim_low_mm = value;
                break;
            case Key::RimHigh:
                m_input.dish.rim_high_mm = value;
                break;
            case Key::Date:
            case Key::Dish:
                break;
        }
        return true;
    }

    // A value where it does not belong: wrong at the top level, as the value of a known key or
    // as an element of "sats"; inside any of these the first problem has already been noted.
    bool Other() {
        if (m_depth == 0) {
            Report("not a JSON object");
        } else if (m_key && (m_depth == 1 || (m_depth == 2 && m_in_satellites))) {
            NotOfItsKind();
        }
        return true;
    }

    void NotOfItsKind() {
        switch (*m_key) {
            case Key::Date:
                Report("the value of \"date\" is not a date YYYY-MM-DD");
                break;
            case Key::Dish:
                Report("the value of \"dish\" is not \"prime\" or \"offset\"");
                break;
            case Key::Satellites:
                Report(m_depth == 1 ? "the value of \"sats\" is not an array"
                                    : "the value of an element of \"sats\" is not a number");
                break;
            default:
                Report("the value of " + What() + " is not a number");
        }
    }

    bool Close() {
        if (--m_depth == 1) {
            m_in_satellites = false;
        }
        return true;
    }

    void Report(std::string problem) {
        if (m_problem.empty()) {
            m_problem = std::move(problem);
        }
    }

    planning::PlanInput& m_input;
    int m_depth = 0;
    std::optional<Key> m_key;
    bool m_in_satellites = false;
    std::array<bool, std::size(KeyNames)> m_given{};
    bool m_out_of_range = false;
    std::string m_problem;
};

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
    std::string out;
    out.reserve(256 + 320 * plan.feeds.size());
    out += '{';
    AppendMember(out, "beam_deviation_factor", plan.beam_deviation_factor);
    AppendMember(out, "declination_deg", plan.declination_deg);
    out += "\"dish\":";
    AppendDish(out, plan.dish);
    out += ",\"feeds\":[";
    for (const FeedPlan& feed : plan.feeds) {
        AppendFeed(out, feed);
        out += ',';
    }
    if (!plan.feeds.empty()) {
        out.pop_back();
    }
    out += "],\"warnings\":[";
    for (const planning::PlanWarning& warning : plan.warnings) {
        AppendWarning(out, warning, plan);
        out += ',';
    }
    if (!plan.warnings.empty()) {
        out.pop_back();
    }
    out += "]}";
    return out;
}

std::variant<planning::PlanInput, std::string> ParsePlanBatchLine(
    std::string_view line, const PlanBatchDefaults& defaults) {
    planning::PlanInput input;
    input.site_longitude_deg = defaults.longitude_deg.value_or(0);
    input.site_latitude_deg = defaults.latitude_deg.value_or(0);
    input.satellites_deg = defaults.satellites_deg;
    input.focal_length_mm = defaults.focal_length_mm;
    input.diameter_mm = defaults.diameter_mm;
    input.dish = defaults.dish;
    input.date = defaults.date;
    PlanLineReader reader(input);
    if (!Json::sax_parse(line.begin(), line.end(), &reader) && !reader.OutOfRange()) {
        return std::string("not valid JSON");
    }
    if (!reader.Problem().empty()) {
        return reader.Problem();
    }
    const std::pair<Key, bool> required[] = {
        {Key::Longitude, defaults.longitude_deg.has_value()},
        {Key::Latitude, defaults.latitude_deg.has_value()},
        {Key::Satellites, !defaults.satellites_deg.empty()},
        // An offset dish, or a prime-focus one measured by its depth, has no focal length to type.
        {Key::FocalLength, defaults.focal_length_mm.has_value() ||
                               input.dish.type == planning::DishType::Offset ||
                               input.dish.depth_mm.has_value()}};
    for (const auto& [key, by_default] : required) {
        if (!by_default && !reader.Given(key)) {
            return "missing " + Quoted(KeyNames[static_cast<std::size_t>(key)]);
        }
    }
    return input;
}

std::pair<std::string, bool> PlanBatchOutputLine(std::string_view line, long line_number,
                                                 const PlanBatchDefaults& defaults) {
    const auto parsed = ParsePlanBatchLine(line, defaults);
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
