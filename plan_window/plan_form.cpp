#include "plan_window/plan_form.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "conversions/float_chars.h"
#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "geometry/feed_offsets.h"
#include "geometry/look_angles.h"
#include "names/satellites.h"
#include "names/site_text.h"
#include "plan_io/satellite_longitude.h"
#include "plan_text/plan_text.h"
#include "planning/typed_input.h"

namespace tarvex {
namespace {

using planning::InputProblem;
using planning::InputProblemKind;
using planning::PlanInputId;

// Without surrounding blanks, a decimal comma made a point.
std::string Normalized(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    std::string result(text.substr(first, text.find_last_not_of(" \t") - first + 1));
    for (char& c : result) {
        c = c == ',' ? '.' : c;
    }
    return result;
}

constexpr std::pair<planning::DishMeasure, PlanField> MeasureFields[] = {
    {planning::DishMeasure::FocalLength, PlanField::FocalLength},
    {planning::DishMeasure::Diameter, PlanField::Diameter},
    {planning::DishMeasure::Depth, PlanField::Depth},
    {planning::DishMeasure::Width, PlanField::Width},
    {planning::DishMeasure::Height, PlanField::Height},
    {planning::DishMeasure::FeedDistance, PlanField::FeedDistance},
    {planning::DishMeasure::RimLow, PlanField::RimLow},
    {planning::DishMeasure::RimHigh, PlanField::RimHigh},
    {planning::DishMeasure::FOverD, PlanField::FOverD},
};

// The fields of numbers other than the dish's measurements, and their inputs.
constexpr std::pair<PlanField, PlanInputId> NumberFields[] = {
    {PlanField::Frequency, PlanInputId::Frequency},
    {PlanField::LnbWidth, PlanInputId::LnbWidth},
};

std::optional<PlanInputId> NumberInputOf(PlanField field) {
    for (const auto& [number_field, input] : NumberFields) {
        if (number_field == field) {
            return input;
        }
    }
    return std::nullopt;
}

// The problem `kind` of the input a field gives: its key, and for a satellite its element.
InputProblem ProblemOf(PlanField field, InputProblemKind kind, std::string text = {}) {
    PlanInputId input = PlanInputId::Date;
    int element = 0;
    if (field == PlanField::SiteLongitude) {
        input = PlanInputId::Longitude;
    } else if (field == PlanField::SiteLatitude) {
        input = PlanInputId::Latitude;
    } else if (field >= PlanField::Satellite1 && field <= PlanField::Satellite4) {
        input = PlanInputId::Satellites;
        element = static_cast<int>(field) - static_cast<int>(PlanField::Satellite1) + 1;
    } else if (const std::optional<planning::DishMeasure> measure = MeasureOf(field)) {
        input = planning::InputOf(*measure);
    } else if (const std::optional<PlanInputId> number = NumberInputOf(field)) {
        input = *number;
    }
    return {kind, std::string(planning::RowOf(input).key), element, std::move(text), {}, {}};
}

class FormReader {
  public:
    explicit FormReader(const PlanFormTexts& texts) : m_texts(texts) {}

    std::optional<double> Angle(PlanField field, bool required) {
        const std::string text = Text(field);
        if (text.empty()) {
            return Missing(field, required);
        }
        if (field >= PlanField::Satellite1 && field <= PlanField::Satellite4) {
            SatelliteReading satellite =
                ReadSatelliteText(m_texts[static_cast<std::size_t>(field)]);
            if (satellite.problem) {
                satellite.problem->key = ProblemOf(field, InputProblemKind::Missing).key;
                satellite.problem->element = ProblemOf(field, InputProblemKind::Missing).element;
                m_errors.push_back({field, std::move(*satellite.problem)});
            }
            return satellite.longitude_deg;
        }
        const bool latitude = field == PlanField::SiteLatitude;
        const AngleReading angle =
            ReadAngle(text, latitude ? AngleKind::Latitude : AngleKind::Longitude);
        if (angle.degrees) {
            return angle.degrees;
        }
        return angle.problem == TextProblem::NotANumber
                   ? Fail(field, InputProblemKind::NotOfItsKind, text)
                   : FailText(field, angle.problem, text);
    }

