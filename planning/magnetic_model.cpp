#include "planning/magnetic_model.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/SphericalHarmonic1.hpp>
#include <chrono>
#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "conversions/float_chars.h"
#include "planning/plan_facts.h"

namespace tarvex::planning {
namespace {

constexpr int Degree = 12;
// The geomagnetic reference radius the coefficients belong to.
constexpr double ReferenceRadiusM = 6371200;

// The coefficients in GeographicLib's order: by order m, then by degree n; the sine vectors
// leave out m = 0. The vectors stay where they are: the harmonic sum keeps pointers into them.
class Wmm2025 {
  public:
    Wmm2025() : m_g(Size()), m_h(Size()), m_g_rate(Size()), m_h_rate(Size()) {
        Read(Wmm2025Coefficients());
        const std::vector<double> h(m_h.begin() + Degree + 1, m_h.end());
        const std::vector<double> h_rate(m_h_rate.begin() + Degree + 1, m_h_rate.end());
        m_h = h;
        m_h_rate = h_rate;
        m_field = GeographicLib::SphericalHarmonic1(m_g, m_h, Degree, m_g_rate, m_h_rate, Degree,
                                                    ReferenceRadiusM,
                                                    GeographicLib::SphericalHarmonic1::SCHMIDT);
    }

    Wmm2025(const Wmm2025&) = delete;
    Wmm2025& operator=(const Wmm2025&) = delete;

    // The field's direction in the geocentric frame at `years` after the epoch (its length is
    // the field's up to a positive factor).
    void Field(double years, double x, double y, double z, double& bx, double& by,
               double& bz) const {
        m_field(years, x, y, z, bx, by, bz);
        // The field is minus the potential's gradient.
        bx = -bx;
        by = -by;
        bz = -bz;
    }

  private:
    static std::size_t Size() { return (Degree + 1) * (Degree + 2) / 2; }

    static std::size_t Index(int n, int m) {
        return static_cast<std::size_t>(m * Degree - m * (m - 1) / 2 + n);
    }

    // A compiled-in table that does not read is a build fault: the tests load it.
    void Read(std::string_view text) {
        std::istringstream lines{std::string(text)};
        std::string line;
        std::getline(lines, line);  // epoch, model name
        int rows = 0;
        while (std::getline(lines, line) && line.rfind("9999", 0) != 0) {
            std::istringstream row(line);
            int n = -1;
            int m = -1;
            double g = 0, h = 0, g_rate = 0, h_rate = 0;
            if (!(row >> n >> m >> g >> h >> g_rate >> h_rate) || n < 1 || n > Degree || m < 0 ||
                m > n) {
                throw std::logic_error("WMM2025.COF: bad row \"" + line + "\"");
            }
            const std::size_t k = Index(n, m);
            m_g[k] = g;
            m_h[k] = h;
            m_g_rate[k] = g_rate;
            m_h_rate[k] = h_rate;
            ++rows;
        }
        if (rows != static_cast<int>(Size()) - 1) {
            throw std::logic_error("WMM2025.COF: " + float_chars::WholeText(rows) + " rows");
        }
    }

    std::vector<double> m_g, m_h, m_g_rate, m_h_rate;
    GeographicLib::SphericalHarmonic1 m_field;
};

const Wmm2025& Model() {
    static const Wmm2025 model;
    return model;
}

}  // namespace

double DecimalYear(const Date& date) {
    using namespace std::chrono;
    const year this_year(date.year);
    const sys_days first = this_year / January / 1;
    const sys_days day_itself =
        this_year / month(static_cast<unsigned>(date.month)) / day(static_cast<unsigned>(date.day));
    const double days_in_year = this_year.is_leap() ? 366 : 365;
    return date.year + (day_itself - first).count() / days_in_year;
}

bool InMagneticModelValidity(double decimal_year) {
    return decimal_year >= MagneticModelEpoch && decimal_year < MagneticModelEnd;
}

double MagneticDeclination(double latitude_deg, double longitude_deg, double decimal_year) {
    const GeographicLib::Geocentric& earth = GeographicLib::Geocentric::WGS84();
    double x = 0, y = 0, z = 0;
    std::vector<double> rotation(9);  // local east-north-up -> geocentric
    earth.Forward(latitude_deg, longitude_deg, 0, x, y, z, rotation);
    double bx = 0, by = 0, bz = 0;
    Model().Field(decimal_year - MagneticModelEpoch, x, y, z, bx, by, bz);
    const double east = rotation[0] * bx + rotation[3] * by + rotation[6] * bz;
    const double north = rotation[1] * bx + rotation[4] * by + rotation[7] * bz;
    return std::atan2(east, north) * DegreesPerRadian;
}

}  // namespace tarvex::planning
