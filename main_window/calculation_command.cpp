#include "main_window/calculation_command.h"

#include <algorithm>
#include <string_view>

#include "conversions/mixed_value.h"
#include "conversions/number_text.h"
#include "conversions/text.h"
#include "geometry/feed_offsets.h"
#include "geometry/look_angles.h"

namespace tarvex {
namespace {

constexpr const char* RotationPattern = "##.#";
constexpr const char* OffsetUnit = "мм-->";

bool HasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The rotation angle rounded to one decimal by the pattern and rendered again. Below 0.05 degrees
// the pattern leaves no digit at all ("."), which does not read back as a number: that angle is
// shown as 0.
//   (23.4787, " +") -> " + 23.5";  (12.0, " +") -> " + 12";  (0.02, "") -> " 0"
std::string RotationText(const FeedRotationResult& rotation) {
    const std::string rounded = FormatNumber(rotation.rotation_angle, RotationPattern);
    const std::string angle =
        HasDigit(rounded) ? NumberToText(MixedValue(rounded)) : NumberToText(0.0);
    return Concat(rotation.rotation_sign, angle);
}

// The first 8 characters of the distance, cut and not rounded, then the unit and the word.
//   (33.26493491, "НИЖЕ") -> " 33.2649мм-->НИЖЕ"
std::string OffsetText(const FeedOffset& offset) {
    return Concat(Concat(Substring(NumberToText(offset.distance), 1, 8), OffsetUnit), offset.word);
}

float AngleAsSingle(std::string_view degrees, std::string_view minutes) {
    return AsSingle(AngleFromDegMin(degrees, minutes));
}

}  // namespace

void CalculationCommand::Run(CalculationView& view) {
    if (!Validate(view)) {
        return;
    }
    RunFirstPass(view);
    RunSecondPass(view);
}

bool CalculationCommand::Validate(CalculationView& view) const {
    const std::pair<FieldId, const char*> required[] = {
        {FieldId::Satellite1Degrees, NoSatellite1Message},
        {FieldId::Satellite2Degrees, NoSatellite2Message},
        {FieldId::FocalLength, NoFocalLengthMessage},
    };
    for (const auto& [field, message] : required) {
        if (TextEquals(view.FieldText(field), "")) {
            view.ShowMessage(message);
            return false;
        }
    }
    return true;
}

void CalculationCommand::ReadSite(const CalculationView& view) {
    m_site_longitude = AngleAsSingle(view.FieldText(FieldId::SiteLongitudeDegrees),
                                     view.FieldText(FieldId::SiteLongitudeMinutes));
    m_site_latitude = AngleFromDegMin(view.FieldText(FieldId::SiteLatitudeDegrees),
                                      view.FieldText(FieldId::SiteLatitudeMinutes));
}

void CalculationCommand::RunFirstPass(CalculationView& view) {
    ReadSite(view);
    m_angle_texts.site_longitude = NumberToText(m_site_longitude);
    m_angle_texts.site_latitude = NumberToText(m_site_latitude);
    m_satellite_longitude = AngleAsSingle(view.FieldText(FieldId::Satellite1Degrees),
                                          view.FieldText(FieldId::Satellite1Minutes));

    const LookAngles satellite1(m_site_longitude, m_site_latitude, m_satellite_longitude,
                                Precision::Double);
    m_alfa1 = satellite1.Azimuth();
    view.SetFieldText(FieldId::Azimuth1, NumberToText(m_alfa1));
    m_beta1 = satellite1.Elevation();
}

void CalculationCommand::RunSecondPass(CalculationView& view) {
    // The site is converted again, but its texts stay those of the first pass.
    ReadSite(view);
    m_satellite_longitude = AngleAsSingle(view.FieldText(FieldId::Satellite2Degrees),
                                          view.FieldText(FieldId::Satellite2Minutes));
    m_angle_texts.satellite2_longitude = NumberToText(m_satellite_longitude);

    view.SetFieldText(FieldId::Rotation, RotationText(FeedRotation(m_angle_texts)));

    const LookAngles satellite2(m_site_longitude, m_site_latitude, m_satellite_longitude,
                                Precision::Single);
    // Single precision: the results are exact singles.
    m_alfa2 = static_cast<float>(satellite2.Azimuth());
    view.SetFieldText(FieldId::Azimuth2, NumberToText(m_alfa2));

    m_beta2 = static_cast<float>(satellite2.Elevation());
    WriteOffsets(view);
    view.SetFieldText(FieldId::Elevation1, NumberToText(m_beta1));
    view.SetFieldText(FieldId::Elevation2, NumberToText(m_beta2));
    view.WriteResultsFile(m_alfa1, m_beta1);
}

void CalculationCommand::WriteOffsets(CalculationView& view) const {
    const double focal_length = ParseLeadingNumber(view.FieldText(FieldId::FocalLength));
    const FeedOffsetsResult offsets = FeedOffsets(m_alfa1, m_beta1, m_alfa2, m_beta2, focal_length,
                                                  HemisphereOf(m_site_latitude));
    view.SetFieldText(FieldId::VerticalOffset, OffsetText(offsets.vertical));
    view.SetFieldText(FieldId::HorizontalOffset, OffsetText(offsets.horizontal));
}

}  // namespace tarvex
