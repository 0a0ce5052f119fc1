#include "optics/dish_optics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "conversions/angle_units.h"

namespace tarvex::optics {
namespace {

using Vec = DishOptics::Vec;

constexpr double Pi = std::numbers::pi;
constexpr double SpeedOfLightMmPerNs = 299.792458;
// ln of the gain 3 dB down.
const double BeamwidthLevel = BeamwidthLevelDb * std::numbers::ln10 / 10;
const double DbPerNeper = 10 / std::numbers::ln10;

// The aperture's nodes: Gauss-Legendre in radius, uniform steps in azimuth (exact for a smooth
// periodic integrand), enough for the grid to have converged up to 20 degrees off the axis.
constexpr int RadialNodes = 16;
constexpr int AzimuthNodes = 40;
// Points around the rim for the feed's exponent.
constexpr int RimPoints = 720;
// The axial search's first step, in wavelengths.
constexpr double AxialStepWavelengths = 0.4;
// The axial search's rounds after its first three points, the change in mm that ends it, and its
// reach as a fraction of F_eff.
constexpr int AxialRounds = 4;
constexpr double AxialTolerance = 0.05;
constexpr double MaxAxialFraction = 0.2;
// The feed's step that measures the small-displacement beam deviation, mm.
constexpr double SmallStepMm = 1;
// In units of the beam's size (wavelength / aperture): the step of a converged peak search, the
// smallest probe of its finite differences, and how far a -3 dB contour may lie from the peak.
constexpr double ConvergedStep = 1e-5;
constexpr double SmallestProbe = 3e-3;
constexpr double ContourReach = 3;
// Cuts through the peak that average the beamwidth.
constexpr int BeamwidthCuts = 8;

Vec Add(const Vec& a, const Vec& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec Sub(const Vec& a, const Vec& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec Scale(const Vec& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
double Dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Unit(const Vec& a) {
    return Scale(a, 1 / std::sqrt(Dot(a, a)));
}

// Ludwig's third definition for a source polarised along y, its axis z: the co-polar unit
// vector in the direction of the unit vector (u, v, w).
//   (0, 0, 1) -> (0, 1, 0);  (0, sin 30, cos 30) -> (0, cos 30, -sin 30)
Vec LudwigCoPolar(double u, double v, double w) {
    const double s = 1 / (1 + w);
    return {-u * v * s, 1 - v * v * s, -v};
}

// sin and cos of any phase, to about 1e-9: the phase taken into [-pi, pi], its half by Taylor
// series, then the double angle. Several times as fast as the library's for the far field's sums.
inline void SinCos(double phase, double& sine, double& cosine) {
    constexpr double TwoPiHi = 6.28318530717958623200;
    constexpr double TwoPiLo = 2.44929359829470635445e-16;
    constexpr double Round = 6755399441055744.0;  // 1.5 * 2^52: adding it rounds to an integer
    const double turns = (phase * (1 / TwoPiHi) + Round) - Round;
    const double h = ((phase - turns * TwoPiHi) - turns * TwoPiLo) * 0.5;
    const double h2 = h * h;
    const double s =
        h *
        (1 + h2 * (-1.0 / 6 +
                   h2 * (1.0 / 120 + h2 * (-1.0 / 5040 +
                                           h2 * (1.0 / 362880 + h2 * (-1.0 / 39916800 +
                                                                      h2 * (1.0 / 6227020800)))))));
    const double c =
        1 + h2 * (-0.5 + h2 * (1.0 / 24 +
                               h2 * (-1.0 / 720 + h2 * (1.0 / 40320 +
                                                        h2 * (-1.0 / 3628800 +
                                                              h2 * (1.0 / 479001600 +
                                                                    h2 * (-1.0 / 87178291200)))))));
    sine = 2 * s * c;
    cosine = c * c - s * s;
}

// Nodes and weights of Gauss-Legendre quadrature on [-1, 1] (Newton's method on P_n; Abramowitz
// & Stegun 25.4.29).
void GaussLegendre(int n, std::vector<double>& nodes, std::vector<double>& weights) {
    nodes.assign(static_cast<std::size_t>(n), 0);
    weights.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        double x = std::cos(Pi * (i + 0.75) / (n + 0.5));
        double derivative = 1;
        for (int iteration = 0; iteration < 100; ++iteration) {
            double p0 = 1, p1 = x;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1);
            const double step = p1 / derivative;
            x -= step;
            if (std::fabs(step) < 1e-15) {
                break;
            }
        }
        nodes[static_cast<std::size_t>(i)] = x;
        weights[static_cast<std::size_t>(i)] = 2 / ((1 - x * x) * derivative * derivative);
    }
}

struct Geometry {
    double focal, centre_height, radius, effective_focal;
    Vec centre, axis;
};

Geometry GeometryOf(const Reflector& reflector) {
    const double alpha = reflector.offset_angle_deg / DegreesPerRadian;
    const double focal = reflector.focal_length_mm;
    Geometry g;
    g.focal = focal;
    g.centre_height = 2 * focal * std::tan(alpha);
    g.radius = reflector.aperture_mm / 2;
    g.effective_focal = focal / (std::cos(alpha) * std::cos(alpha));
    g.axis = {0, std::sin(2 * alpha), -std::cos(2 * alpha)};
    g.centre = Scale(g.axis, g.effective_focal);
    return g;
}

// The point of the paraboloid above (x, y): z = (x^2 + y^2) / 4F - F.
Vec OnReflector(double x, double y, double focal) {
    return {x, y, (x * x + y * y) / (4 * focal) - focal};
}

}  // namespace

double FeedExponentFor(const Reflector& reflector, double taper_db) {
    const Geometry g = GeometryOf(reflector);
    std::vector<double> cosines, space;
    for (int j = 0; j < RimPoints; ++j) {
        const double phi = 2 * Pi * j / RimPoints;
        const Vec rim = OnReflector(g.radius * std::cos(phi),
                                    g.centre_height + g.radius * std::sin(phi), g.focal);
        const double distance = std::sqrt(Dot(rim, rim));
        cosines.push_back(std::max(0.0, Dot(rim, g.axis) / distance));
        space.push_back(g.effective_focal * g.effective_focal / (distance * distance));
    }
    const double target = std::pow(10.0, -taper_db / 10);
    const auto rim_illumination = [&](double q) {
        double sum = 0;
        for (std::size_t j = 0; j < cosines.size(); ++j) {
            sum += std::pow(cosines[j], 2 * q) * space[j];
        }
        return sum / static_cast<double>(cosines.size());
    };
    if (rim_illumination(0) <= target) {
        return 0;  // the space loss alone tapers the rim that much
    }
    double low = 0, high = 1;
    while (rim_illumination(high) > target && high < 1e6) {
        low = high;
        high *= 2;
    }
    for (int iteration = 0; iteration < 200 && high - low > 1e-12 * high; ++iteration) {
        const double middle = (low + high) / 2;
        (rim_illumination(middle) > target ? low : high) = middle;
    }
    return (low + high) / 2;
}

bool InReach(const Reflector& reflector, double frequency_ghz) {
    const double wavelength = SpeedOfLightMmPerNs / frequency_ghz;
    const double effective_focal = GeometryOf(reflector).effective_focal;
    return reflector.aperture_mm >= MinApertureWavelengths * wavelength &&
           effective_focal <= MaxFocalRatio * reflector.aperture_mm;
}

int BestFocus(const std::vector<double>& worst_loss_db) {
    if (worst_loss_db.empty()) {
        return 0;
    }
    const double least = *std::min_element(worst_loss_db.begin(), worst_loss_db.end());
    return static_cast<int>(std::find_if(worst_loss_db.begin(), worst_loss_db.end(),
                                         [&](double loss) { return loss <= least + FocusTieDb; }) -
                            worst_loss_db.begin());
}

// ln of the gain around (u, v) as a quadratic: value, gradient and Hessian from six points.
struct DishOptics::Fit {
    double g = 0, gu = 0, gv = 0, guu = 0, gvv = 0, guv = 0;

