#include "plan_window/plan_form.h"

#include <charconv>
#include <cmath>

#include "conversions/float_chars.h"
#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "geometry/feed_offsets.h"
#include "geometry/look_angles.h"
#include "planning/typed_input.h"

namespace tarvex {
namespace {

constexpr const char* Required = "Заполните поле";
constexpr const char* AngleExample =
    "Градусы (35.4615), градусы:минуты (35:27.69) или 35°27′41″, можно с в.д./з.д.";
constexpr const char* LatitudeExample =
    "Градусы (32.8083), градусы:минуты (32:48.5) или 32°48′30″, можно с с.ш./ю.ш.";

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

// Shortest text that reads back as `value`.
std::string DecimalText(double value) {
    char buffer[32];
    const auto [end, error] = float_chars::ToChars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

class FormReader {
  public:
    explicit FormReader(const PlanFormTexts& texts) : m_texts(texts) {}

    std::optional<double> Angle(PlanField field, bool required) {
        const std::string text = Text(field);
        if (text.empty()) {
            return Missing(field, required);
        }
        const bool latitude = field == PlanField::SiteLatitude;
        const std::optional<double> angle = planning::ParseAngle(
            text, latitude ? planning::AngleKind::Latitude : planning::AngleKind::Longitude);
        return angle ? angle : Fail(field, latitude ? LatitudeExample : AngleExample);
    }

    std::optional<double> Length(PlanField field, bool required) {
        const std::string text = Text(field);
        if (text.empty()) {
            return Missing(field, required);
        }
        const std::optional<double> length = planning::ParseNumber(text);
        return length && *length > 0 ? length : Fail(field, "Число миллиметров больше нуля");
    }

    std::optional<planning::Date> Date() {
        const std::string text = Text(PlanField::Date);
        if (text.empty()) {
            Missing(PlanField::Date, true);
            return std::nullopt;
        }
        const std::optional<planning::Date> date = planning::ParseDate(text);
        if (!date) {
            Fail(PlanField::Date, "Дата в виде ГГГГ-ММ-ДД или ДД.ММ.ГГГГ, например 2026-12-07");
        }
        return date;
    }

    std::optional<double> Fail(PlanField field, const char* message) {
        m_errors.push_back({field, message});
        return std::nullopt;
    }

    bool Empty(PlanField field) const { return Text(field).empty(); }
    std::vector<PlanFieldError> TakeErrors() { return std::move(m_errors); }

  private:
    std::string Text(PlanField field) const {
        return Normalized(m_texts[static_cast<std::size_t>(field)]);
    }
    std::optional<double> Missing(PlanField field, bool required) {
        return required ? Fail(field, Required) : std::nullopt;
    }

    const PlanFormTexts& m_texts;
    std::vector<PlanFieldError> m_errors;
};

}  // namespace

PlanFormReading ReadPlanForm(const PlanFormTexts& texts) {
    FormReader reader(texts);
    const std::optional<double> longitude = reader.Angle(PlanField::SiteLongitude, true);
    std::optional<double> latitude = reader.Angle(PlanField::SiteLatitude, true);
    if (latitude && std::abs(*latitude) > 90) {
        latitude = reader.Fail(PlanField::SiteLatitude, "Широта от -90 до 90 градусов");
    }
    std::vector<double> satellites;
    bool satellites_read = true;
    for (const PlanField field : {PlanField::Satellite1, PlanField::Satellite2,
                                  PlanField::Satellite3, PlanField::Satellite4}) {
        const bool required = field == PlanField::Satellite1 || field == PlanField::Satellite2;
        if (field == PlanField::Satellite4 && !reader.Empty(field) &&
            reader.Empty(PlanField::Satellite3)) {
            satellites_read = reader.Fail(field, "Сначала заполните спутник 3").has_value();
            continue;
        }
        const std::optional<double> satellite = reader.Angle(field, required);
        if (satellite) {
            satellites.push_back(*satellite);
        } else if (required || !reader.Empty(field)) {
            satellites_read = false;
        }
    }
    const std::optional<double> focal_length = reader.Length(PlanField::FocalLength, true);
    const std::optional<double> diameter = reader.Length(PlanField::Diameter, false);
    const std::optional<planning::Date> date = reader.Date();

    PlanFormReading reading;
    reading.errors = reader.TakeErrors();
    if (reading.errors.empty() && longitude && latitude && satellites_read && focal_length &&
        date) {
        reading.input = planning::PlanInput{
            *longitude, *latitude, std::move(satellites), *focal_length, diameter, *date, {}};
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
    return sign + DecimalText(whole) + (rest > 0 ? ":" + DecimalText(rest) : "");
}

PlanFormTexts FillFromMainWindow(PlanFormTexts texts, const CalculationView& main_window) {
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
    const std::string focal = main_window.FieldText(FieldId::FocalLength);
    const double focal_length = ParseLeadingNumber(focal);
    set(PlanField::FocalLength, Normalized(focal).empty()     ? std::string()
                                : std::isfinite(focal_length) ? DecimalText(focal_length)
                                                              : focal);
    // A new job: nothing of the last one's extra satellites or dish stays.
    for (const PlanField field :
         {PlanField::Satellite3, PlanField::Satellite4, PlanField::Diameter}) {
        set(field, {});
    }
    return texts;
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