    std::optional<double> Length(PlanField field, bool required) {
        const std::string text = Text(field);
        if (text.empty()) {
            return Missing(field, required);
        }
        const std::optional<double> length = planning::ParseNumber(text);
        if (!length) {
            return Fail(field, InputProblemKind::NotOfItsKind, text);
        }
        return *length > 0 ? length : Fail(field, InputProblemKind::NotPositive, text);
    }

    std::optional<planning::Date> Date() {
        const std::string text = Text(PlanField::Date);
        if (text.empty()) {
            Missing(PlanField::Date, true);
            return std::nullopt;
        }
        const std::optional<planning::Date> date = planning::ParseDate(text);
        if (!date) {
            Fail(PlanField::Date, InputProblemKind::NotOfItsKind, text);
        }
        return date;
    }

    std::optional<double> Fail(PlanField field, InputProblemKind kind, std::string text = {}) {
        m_errors.push_back({field, ProblemOf(field, kind, std::move(text))});
        return std::nullopt;
    }

    // A text refused before it is read as a number: not UTF-8, too long, a sign with a hemisphere.
    std::optional<double> FailText(PlanField field, TextProblem why, std::string text) {
        InputProblem problem = ProblemOf(field, InputProblemKind::TextRefused, std::move(text));
        problem.text = why;
        m_errors.push_back({field, std::move(problem)});
        return std::nullopt;
    }

    // The latitude beyond the poles, refused as the plan refuses it.
    std::optional<double> LatitudeBeyondPoles(double latitude) {
        planning::PlanRefusal refusal;
        refusal.kind = planning::RefusalKind::SiteLatitude;
        refusal.value = latitude;
        m_errors.push_back({PlanField::SiteLatitude, planning::RefusalProblem(refusal)});
        return std::nullopt;
    }

    bool Empty(PlanField field) const { return Text(field).empty(); }
    std::vector<PlanFieldError> TakeErrors() { return std::move(m_errors); }

    std::string Text(PlanField field) const {
        return Normalized(m_texts[static_cast<std::size_t>(field)]);
    }

  private:
    std::optional<double> Missing(PlanField field, bool required) {
        return required ? Fail(field, InputProblemKind::Missing) : std::nullopt;
    }

    const PlanFormTexts& m_texts;
    std::vector<PlanFieldError> m_errors;
};

const planning::DishWay& WayAt(DishWayIndex way) {
    return planning::DishWays[way < std::size(planning::DishWays) ? way : 0];
}

// Percent-encoded but for the characters a URL leaves as they are.
std::string UrlEncoded(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string result;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~') {
            result += c;
        } else {
            result += '%';
            result += Hex[byte >> 4];
            result += Hex[byte & 15];
        }
    }
    return result;
}

}  // namespace

std::optional<planning::DishMeasure> MeasureOf(PlanField field) {
    for (const auto& [dish_measure, measure_field] : MeasureFields) {
        if (measure_field == field) {
            return dish_measure;
        }
    }
    return std::nullopt;
}

PlanField FieldOf(planning::DishMeasure measure) {
    for (const auto& [dish_measure, field] : MeasureFields) {
        if (dish_measure == measure) {
            return field;
        }
    }
    return PlanField::FocalLength;
}

DishWayFields FieldsOfWay(DishWayIndex way) {
    DishWayFields fields;
    for (const planning::DishMeasure measure : WayAt(way).required) {
        fields.required.push_back(FieldOf(measure));
    }
    for (const planning::DishMeasure measure : WayAt(way).optional) {
        // The window needs the dish's size: the diameter beside F is no longer optional.
        (measure == planning::DishMeasure::Diameter ? fields.required : fields.optional)
            .push_back(FieldOf(measure));
    }
    return fields;
}

