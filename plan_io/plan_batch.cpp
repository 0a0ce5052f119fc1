#include "plan_io/plan_batch.h"

#include <array>
#include <initializer_list>
#include <limits>

#include "plan_io/flat_object_reader.h"
#include "plan_io/json_writer.h"
#include "plan_io/satellite_longitude.h"
#include "plan_text/plan_text.h"
#include "plan_text/problem_text.h"
#include "planning/instant.h"
#include "planning/typed_input.h"

namespace tarvex {
namespace {

using planning::FeedPlan;
using planning::InputKind;
using planning::InputProblemKind;
using planning::Plan;
using planning::PlanInputId;

// ---- JSON ----

void WriteNumbers(JsonWriter& json, std::initializer_list<std::pair<const char*, double>> members) {
    for (const auto& [key, value] : members) {
        json.Key(key);
        json.Number(value);
    }
}

// What the optics make of a feed, and where the formula would have put it.
void WriteBeam(JsonWriter& json, const FeedPlan& feed) {
    WriteNumbers(json, {{"axial_mm", feed.axial_mm},
                        {"loss_db", feed.loss_db},
                        {"beamwidth_deg", feed.beamwidth_deg}});
    json.Member("beam", feed.beam == planning::BeamKind::Degraded ? "degraded" : "clean");
    json.Key("formula");
    json.BeginObject();
    WriteNumbers(json, {{"right_mm", feed.formula.right_mm},
                        {"up_mm", feed.formula.up_mm},
                        {"distance_mm", feed.formula.distance_mm}});
    json.EndObject();
}

void WriteFeed(JsonWriter& json, const FeedPlan& feed, bool optics) {
    const std::pair<const char*, double> members[] = {
        {"sat", feed.satellite_deg},
        {"azimuth_deg", feed.azimuth_deg},
        {"magnetic_azimuth_deg", feed.magnetic_azimuth_deg},
        {"elevation_deg", feed.elevation_deg},
        {"separation_deg", feed.separation_deg},
        {"right_mm", feed.right_mm},
        {"up_mm", feed.up_mm},
        {"distance_mm", feed.distance_mm},
        {"tilt_deg", feed.tilt_deg},
        {"rotation_deg", feed.rotation_deg},
        {"relative_rotation_deg", feed.relative_rotation_deg},
        {"aim_deg", feed.aim_deg}};
    json.BeginObject();
    for (const auto& [key, value] : members) {
        json.Key(key);
        json.Number(value);
    }
    if (optics) {
        WriteBeam(json, feed);
    }
    json.EndObject();
}

void WriteOptics(JsonWriter& json, const std::optional<planning::OpticsFigures>& optics) {
    if (!optics) {
        json.Null();
        return;
    }
    json.BeginObject();
    WriteNumbers(json, {{"frequency_ghz", optics->frequency_ghz},
                        {"edge_taper_db", optics->edge_taper_db},
                        {"feed_exponent", optics->feed_exponent},
                        {"gain_dbi", optics->gain_dbi},
                        {"efficiency", optics->efficiency}});
    json.EndObject();
}

// Each satellite as the one the dish is aimed at, and the best of them; [] and null without the
// optics.
void WriteFocus(JsonWriter& json, const Plan& plan) {
    json.Key("focus");
    json.BeginArray();
    for (const planning::FocusChoice& choice : plan.focus) {
        json.BeginObject();
        WriteNumbers(json,
                     {{"sat", choice.satellite_deg}, {"worst_loss_db", choice.worst_loss_db}});
        json.EndObject();
    }
    json.EndArray();
    json.Key("best_focus_sat");
    if (plan.focus.empty()) {
        json.Null();
    } else {
        json.Number(plan.focus.at(static_cast<std::size_t>(plan.best_focus - 1)).satellite_deg);
    }
}

void WriteDish(JsonWriter& json, const planning::DishFigures& dish,
               const std::optional<planning::OpticsFigures>& optics) {
    json.BeginObject();
    json.Member("type", planning::DishTypeWords[static_cast<std::size_t>(dish.type)]);
    const std::pair<const char*, std::optional<double>> members[] = {
        {"focal_mm", dish.focal_length_mm},
        {"effective_focal_mm", dish.effective_focal_length_mm},
        {"aperture_mm", dish.aperture_mm},
        {"offset_angle_deg", dish.offset_angle_deg},
        {"f_over_d", dish.f_over_d},
        {"face_tilt_deg", dish.face_tilt_deg},
        {"feed_axis_elevation_deg", dish.feed_axis_elevation_deg}};
    for (const auto& [key, value] : members) {
        json.Key(key);
        json.Number(value);
    }
    json.Key("optics");
    WriteOptics(json, optics);
    json.EndObject();
}

void WriteWarning(JsonWriter& json, const planning::PlanWarning& warning, const Plan& plan) {
    json.BeginObject();
    json.Member("code", planning::WarningCode(warning.kind));
    if (warning.feed) {
        json.Key("feed");
        json.Integer(*warning.feed);
    }
    json.Member("message", WarningText(warning, plan));
    json.EndObject();
}

void WriteSun(JsonWriter& json, const FeedPlan& feed, const std::optional<planning::SunTime>& sun) {
    if (!sun) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("sat");
    json.Number(feed.satellite_deg);
    json.Member("utc", planning::IsoUtc(sun->unix_seconds));
    json.Key("local");
    if (sun->utc_offset_seconds) {
        json.String(planning::IsoLocal(sun->unix_seconds, *sun->utc_offset_seconds));
    } else {
        json.Null();
    }
    json.Key("elevation_deg");
    json.Number(sun->elevation_deg);
    json.EndObject();
}

// ---- Batch input ----

const std::array<std::string_view, planning::PlanInputCount>& Keys = planning::PlanInputKeys();

// A line's keys into a PlanInput: each value of its input's kind, a text read as the option of
// its key reads it.
class PlanLineReader : public FlatObjectReader {
  public:
    explicit PlanLineReader(planning::PlanInput& input) : FlatObjectReader(Keys), m_input(input) {}

