#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The sixteen fields of the calculation, once: what each is for, the control that shows it, and
// how the window, the command line and JSON name it. The window, tarvex-calc and the tests all
// read this table, so a field's default text or caption cannot drift apart between them.

namespace tarvex {

// By role, in the order of the controls' design names (Text1 to Text16).
enum class FieldId {
    SiteLongitudeDegrees,  // Text1
    SiteLongitudeMinutes,
    SiteLatitudeDegrees,
    SiteLatitudeMinutes,
    Satellite1Degrees,  // Text5
    Satellite1Minutes,
    Elevation1,  // Text7: BETA1
    Azimuth1,    // Text8: ALFA1
    Satellite2Degrees,
    Satellite2Minutes,
    Elevation2,  // Text11: BETA2
    Azimuth2,    // Text12: ALFA2
    FocalLength,
    VerticalOffset,
    HorizontalOffset,
    Rotation,  // Text16
};

inline constexpr std::size_t FieldCount = 16;

struct FieldSpec {
    FieldId id;
    const char* design_name;   // the control's name: "Text13"
    const char* default_text;  // what a fresh window shows: "35", mostly ""
    // Results only: the caption the window shows beside the field, with the runs of blanks that
    // break or place it there: "    1) ALFA-азимут".
    const char* caption;
    // Inputs only: tarvex-calc's option and the batch line's key ("--focal", "focal"); results:
    // no option and the key of the JSON answer ("azimuth1").
    const char* option;
    std::string_view key;
};

inline constexpr std::array<FieldSpec, FieldCount> Fields = {{
    {FieldId::SiteLongitudeDegrees, "Text1", "35", "", "--site-lon-deg", "site_lon_deg"},
    {FieldId::SiteLongitudeMinutes, "Text2", "27.69", "", "--site-lon-min", "site_lon_min"},
    {FieldId::SiteLatitudeDegrees, "Text3", "32", "", "--site-lat-deg", "site_lat_deg"},
    {FieldId::SiteLatitudeMinutes, "Text4", "48.5", "", "--site-lat-min", "site_lat_min"},
    {FieldId::Satellite1Degrees, "Text5", "", "", "--sat1-deg", "sat1_deg"},
    {FieldId::Satellite1Minutes, "Text6", "", "", "--sat1-min", "sat1_min"},
    {FieldId::Elevation1, "Text7", "", "1)  BETA-угол  места", nullptr, "elevation1"},
    {FieldId::Azimuth1, "Text8", "", "    1) ALFA-азимут", nullptr, "azimuth1"},
    {FieldId::Satellite2Degrees, "Text9", "", "", "--sat2-deg", "sat2_deg"},
    {FieldId::Satellite2Minutes, "Text10", "", "", "--sat2-min", "sat2_min"},
    {FieldId::Elevation2, "Text11", "", "2)  BETA-угол места", nullptr, "elevation2"},
    {FieldId::Azimuth2, "Text12", "", "     2)  ALFA-азимут", nullptr, "azimuth2"},
    {FieldId::FocalLength, "Text13", "", "", "--focal", "focal"},
    {FieldId::VerticalOffset, "Text14", "", "СДВИГ УГЛА ВОЗВЫШЕНИЯ", nullptr, "vertical_offset"},
    {FieldId::HorizontalOffset, "Text15", "", "РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ ", nullptr,
     "horizontal_offset"},
    {FieldId::Rotation, "Text16", "", " УГОЛ ПОВОРОТА", nullptr, "rotation"},
}};

// FieldId::FocalLength -> the row of "Text13"
constexpr const FieldSpec& SpecOf(FieldId field) {
    return Fields[static_cast<std::size_t>(field)];
}

// Each row stands at its own FieldId, so SpecOf is an index.
static_assert([] {
    for (std::size_t index = 0; index < FieldCount; ++index) {
        if (static_cast<std::size_t>(Fields[index].id) != index) {
            return false;
        }
    }
    return true;
}());

}  // namespace tarvex
