#pragma once

#include <optional>
#include <string>

#include "geometry/angles.h"

// What START does in the main window: check the three required fields, run the pointing geometry
// on the field texts, write the result fields one by one and hand ALFA1 and BETA1 to the results
// file. The command knows its window only through CalculationView, so the window and the
// command-line calculator run the very same steps.

namespace tarvex {

enum class FieldId {
    Text1 = 1,
    Text2,
    Text3,
    Text4,
    Text5,
    Text6,
    Text7,
    Text8,
    Text9,
    Text10,
    Text11,
    Text12,
    Text13,
    Text14,
    Text15,
    Text16
};

// What the calculation command needs of its window.
class CalculationView {
  public:
    virtual ~CalculationView() = default;
    virtual std::string FieldText(FieldId field) const = 0;                 // UTF-8
    virtual void SetFieldText(FieldId field, const std::string& text) = 0;  // UTF-8
    virtual void ShowMessage(const std::string& message) = 0;               // validation box
    // Replaces the results exchange file; no elevation for satellite 1 gives no beta1.
    virtual void WriteResultsFile(double alfa1, std::optional<double> beta1) = 0;
};

// The validation messages, in the order the fields are checked.
inline constexpr const char* NoSatellite1Message = "НЕТ КООРДИНАТ (1) ";
inline constexpr const char* NoSatellite2Message = "НЕТ КООРДИНАТ (2)";
inline constexpr const char* NoFocalLengthMessage = "НЕТ ФОКУСА АНТЕНЫ";

// One instance per window: it keeps the window-level values of the calculation between runs.
// With the default site, Text5 "13", Text9 "19", Text10 "12" and Text13 "600", Run writes
//   Text8 " 217.344291652777", Text16 " + 23.5", Text12 " 208.2955",
//   Text14 " 33.2649мм-->НИЖЕ", Text15 " 94.3645мм-->СПРАВА", Text7 " 44.8168471212995",
//   Text11 " 47.99485"
// in that order and then the results file with 217.344291652777 and 44.8168471212995.
class CalculationCommand {
  public:
    // An empty Text5, Text9 or Text13 shows its message and writes nothing. Throws RuntimeError
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