std::optional<PlanField> DishRefusalField(const planning::PlanRefusal& refusal) {
    const planning::PlanInputId input = planning::RefusedInput(refusal).input;
    for (const auto& [field, number] : NumberFields) {
        if (number == input) {
            return field;
        }
    }
    if (refusal.kind != planning::RefusalKind::Dish) {
        return std::nullopt;
    }
    for (const auto& [measure, field] : MeasureFields) {
        if (planning::InputOf(measure) == input) {
            return field;
        }
    }
    return std::nullopt;
}

SatelliteReading ReadSatelliteText(std::string_view typed) {
    if (const std::optional<double> angle = planning::ParseAngle(Normalized(typed))) {
        return {angle, {}};
    }
    // The typed text with its own comma: a name or a list's entry ("Eutelsat5, Eutelsat 5 ...").
    auto longitude = SatelliteLongitude(typed);
    if (auto* problem = std::get_if<InputProblem>(&longitude)) {
        return {std::nullopt, std::move(*problem)};
    }
    return {std::get<double>(longitude), {}};
}

PlanFormReading ReadPlanForm(const PlanFormTexts& texts, DishWayIndex way) {
    FormReader reader(texts);
    const std::optional<double> longitude = reader.Angle(PlanField::SiteLongitude, true);
    std::optional<double> latitude = reader.Angle(PlanField::SiteLatitude, true);
    if (latitude && std::abs(*latitude) > 90) {
        latitude = reader.LatitudeBeyondPoles(*latitude);
    }
    std::vector<double> satellites;
    bool satellites_read = true;
    for (const PlanField field : {PlanField::Satellite1, PlanField::Satellite2,
                                  PlanField::Satellite3, PlanField::Satellite4}) {
        const bool required = field == PlanField::Satellite1 || field == PlanField::Satellite2;
        if (field == PlanField::Satellite4 && !reader.Empty(field) &&
            reader.Empty(PlanField::Satellite3)) {
            satellites_read = reader.Fail(field, InputProblemKind::SatelliteSkipped).has_value();
            continue;
        }
        const std::optional<double> satellite = reader.Angle(field, required);
        if (satellite) {
            satellites.push_back(*satellite);
        } else if (required || !reader.Empty(field)) {
            satellites_read = false;
        }
    }
    const std::optional<planning::Date> date = reader.Date();
    planning::PlanInput input;
    input.dish.type = WayAt(way).type;
    const DishWayFields fields = FieldsOfWay(way);
    for (const auto& [measure, field] : MeasureFields) {
        const bool required = std::find(fields.required.begin(), fields.required.end(), field) !=
                              fields.required.end();
        if (!required && std::find(fields.optional.begin(), fields.optional.end(), field) ==
                             fields.optional.end()) {
            continue;  // not the chosen way's: hidden, and not read
        }
        *planning::LengthOf(input, planning::InputOf(measure)) = reader.Length(field, required);
    }
    // Blank: the input's default; a number out of its range is the plan's to refuse.
    for (const auto& [field, id] : NumberFields) {
        if (reader.Empty(field)) {
            continue;
        }
        const std::string text = reader.Text(field);
        if (const std::optional<double> number = planning::ParseNumber(text)) {
            *planning::NumberOf(input, id) = *number;
        } else {
            reader.Fail(field, InputProblemKind::NotOfItsKind, text);
        }
    }

    PlanFormReading reading;
    reading.errors = reader.TakeErrors();
    // The errors in the order of PlanField, as the window lists them.
    std::stable_sort(
        reading.errors.begin(), reading.errors.end(),
        [](const PlanFieldError& a, const PlanFieldError& b) { return a.field < b.field; });
    if (reading.errors.empty() && longitude && latitude && satellites_read && date) {
        input.site_longitude_deg = *longitude;
        input.site_latitude_deg = *latitude;
        input.satellites_deg = std::move(satellites);
        input.date = *date;
        reading.input = std::move(input);
    }
    return reading;
}