  private:
    bool TakesList(std::size_t key) const override {
        return planning::PlanInputs[key].kind == InputKind::Satellites;
    }

    void StartList(std::size_t) override { m_input.satellites_deg.clear(); }

    void Take(std::size_t key, int element, Value value, double number,
              std::string& text) override {
        const planning::PlanInputRow& row = planning::PlanInputs[key];
        if (row.kind == InputKind::Satellites && element == 0) {
            return Report(InputProblemKind::NotAnArray, key);
        }
        // One satellite more than a plan takes is refused by its count: the rest are only
        // counted, never looked up.
        if (row.kind == InputKind::Satellites && element > static_cast<int>(planning::MaxFeeds)) {
            return Keep(row.id, std::numeric_limits<double>::quiet_NaN());
        }
        // A job's own texts go with it; the plan takes none of them.
        if (row.kind == InputKind::Text) {
            if (value != Value::String) {
                Report(InputProblemKind::NotOfItsKind, key, element);
            }
            return;
        }
        const bool numeric = row.kind != InputKind::Date && row.kind != InputKind::Choice &&
                             row.kind != InputKind::Switch;
        if (value == Value::OutOfRange && numeric) {
            return Report(InputProblemKind::OutOfRange, key, element);
        }
        std::optional<double> read;
        if (value == Value::Number && numeric) {
            read = number;
        } else if (value == Value::String) {
            if (!ReadText(row, element, text, read)) {
                return;
            }
        }
        if (read) {
            Keep(row.id, *read);
        } else {
            Report(InputProblemKind::NotOfItsKind, key, element);
        }
    }

    // A text where a value of `row`'s kind is taken: a number into `read`, a date or a dish's
    // type kept at once. False where the text's own problem has been reported.
    bool ReadText(const planning::PlanInputRow& row, int element, const std::string& text,
                  std::optional<double>& read) {
        switch (row.kind) {
            case InputKind::Date:
                if (const std::optional<planning::Date> date = planning::ParseDate(text)) {
                    m_input.date = *date;
                    return false;
                }
                return true;
            case InputKind::Choice:
                if (const std::optional<planning::DishType> type = planning::DishTypeOf(text)) {
                    m_input.dish.type = *type;
                    return false;
                }
                return true;
            case InputKind::Switch:
                if (const std::optional<bool> on = planning::SwitchOf(text)) {
                    m_input.optics = *on;
                    return false;
                }
                return true;
            case InputKind::Satellites: {
                auto longitude = SatelliteLongitude(text);
                if (auto* problem = std::get_if<planning::InputProblem>(&longitude)) {
                    problem->key = row.key;
                    problem->element = element;
                    Report(std::move(*problem));
                    return false;
                }
                read = std::get<double>(longitude);
                return true;
            }
            case InputKind::Angle:
                read = planning::ParseAngle(text);
                return true;
            case InputKind::Latitude:
                read = planning::ParseAngle(text, planning::AngleKind::Latitude);
                return true;
            case InputKind::Length:
            case InputKind::Ratio:
            case InputKind::Text:
            case InputKind::Number:
                break;
        }
        read = planning::ParseNumber(text);
        return true;
    }

    void Keep(PlanInputId id, double value) {
        if (std::optional<double>* length = planning::LengthOf(m_input, id)) {
            *length = value;
        } else if (double* number = planning::NumberOf(m_input, id)) {
            *number = value;
        } else if (id == PlanInputId::Longitude) {
            m_input.site_longitude_deg = value;
        } else if (id == PlanInputId::Latitude) {
            m_input.site_latitude_deg = value;
        } else if (id == PlanInputId::Satellites) {
            m_input.satellites_deg.push_back(value);
        }
    }