    bool Peaked() const { return guu < 0 && guu * gvv - guv * guv > 0; }
    // The Newton step to the quadratic's top.
    void Step(double& du, double& dv) const {
        const double det = guu * gvv - guv * guv;
        du = -(gvv * gu - guv * gv) / det;
        dv = -(guu * gv - guv * gu) / det;
    }
};

struct DishOptics::Solution {
    double right_mm = 0, up_mm = 0, axial_mm = 0;
    double log_gain = 0;
    bool placed = false;
    Fit fit;
    Excitation excitation;
    double inverse[4] = {0, 0, 0, 0};  // d(right, up) / d(u, v), row by row, as last updated
};

DishOptics::DishOptics(const Reflector& reflector, const Illumination& illumination,
                       int grid_scale) {
    const Geometry g = GeometryOf(reflector);
    const double alpha = reflector.offset_angle_deg / DegreesPerRadian;
    focal_ = g.focal;
    effective_focal_ = g.effective_focal;
    centre_ = g.centre;
    axis_ = g.axis;
    lateral_up_ = {0, std::cos(2 * alpha), std::sin(2 * alpha)};
    const double wavelength = SpeedOfLightMmPerNs / illumination.frequency_ghz;
    wavelength_ = wavelength;
    wavenumber_ = 2 * Pi / wavelength;
    beam_scale_ = wavelength / reflector.aperture_mm;
    q_ = FeedExponentFor(reflector, illumination.edge_taper_db);
    // G = 4 pi U / P_feed with U = k^2 eta |Int J_co|^2 / (32 pi^2), J = 2 N x (R x E) / eta and
    // P_feed = |A|^2 / (2 eta) 2 pi / (2q + 1) for E = A cos^q(psi) e / R (Silver, ch. 5).
    gain_scale_ = wavenumber_ * wavenumber_ * (2 * q_ + 1) / (2 * Pi * Pi);

    std::vector<double> t, w;
    const int radial = RadialNodes * grid_scale;
    const int azimuthal = AzimuthNodes * grid_scale;
    GaussLegendre(radial, t, w);
    for (int i = 0; i < radial; ++i) {
        const double rho = g.radius * (t[static_cast<std::size_t>(i)] + 1) / 2;
        const double radial_weight = g.radius * w[static_cast<std::size_t>(i)] / 2 * rho;
        for (int j = 0; j < azimuthal; ++j) {
            const double phi = 2 * Pi * (j + 0.5) / azimuthal;
            const Vec r =
                OnReflector(rho * std::cos(phi), g.centre_height + rho * std::sin(phi), focal_);
            x_.push_back(r.x);
            y_.push_back(r.y);
            z_.push_back(r.z);
            kx_.push_back(wavenumber_ * r.x);
            ky_.push_back(wavenumber_ * r.y);
            kz_.push_back(wavenumber_ * r.z);
            nx_.push_back(-r.x / (2 * focal_));
            ny_.push_back(-r.y / (2 * focal_));
            weight_.push_back(radial_weight * 2 * Pi / azimuthal);
        }
    }

    // Feed 1 at the focus; its peak, gain and beam.
    Excitation focus;
    Excite({0, 0, 0}, focus);
    Fit fit;
    FindPeak(focus, peak_u_, peak_v_, fit);
    gain_dbi_ = fit.g * DbPerNeper;
    const double ideal = 4 * Pi * Pi * g.radius * g.radius / (wavelength * wavelength);
    efficiency_ = std::exp(fit.g) / ideal;
    bool closed = true;
    beamwidth_deg_ = Beamwidth(focus, peak_u_, peak_v_, fit, closed);

    // The beam's turn for a small step of the feed, right and up: the first guess of every
    // feed's place, and Lo's beam deviation factor.
    double turn[4];  // d(u, v) / d(right, up) per mm, row by row
    for (int k = 0; k < 2; ++k) {
        Excitation stepped;
        Excite(FeedPosition(k == 0 ? SmallStepMm : 0, k == 0 ? 0 : SmallStepMm, 0), stepped);
        double u = peak_u_, v = peak_v_;
        FindPeak(stepped, u, v, fit);
        turn[k] = (u - peak_u_) / SmallStepMm;      // du / d(right or up)
        turn[2 + k] = (v - peak_v_) / SmallStepMm;  // dv / d(right or up)
    }
    const double det = turn[0] * turn[3] - turn[1] * turn[2];
    inverse_[0] = turn[3] / det;
    inverse_[1] = -turn[1] / det;
    inverse_[2] = -turn[2] / det;
    inverse_[3] = turn[0] / det;
    beam_deviation_factor_ = std::hypot(turn[0], turn[2]) * effective_focal_;
}

Vec DishOptics::FeedPosition(double right_mm, double up_mm, double axial_mm) const {
    return Add(Add(Vec{-right_mm, 0, 0}, Scale(lateral_up_, up_mm)), Scale(axis_, axial_mm));
}

void DishOptics::Excite(const Vec& position, Excitation& out) const {
    const Vec axis = Unit(Sub(centre_, position));
    // Polarised along the dish's "up" as feed 1 is: its "up" square to the feed's own axis.
    const Vec up = Unit(Sub(lateral_up_, Scale(axis, Dot(axis, lateral_up_))));
    const Vec across = Cross(up, axis);
    const std::size_t n = x_.size();
    for (int c = 0; c < 3; ++c) {
        out.re[c].resize(n);
        out.im[c].resize(n);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const Vec d = {x_[i] - position.x, y_[i] - position.y, z_[i] - position.z};
        const double distance = std::sqrt(Dot(d, d));
        const Vec ray = Scale(d, 1 / distance);
        const double w = Dot(ray, axis);
        if (w <= 0) {
            for (int c = 0; c < 3; ++c) {
                out.re[c][i] = out.im[c][i] = 0;
            }
            continue;
        }
        const Vec local = LudwigCoPolar(Dot(ray, across), Dot(ray, up), w);
        const Vec e = Add(Add(Scale(across, local.x), Scale(up, local.y)), Scale(axis, local.z));
        // J dS / dx dy = 2 N x H, H = ray x E / eta: the constant factors are in gain_scale_.
        const Vec m = Cross(Vec{nx_[i], ny_[i], 1}, Cross(ray, e));
        const double amplitude = weight_[i] * std::exp(q_ * std::log(w)) / distance;
        double s, c;
        SinCos(wavenumber_ * distance, s, c);
        const double re = amplitude * c, im = -amplitude * s;
        out.re[0][i] = m.x * re;
        out.im[0][i] = m.x * im;
        out.re[1][i] = m.y * re;
        out.im[1][i] = m.y * im;
        out.re[2][i] = m.z * re;
        out.im[2][i] = m.z * im;
    }
}

double DishOptics::LogGain(const Excitation& e, double u, double v) const {
    const double w = std::sqrt(std::max(0.0, 1 - u * u - v * v));
    double sum_re[3] = {0, 0, 0}, sum_im[3] = {0, 0, 0};
    const std::size_t n = kx_.size();
    for (std::size_t i = 0; i < n; ++i) {
        double s, c;
        SinCos(u * kx_[i] + v * ky_[i] + w * kz_[i], s, c);
        for (int k = 0; k < 3; ++k) {
            sum_re[k] += e.re[k][i] * c - e.im[k][i] * s;
            sum_im[k] += e.re[k][i] * s + e.im[k][i] * c;
        }
    }
    const Vec co = LudwigCoPolar(u, v, w);
    const double re = co.x * sum_re[0] + co.y * sum_re[1] + co.z * sum_re[2];
    const double im = co.x * sum_im[0] + co.y * sum_im[1] + co.z * sum_im[2];
    const double power = gain_scale_ * (re * re + im * im);
    return power > 0 ? std::log(power) : -1e300;
}

DishOptics::Fit DishOptics::LocalFit(const Excitation& e, double u, double v, double h) const {
    Fit fit;
    fit.g = LogGain(e, u, v);
    const double up = LogGain(e, u + h, v), um = LogGain(e, u - h, v);
    const double vp = LogGain(e, u, v + h), vm = LogGain(e, u, v - h);
    const double uv = LogGain(e, u + h, v + h);
    fit.gu = (up - um) / (2 * h);
    fit.gv = (vp - vm) / (2 * h);
    fit.guu = (up - 2 * fit.g + um) / (h * h);
    fit.gvv = (vp - 2 * fit.g + vm) / (h * h);
    fit.guv = (uv - up - vp + fit.g) / (h * h);
    return fit;
}

bool DishOptics::FindPeak(const Excitation& e, double& u, double& v, Fit& fit) const {
    double h = 0.1 * beam_scale_;
    for (int iteration = 0; iteration < 40; ++iteration) {
        fit = LocalFit(e, u, v, h);
        double du = 0, dv = 0;
        if (fit.Peaked()) {
            fit.Step(du, dv);
        } else {
            // Outside the beam's quadratic top: climb a quarter beam up the slope.
            const double slope = std::hypot(fit.gu, fit.gv);
            if (!(slope > 0)) {
                return false;
            }
            du = fit.gu / slope * beam_scale_ / 4;
            dv = fit.gv / slope * beam_scale_ / 4;
        }
        const double step = std::hypot(du, dv);
        if (step > beam_scale_ / 2) {
            du *= beam_scale_ / 2 / step;
            dv *= beam_scale_ / 2 / step;
        }
        if (fit.Peaked() && step < ConvergedStep * beam_scale_) {
            fit.g += (fit.gu * du + fit.gv * dv) / 2;
            u += du;
            v += dv;
            return true;
        }
        u += du;
        v += dv;
        h = std::clamp(step, SmallestProbe * beam_scale_, 0.1 * beam_scale_);
    }
    return false;
}

DishOptics::Solution DishOptics::Place(double u, double v, double axial_mm, double right_mm,
                                       double up_mm, const double* inverse) const {
    Solution solution;
    solution.right_mm = right_mm;
    solution.up_mm = up_mm;
    solution.axial_mm = axial_mm;
    std::copy(inverse, inverse + 4, solution.inverse);
    double* inv = solution.inverse;
    double h = 0.1 * beam_scale_;
    double last_du = 0, last_dv = 0, step_right = 0, step_up = 0;
    for (int iteration = 0; iteration < 20; ++iteration) {
        Excite(FeedPosition(solution.right_mm, solution.up_mm, axial_mm), solution.excitation);
        Fit fit = LocalFit(solution.excitation, u, v, h);
        // Where the beam's peak lies from the satellite's direction.
        double du = 0, dv = 0;
        if (fit.Peaked()) {
            fit.Step(du, dv);
        } else {
            double peak_u = u, peak_v = v;
            Fit at_peak;
            if (!FindPeak(solution.excitation, peak_u, peak_v, at_peak)) {
                return solution;
            }
            du = peak_u - u;
            dv = peak_v - v;
        }
        if (iteration > 0) {
            // Broyden's update of d(feed) / d(peak) from the step just taken.
            const double yu = du - last_du, yv = dv - last_dv;
            const double yy = yu * yu + yv * yv;
            if (yy > 0) {
                const double ru = step_right - (inv[0] * yu + inv[1] * yv);
                const double rv = step_up - (inv[2] * yu + inv[3] * yv);
                inv[0] += ru * yu / yy;
                inv[1] += ru * yv / yy;
                inv[2] += rv * yu / yy;
                inv[3] += rv * yv / yy;
            }
        }
        const double miss = std::hypot(du, dv);
        if (fit.Peaked() && miss < ConvergedStep * beam_scale_) {
            solution.log_gain = fit.g + (fit.gu * du + fit.gv * dv) / 2;
            solution.fit = fit;
            solution.placed = true;
            return solution;
        }
        // Move the feed so that the peak comes onto the satellite, a beam's size at most.
        const double reach = std::min(1.0, beam_scale_ / miss);
        step_right = -(inv[0] * du + inv[1] * dv) * reach;
        step_up = -(inv[2] * du + inv[3] * dv) * reach;
        solution.right_mm += step_right;
        solution.up_mm += step_up;
        last_du = du;
        last_dv = dv;
        h = std::clamp(miss, SmallestProbe * beam_scale_, 0.1 * beam_scale_);
    }
    return solution;
}

double DishOptics::Beamwidth(const Excitation& e, double u, double v, const Fit& peak,
                             bool& closed) const {
    const Vec centre = {u, v, std::sqrt(1 - u * u - v * v)};
    const double level = peak.g - BeamwidthLevel;
    double total = 0;
    closed = true;
    for (int k = 0; k < BeamwidthCuts; ++k) {
        const double phi = 2 * Pi * k / BeamwidthCuts;
        const double du = std::cos(phi), dv = std::sin(phi);
        const double curvature = peak.guu * du * du + 2 * peak.guv * du * dv + peak.gvv * dv * dv;
        const double guess =
            curvature < 0 ? std::sqrt(2 * BeamwidthLevel / -curvature) : beam_scale_ / 2;
        const auto above = [&](double r) { return LogGain(e, u + r * du, v + r * dv) - level; };
        double low = 0, f_low = BeamwidthLevel, high = guess, f_high = above(high);
        while (f_high > 0) {
            low = high;
            f_low = f_high;
            high *= 1.5;
            if (high > ContourReach * beam_scale_) {
                closed = false;
                return 0;
            }
            f_high = above(high);
        }
        // The Illinois variant of the false position.
        for (int iteration = 0; iteration < 40 && std::fabs(high - low) > 1e-7 * guess;
             ++iteration) {
            const double r = high - f_high * (high - low) / (f_high - f_low);
            const double f = above(r);
            if (f * f_high < 0) {
                low = high;
                f_low = f_high;
            } else {
                f_low /= 2;
            }
            high = r;
            f_high = f;
            if (std::fabs(f) < 1e-10) {
                break;
            }
        }
        const double eu = u + high * du, ev = v + high * dv;
        const Vec edge = {eu, ev, std::sqrt(1 - eu * eu - ev * ev)};
        total +=
            std::atan2(std::sqrt(Dot(Cross(centre, edge), Cross(centre, edge))), Dot(centre, edge));
    }
    return total * 2 / BeamwidthCuts * DegreesPerRadian;
}

Vec DishOptics::Target(double right, double up) const {
    const Vec peak = {peak_u_, peak_v_, std::sqrt(1 - peak_u_ * peak_u_ - peak_v_ * peak_v_)};
    const Vec to_right = Unit(Cross(peak, Vec{0, 1, 0}));
    const Vec to_up = Cross(to_right, peak);
    const double along = std::sqrt(std::max(0.0, 1 - right * right - up * up));
    return Add(Add(Scale(to_right, right), Scale(to_up, up)), Scale(peak, along));
}

FeedBeam DishOptics::Feed(double right, double up, AxialSearch axial) const {
    const Vec target = Target(right, up);
    const double u = target.x, v = target.y;
    // The first guess: the small-displacement turn, stretched by tan as the formula does.
    const double du = u - peak_u_, dv = v - peak_v_;
    double right_mm = inverse_[0] * du + inverse_[1] * dv;
    double up_mm = inverse_[2] * du + inverse_[3] * dv;
    const double across = std::hypot(right_mm, up_mm) / effective_focal_;
    FeedBeam beam;
    beam.degraded = true;
    if (!(across < Pi / 2)) {
        return beam;
    }
    if (across > 0) {
        right_mm *= std::tan(across) / across;
        up_mm *= std::tan(across) / across;
    }
    beam.right_mm = right_mm;
    beam.up_mm = up_mm;
    Solution best = Place(u, v, 0, right_mm, up_mm, inverse_);
    if (!best.placed) {
        // What the feed at the formula's place gets from the satellite.
        Excitation e;
        Excite(FeedPosition(right_mm, up_mm, 0), e);
        beam.loss_db = gain_dbi_ - LogGain(e, u, v) * DbPerNeper;
        return beam;
    }
    if (axial == AxialSearch::On) {
        Solution shifted = SearchAxial(u, v, best);
        if ((shifted.log_gain - best.log_gain) * DbPerNeper >= AxialGainDb) {
            best = std::move(shifted);
        }
    }
    beam.right_mm = best.right_mm + 0.0;
    beam.up_mm = best.up_mm + 0.0;
    beam.axial_mm = best.axial_mm;
    beam.gain_dbi = best.log_gain * DbPerNeper;
    beam.loss_db = gain_dbi_ - beam.gain_dbi;
    bool closed = true;
    beam.beamwidth_deg = Beamwidth(best.excitation, u, v, best.fit, closed);
    beam.degraded = !closed || beam.loss_db > DegradedLossDb;
    return beam;
}

DishOptics::Solution DishOptics::SearchAxial(double u, double v, const Solution& unshifted) const {
    std::vector<Solution> tried;
    const auto try_at = [&](double axial_mm) {
        const Solution* nearest = &unshifted;
        for (const Solution& s : tried) {
            if (std::fabs(s.axial_mm - axial_mm) < std::fabs(nearest->axial_mm - axial_mm)) {
                nearest = &s;
            }
        }
        Solution s = Place(u, v, axial_mm, nearest->right_mm, nearest->up_mm, nearest->inverse);
        if (s.placed) {
            tried.push_back(std::move(s));
        }
    };
    const double step = AxialStepWavelengths * wavelength_;
    tried.push_back(unshifted);
    try_at(step);
    try_at(-step);
    for (int round = 0; round < AxialRounds; ++round) {
        std::sort(tried.begin(), tried.end(),
                  [](const Solution& a, const Solution& b) { return a.axial_mm < b.axial_mm; });
        std::size_t best = 0;
        for (std::size_t k = 1; k < tried.size(); ++k) {
            if (tried[k].log_gain > tried[best].log_gain) {
                best = k;
            }
        }
        double next = 0;
        if (best == 0 || best + 1 == tried.size()) {
            // The best at an end: go on that way.
            next = tried[best].axial_mm + (best == 0 ? -2 : 2) * step;
        } else {
            // The top of the parabola through the best and its neighbours.
            const double x0 = tried[best - 1].axial_mm, y0 = tried[best - 1].log_gain;
            const double x1 = tried[best].axial_mm, y1 = tried[best].log_gain;
            const double x2 = tried[best + 1].axial_mm, y2 = tried[best + 1].log_gain;
            const double num =
                (x1 - x0) * (x1 - x0) * (y1 - y2) - (x1 - x2) * (x1 - x2) * (y1 - y0);
            const double den = (x1 - x0) * (y1 - y2) - (x1 - x2) * (y1 - y0);
            next = x1 - num / (2 * den);
            if (!(std::fabs(next - x1) > AxialTolerance)) {
                break;
            }
        }
        if (std::fabs(next) > MaxAxialFraction * effective_focal_) {
            break;
        }
        try_at(next);
    }
    std::size_t best = 0;
    for (std::size_t k = 1; k < tried.size(); ++k) {
        if (tried[k].log_gain > tried[best].log_gain) {
            best = k;
        }
    }
    return tried[best];
}

}  // namespace tarvex::optics