std::string MainWindowAngleText(std::string_view degrees, std::string_view minutes) {
    if (Normalized(degrees).empty() && Normalized(minutes).empty()) {
        return {};
    }
    const double total = ParseLeadingNumber(degrees) * 60 + ParseLeadingNumber(minutes);
    if (!std::isfinite(total)) {
        return std::string(degrees);
    }
    // Minutes to a millionth: the field's own decimals, without the binary noise of the sum.
    double whole = std::trunc(std::abs(total) / 60);
    double rest = std::round((std::abs(total) - whole * 60) * 1e6) / 1e6;
    if (rest >= 60) {
        whole += 1;
        rest = 0;
    }
    const std::string sign = total < 0 && (whole > 0 || rest > 0) ? "-" : "";
    return sign + ShortText(whole) + (rest > 0 ? ":" + ShortText(rest) : "");
}

PlanFormTexts FillFromMainWindow(PlanFormTexts texts, const CalculationView& main_window,
                                 DishWayIndex way) {
    const auto angle = [&](FieldId degrees, FieldId minutes) {
        return MainWindowAngleText(main_window.FieldText(degrees), main_window.FieldText(minutes));
    };
    const auto set = [&](PlanField field, std::string text) {
        texts[static_cast<std::size_t>(field)] = std::move(text);
    };
    set(PlanField::SiteLongitude,
        angle(FieldId::SiteLongitudeDegrees, FieldId::SiteLongitudeMinutes));
    set(PlanField::SiteLatitude, angle(FieldId::SiteLatitudeDegrees, FieldId::SiteLatitudeMinutes));
    set(PlanField::Satellite1, angle(FieldId::Satellite1Degrees, FieldId::Satellite1Minutes));
    set(PlanField::Satellite2, angle(FieldId::Satellite2Degrees, FieldId::Satellite2Minutes));
    set(PlanField::Satellite3, {});
    set(PlanField::Satellite4, {});
    if (WayAt(way).type == planning::DishType::Offset) {
        return texts;  // the main window's F is a prime-focus dish's: the offset dish stays
    }
    const std::string focal = main_window.FieldText(FieldId::FocalLength);
    const double focal_length = ParseLeadingNumber(focal);
    set(PlanField::FocalLength, Normalized(focal).empty()     ? std::string()
                                : std::isfinite(focal_length) ? ShortText(focal_length)
                                                              : focal);
    // A new job: nothing of the last prime-focus dish stays beside the main window's F.
    set(PlanField::Diameter, {});
    set(PlanField::Depth, {});
    return texts;
}

std::optional<SiteTexts> PastedSite(std::string_view before, std::string_view after) {
    if (after.size() <= before.size() + 1) {
        return std::nullopt;
    }
    const names::SiteReading site = names::ReadSite(after);
    if (site.outcome != names::SiteReading::Outcome::Read) {
        return std::nullopt;
    }
    // To a millionth of a degree (0.1 m), not the binary noise of minutes and seconds.
    const auto text = [](double degrees) {
        std::string fixed = FixedText(degrees, 6);
        fixed.erase(fixed.find_last_not_of('0') + 1);
        return fixed.back() == '.' ? fixed.substr(0, fixed.size() - 1) : fixed;
    };
    return SiteTexts{text(site.readings.front().longitude_deg),
                     text(site.readings.front().latitude_deg)};
}