    planning::PlanInput& m_input;
};

}  // namespace

void WritePlace(JsonWriter& json, const names::Place& place) {
    json.BeginObject();
    json.Member("name", place.name);
    json.Member("region", place.region);
    json.Member("country", place.country);
    json.Member("latin_name", place.latin_name);
    json.Key("lat");
    json.Number(place.latitude_deg);
    json.Key("lon");
    json.Number(place.longitude_deg);
    json.Key("population");
    json.Integer(place.population);
    json.EndObject();
}

std::string PlanJson(const Plan& plan, const names::Place* place,
                     const std::vector<std::optional<planning::SunTime>>* sun) {
    JsonWriter json;
    json.BeginObject();
    if (place != nullptr) {
        json.Key("place");
        WritePlace(json, *place);
    }
    json.Key("beam_deviation_factor");
    json.Number(plan.beam_deviation_factor);
    json.Key("declination_deg");
    json.Number(plan.declination_deg);
    json.Key("dish");
    WriteDish(json, plan.dish, plan.optics);
    json.Key("feeds");
    json.BeginArray();
    for (const FeedPlan& feed : plan.feeds) {
        WriteFeed(json, feed, plan.optics.has_value());
    }
    json.EndArray();
    WriteFocus(json, plan);
    json.Key("warnings");
    json.BeginArray();
    for (const planning::PlanWarning& warning : plan.warnings) {
        WriteWarning(json, warning, plan);
    }
    json.EndArray();
    if (sun != nullptr) {
        json.Key("sun");
        json.BeginArray();
        for (std::size_t feed = 0; feed < plan.feeds.size() && feed < sun->size(); ++feed) {
            WriteSun(json, plan.feeds[feed], (*sun)[feed]);
        }
        json.EndArray();
    }
    json.EndObject();
    return std::move(json).Finish();
}

planning::PlanInput PlanInputOf(const PlanBatchDefaults& given) {
    planning::PlanInput input;
    input.site_longitude_deg = given.longitude_deg.value_or(0);
    input.site_latitude_deg = given.latitude_deg.value_or(0);
    input.satellites_deg = given.satellites_deg;
    input.focal_length_mm = given.focal_length_mm;
    input.diameter_mm = given.diameter_mm;
    input.dish = given.dish;
    input.date = given.date;
    input.frequency_ghz = given.frequency_ghz;
    input.edge_taper_db = given.edge_taper_db;
    input.lnb_width_mm = given.lnb_width_mm;
    input.optics = given.optics;
    return input;
}

std::variant<planning::PlanInput, planning::InputProblem> ParsePlanBatchLine(
    std::string_view line, const PlanBatchDefaults& defaults) {
    planning::PlanInput input = PlanInputOf(defaults);
    PlanLineReader reader(input);
    if (std::optional<planning::InputProblem> problem = reader.Read(line)) {
        return std::move(*problem);
    }
    const std::pair<PlanInputId, bool> required[] = {
        {PlanInputId::Longitude, defaults.longitude_deg.has_value()},
        {PlanInputId::Latitude, defaults.latitude_deg.has_value()},
        {PlanInputId::Satellites, !defaults.satellites_deg.empty()},
        // An offset dish, or a prime-focus one measured by its depth or f/D, has no focal length
        // to type.
        {PlanInputId::FocalLength,
         defaults.focal_length_mm.has_value() || input.dish.type == planning::DishType::Offset ||
             input.dish.depth_mm.has_value() || input.dish.f_over_d.has_value()}};
    for (const auto& [id, by_default] : required) {
        if (!by_default && !reader.Given(static_cast<std::size_t>(id))) {
            return planning::InputProblem{
                InputProblemKind::Missing, std::string(planning::RowOf(id).key), 0, {}, {}, {}};
        }
    }
    return input;
}

std::pair<std::string, bool> PlanBatchOutputLine(std::string_view line, long line_number,
                                                 const PlanBatchDefaults& defaults) {
    const auto parsed = ParsePlanBatchLine(line, defaults);
    if (const auto* problem = std::get_if<planning::InputProblem>(&parsed)) {
        return {ErrorLine(line_number, ProblemInEnglish(*problem)), false};
    }
    const auto plan = planning::MakePlan(std::get<planning::PlanInput>(parsed));
    if (const auto* refusal = std::get_if<planning::PlanRefusal>(&plan)) {
        return {ErrorLine(line_number, RefusalText(*refusal)), false};
    }
    return {PlanJson(std::get<Plan>(plan)), true};
}

}  // namespace tarvex
