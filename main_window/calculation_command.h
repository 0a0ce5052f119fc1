#pragma once

#include <string>

#include "geometry/angles.h"
#include "main_window/calculation_fields.h"

// What START does in the main window: check the three required fields, run the pointing geometry
// on the field texts, write the result fields one by one and hand ALFA1 and BETA1 to the results
// file. The command knows its window only through CalculationView, so the window and the
// command-line calculator run the very same steps.

namespace tarvex {

// What the calculation command needs of its window.
class CalculationView {
  public:
    virtual ~CalculationView() = default;
    virtual std::string FieldText(FieldId field) const = 0;                 // UTF-8
    virtual void SetFieldText(FieldId field, const std::string& text) = 0;  // UTF-8
    virtual void ShowMessage(const std::string& message) = 0;               // validation box
    // Replaces the results exchange file with satellite 1's azimuth and elevation.
    virtual void WriteResultsFile(double alfa1, double beta1) = 0;
};

// The validation messages, in the order the fields are checked.
inline constexpr const char* NoSatellite1Message = "НЕТ КООРДИНАТ (1) ";
inline constexpr const char* NoSatellite2Message = "НЕТ КООРДИНАТ (2)";
inline constexpr const char* NoFocalLengthMessage = "НЕТ ФОКУСА АНТЕНЫ";

// One instance per window: it keeps the window-level values of the calculation between runs.
// With the default site, Satellite1Degrees "13", Satellite2Degrees "19", Satellite2Minutes "12"
// and FocalLength "600", Run writes
//   Azimuth1 " 217.344291652777", Rotation " + 23.5", Azimuth2 " 208.2955",
//   VerticalOffset " 33.2649мм-->НИЖЕ", HorizontalOffset " 94.3645мм-->СПРАВА",
//   Elevation1 " 44.8168471212995", Elevation2 " 47.99485"
// in that order and then the results file with 217.344291652777 and 44.8168471212995.
class CalculationCommand {
  public:
    // An empty Satellite1Degrees, Satellite2Degrees or FocalLength shows its message and writes
    // nothing. Throws RuntimeError
    // at the failing step (absurd magnitudes such as "1e308" degrees); the fields written before
    // it keep their new texts, later ones and the results file are not written.
    void Run(CalculationView& view);

  private:
    bool Validate(CalculationView& view) const;
    // Satellite 1's look angles; its azimuth is shown before its elevation is computed.
    void RunFirstPass(CalculationView& view);
    void RunSecondPass(CalculationView& view);
    void ReadSite(const CalculationView& view);
    void WriteOffsets(CalculationView& view) const;

    // Window-level values: they outlive one run.
    float m_site_longitude = 0;       // radians
    double m_site_latitude = 0;       // radians
    float m_satellite_longitude = 0;  // radians: satellite 1 in the first pass, 2 in the second
    AngleTexts m_angle_texts;         // the site texts are set by the first pass only
    float m_alfa2 = 0;                // degrees
    float m_beta2 = 0;                // degrees

    // Values of the current run.
    double m_alfa1 = 0;
    double m_beta1 = 0;
};

}  // namespace tarvex