FormPairs JobPairs(const PlanFormTexts& texts, DishWayIndex way, const JobNotes& notes) {
    const FormReader reader(texts);
    FormPairs pairs;
    const auto add = [&](planning::PlanInputId input, std::string value) {
        if (!value.empty()) {
            pairs.emplace_back(planning::RowOf(input).key, std::move(value));
        }
    };
    add(planning::PlanInputId::Longitude, reader.Text(PlanField::SiteLongitude));
    add(planning::PlanInputId::Latitude, reader.Text(PlanField::SiteLatitude));
    std::string satellites;
    for (const PlanField field : {PlanField::Satellite1, PlanField::Satellite2,
                                  PlanField::Satellite3, PlanField::Satellite4}) {
        const std::string text = reader.Text(field);
        if (text.empty()) {
            continue;
        }
        // A list's entry holds commas of its own: the position is given instead.
        const SatelliteReading satellite =
            ReadSatelliteText(texts[static_cast<std::size_t>(field)]);
        satellites += (satellites.empty() ? "" : ",") +
                      (satellite.longitude_deg ? ShortText(*satellite.longitude_deg) : text);
    }
    add(planning::PlanInputId::Satellites, satellites);
    const DishWayFields fields = FieldsOfWay(way);
    std::vector<PlanField> shown = fields.required;
    shown.insert(shown.end(), fields.optional.begin(), fields.optional.end());
    std::sort(shown.begin(), shown.end());
    for (const PlanField field : shown) {
        if (const std::optional<planning::DishMeasure> measure = MeasureOf(field)) {
            add(planning::InputOf(*measure), reader.Text(field));
        }
    }
    const std::optional<planning::Date> date = planning::ParseDate(reader.Text(PlanField::Date));
    add(planning::PlanInputId::Date, date ? DateText(*date) : reader.Text(PlanField::Date));
    add(planning::PlanInputId::Dish,
        std::string(planning::DishTypeWords[static_cast<std::size_t>(WayAt(way).type)]));
    add(planning::PlanInputId::Customer, notes.customer);
    add(planning::PlanInputId::Note, notes.note);
    return pairs;
}

std::string PhonePageQuery(const PlanFormTexts& texts, DishWayIndex way, const JobNotes& notes) {
    std::string query;
    for (const auto& [key, value] : JobPairs(texts, way, notes)) {
        query += (query.empty() ? "" : "&") + std::string(key) + "=" + UrlEncoded(value);
    }
    return query;
}

std::string PageWithDefaults(std::string_view html, std::string_view query) {
    // The address where the browser lets a file's page change it (the page then plans at once),
    // else the query kept for the page to fill its fields from.
    static constexpr std::string_view Script =
        R"(<script>/* Tarvex: the plan window's inputs as this copy's defaults. */
(function () {
  var query = "@QUERY@";
  if (location.search.length > 1) return;
  try { history.replaceState(null, "", "?" + query); } catch (e) {}
  if (location.search.length <= 1) window.tarvexDefaults = query;
})();
</script>
)";
    // The query is percent-encoded: nothing in it ends the script or the string.
    std::string script(Script);
    script.replace(script.find("@QUERY@"), 7, query);
    std::string page(html);
    // First in the head, before the page's own script reads the address.
    std::size_t at = page.find("<head>");
    at = at != std::string::npos ? at : page.find("<head ");  // never <header>
    at = at == std::string::npos ? std::string::npos : page.find('>', at);
    page.insert(at == std::string::npos ? 0 : at + 1, "\n" + script);
    return page;
}

std::optional<FeedPosition> MainWindowFeed2(const planning::PlanInput& input) {
    // Radians as the main window holds them: from minutes, the longitudes as singles.
    const auto radians = [](double degrees) { return (PI * (degrees * 60)) / 10800; };
    const auto single = [&](double degrees) { return static_cast<float>(radians(degrees)); };
    if (input.satellites_deg.size() < 2 || !input.focal_length_mm) {
        return std::nullopt;
    }
    try {
        const float site = single(input.site_longitude_deg);
        const double latitude = radians(input.site_latitude_deg);
        const LookAngles first(site, latitude, single(input.satellites_deg[0]), Precision::Double);
        const LookAngles second(site, latitude, single(input.satellites_deg[1]), Precision::Single);
        const FeedOffsetsResult offsets = FeedOffsets(
            first.Azimuth(), first.Elevation(), static_cast<float>(second.Azimuth()),
            static_cast<float>(second.Elevation()), *input.focal_length_mm, HemisphereOf(latitude));
        return FeedPosition{offsets.horizontal.signed_distance, offsets.vertical.signed_distance};
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

}  // namespace tarvex
