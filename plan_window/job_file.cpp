#include "plan_window/job_file.h"

#include <array>
#include <cmath>
#include <map>

#include "conversions/typed_text.h"
#include "plan_io/flat_object_reader.h"
#include "plan_io/json_writer.h"
#include "plan_io/plan_batch.h"
#include "plan_text/plan_text.h"
#include "planning/today.h"

namespace tarvex {
namespace {

using planning::InputKind;
using planning::InputProblem;
using planning::InputProblemKind;
using planning::PlanInputId;

const std::array<std::string_view, planning::PlanInputCount>& Keys = planning::PlanInputKeys();

constexpr PlanField SatelliteFields[] = {PlanField::Satellite1, PlanField::Satellite2,
                                         PlanField::Satellite3, PlanField::Satellite4};

// A job line's values as the form's texts; numbers written as the plan's texts write them.
class JobReader : public FlatObjectReader {
  public:
    explicit JobReader(Job& job) : FlatObjectReader(Keys), m_job(job) {}

    int SatelliteCount() const { return m_satellites; }
    const std::map<planning::DishMeasure, std::string>& Measures() const { return m_measures; }

  private:
    bool TakesList(std::size_t key) const override {
        return planning::PlanInputs[key].kind == InputKind::Satellites;
    }

    void Take(std::size_t key, int element, Value value, double number,
              std::string& text) override {
        const planning::PlanInputRow& row = planning::PlanInputs[key];
        if (row.kind == InputKind::Satellites && element == 0) {
            return Report(InputProblemKind::NotAnArray, key);
        }
        if (value != Value::String && value != Value::Number) {
            return Report(InputProblemKind::NotOfItsKind, key, element);
        }
        std::string read = value == Value::String ? text : ShortText(number);
        const std::size_t limit = row.kind == InputKind::Text ? MaxJobTextBytes : MaxTypedBytes;
        if (const TextProblem problem = CheckTypedText(read, limit); problem != TextProblem::None) {
            InputProblem refused{
                InputProblemKind::TextRefused, std::string(row.key), element, {}, {}, problem};
            return Report(std::move(refused));
        }
        Keep(row, element, std::move(read));
    }

    void Keep(const planning::PlanInputRow& row, int element, std::string text) {
        const auto field = [this](PlanField at) -> std::string& {
            return m_job.texts[static_cast<std::size_t>(at)];
        };
        if (row.measure) {
            m_measures[*row.measure] = std::move(text);
            return;
        }
        switch (row.id) {
            case PlanInputId::Longitude:
                field(PlanField::SiteLongitude) = std::move(text);
                break;
            case PlanInputId::Latitude:
                field(PlanField::SiteLatitude) = std::move(text);
                break;
            case PlanInputId::Satellites:
                // Past the fourth only counted: the plan refuses them by their count.
                if (++m_satellites <= static_cast<int>(std::size(SatelliteFields))) {
                    field(SatelliteFields[element - 1]) = std::move(text);
                }
                break;
            case PlanInputId::Date:
                field(PlanField::Date) = std::move(text);
                break;
            case PlanInputId::Customer:
                m_job.notes.customer = std::move(text);
                break;
            case PlanInputId::Note:
                m_job.notes.note = std::move(text);
                break;
            default:
                break;
        }
    }

    Job& m_job;
    int m_satellites = 0;
    std::map<planning::DishMeasure, std::string> m_measures;
};

bool Takes(const std::vector<planning::DishMeasure>& measures, planning::DishMeasure measure) {
    return std::find(measures.begin(), measures.end(), measure) != measures.end();
}

// The way of measuring the dish of `type` that takes every measurement given and has all it
// requires; none where no way does.
std::optional<DishWayIndex> WayOf(planning::DishType type,
                                  const std::map<planning::DishMeasure, std::string>& given) {
    for (DishWayIndex way = 0; way < std::size(planning::DishWays); ++way) {
        const planning::DishWay& ways = planning::DishWays[way];
        bool fits = ways.type == type;
        for (const planning::DishMeasure measure : ways.required) {
            fits = fits && given.contains(measure);
        }
        for (const auto& [measure, text] : given) {
            fits = fits && (Takes(ways.required, measure) || Takes(ways.optional, measure));
        }
        if (fits) {
            return way;
        }
    }
    return std::nullopt;
}

// A file name's part with every character a file system refuses made '_'.
std::string SafeName(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return text;
}

}  // namespace

std::string JobJson(const Job& job) {
    const std::string_view satellites = planning::RowOf(PlanInputId::Satellites).key;
    JsonWriter json;
    json.BeginObject();
    for (const auto& [key, value] : JobPairs(job.texts, job.way, job.notes)) {
        if (key != satellites) {
            json.Member(key, value);
            continue;
        }
        json.Key(key);
        json.BeginArray();
        for (std::size_t start = 0; start <= value.size();) {
            const std::size_t end = std::min(value.find(',', start), value.size());
            json.String(std::string_view(value).substr(start, end - start));
            start = end + 1;
        }
        json.EndArray();
    }
    json.EndObject();
    return std::move(json).Finish() + "\n";
}

std::variant<Job, InputProblem> ReadJob(std::string_view text) {
    Job job;
    JobReader reader(job);
    if (std::optional<InputProblem> problem = reader.Read(text)) {
        return std::move(*problem);
    }
    PlanBatchDefaults defaults;
    defaults.date = planning::LocalToday();
    const auto parsed = ParsePlanBatchLine(text, defaults);
    if (const auto* problem = std::get_if<InputProblem>(&parsed)) {
        return *problem;
    }
    const planning::PlanInput& input = std::get<planning::PlanInput>(parsed);
    if (reader.SatelliteCount() > static_cast<int>(std::size(SatelliteFields))) {
        planning::PlanRefusal count;
        count.kind = planning::RefusalKind::SatelliteCount;
        count.value = reader.SatelliteCount();
        return planning::RefusalProblem(count);
    }
    const std::optional<DishWayIndex> way = WayOf(input.dish.type, reader.Measures());
    if (!way) {
        // The plan's own refusal names the measurement that does not fit.
        const auto plan = planning::MakePlan(input);
        planning::PlanRefusal refusal;
        refusal.kind = planning::RefusalKind::Dish;
        refusal.dish.problem = planning::DishProblem::TwoWaysToFocus;
        if (const auto* refused = std::get_if<planning::PlanRefusal>(&plan);
            refused && refused->kind == planning::RefusalKind::Dish) {
            refusal = *refused;
        }
        return planning::RefusalProblem(refusal);
    }
    job.way = *way;
    for (const auto& [measure, value] : reader.Measures()) {
        job.texts[static_cast<std::size_t>(FieldOf(measure))] = value;
    }
    if (job.texts[static_cast<std::size_t>(PlanField::Date)].empty()) {
        job.texts[static_cast<std::size_t>(PlanField::Date)] = DateText(input.date);
    }
    return job;
}

std::string CardFileName(std::string_view place, const planning::PlanInput& input) {
    std::string name = place.empty() ? ShortText(input.site_latitude_deg) + " " +
                                           ShortText(input.site_longitude_deg)
                                     : std::string(place);
    for (const double satellite : input.satellites_deg) {
        name += " " + ShortText(std::fabs(satellite)) + (satellite < 0 ? "W" : "E");
    }
    return SafeName(name + " " + DateText(input.date)) + ".pdf";
}

}  // namespace tarvex
