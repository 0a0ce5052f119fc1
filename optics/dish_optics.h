#pragma once

#include <vector>

// The dish by physical optics: how much each feed of a multifeed dish receives and where it must
// stand for its beam to point at its satellite. Plain C++, numbers only.
//
// The model.
// Reflector: a paraboloid of revolution of focal length F, its focus at the origin, its axis z
// pointing where the beam goes, y up. A prime-focus dish is the piece over the disc of diameter D
// centred on the axis; an offset dish the piece over the disc of diameter W centred 2 F tan(alpha)
// above it, the feed arm below (Rudge & Adatia, "Offset-parabolic-reflector antennas: a review",
// Proc. IEEE 66 (1978)).
// Feed: a balanced (Huygens) source, its far field cos^q(psi) times the co-polar unit vector of
// Ludwig's third definition (Ludwig, "The definition of cross polarization", IEEE Trans. AP-21
// (1973)), polarised along the dish's "up", its phase centre where the feed stands, aimed at the
// reflector's centre. q makes the rim's illumination (pattern times space loss, as power, averaged
// over the rim) the edge taper below the centre's for the feed at the focus.
// Physical optics: the surface current J = 2 n x H_inc on the reflector, radiating
// E = -j k eta / (4 pi r) e^{-jkr} Int J_perp e^{jk r.r'} dS (Silver, "Microwave antenna theory
// and design", 1949, ch. 5 and 12), integrated over the projected aperture: Gauss-Legendre in
// radius, uniform steps in azimuth.
// Gain: co-polar (Ludwig 3, about z, "up" polarised) against the feed's whole radiated power, so
// spillover, taper, phase error and cross-polar loss are all in it:
// G = k^2 (2q + 1) / (2 pi^2) |Int (N x (R x e)) cos^q(psi) e^{-jkR} / R e^{jk r.r'} dx dy . e_co|^2
// with N = (-x / 2F, -y / 2F, 1) the normal scaled by dS / dx dy.
// A feed beside the focus turns the beam the other way, by less than its own angle (Ruze,
// "Lateral-feed displacement in a paraboloid", IEEE Trans. AP-13 (1965); Lo, "On the beam
// deviation factor of a parabolic reflector", IRE Trans. AP-8 (1960)).

namespace tarvex::optics {

// A feed losing more than this against feed 1, or without a closed -3 dB contour around its
// peak, has a degraded beam: its satellite needs a dish of its own.
inline constexpr double DegradedLossDb = 6;
// An axial shift is given only where it gains at least this much.
inline constexpr double AxialGainDb = 0.1;
// Worst losses closer than this are alike to the focus choice.
inline constexpr double FocusTieDb = 0.01;
// The beamwidth's level below the peak.
inline constexpr double BeamwidthLevelDb = 3;

// Where the model holds: a dish at least this many wavelengths across (a smaller one is no
// reflector but a scatterer), F_eff at most this many times its aperture (beyond that the feed's
// pattern would be a needle, and the phases beyond a double's precision).
inline constexpr double MinApertureWavelengths = 2;
inline constexpr double MaxFocalRatio = 10;

struct Reflector {
    double focal_length_mm = 0;  // F of the parent paraboloid
    double aperture_mm = 0;  // D of a prime-focus dish, W (the projected aperture) of an offset one
    double offset_angle_deg = 0;  // alpha; 0 for a prime-focus dish
};

struct Illumination {
    double frequency_ghz = 11.7;
    double edge_taper_db = 11;  // the rim this many dB below the reflector's centre
};

// Where a feed stands and what its beam is like. Positions from feed 1 (at the focus), seen from
// behind the dish: right and up in the plane square to feed 1's axis, axial along that axis,
// + toward the dish.
struct FeedBeam {
    double right_mm = 0;
    double up_mm = 0;
    double axial_mm = 0;       // 0 unless it gains AxialGainDb
    double gain_dbi = 0;       // at the peak, which points at the satellite
    double loss_db = 0;        // feed 1's peak gain - this one's
    double beamwidth_deg = 0;  // the -3 dB contour's mean diameter; 0 where there is none
    bool degraded = false;
};

enum class AxialSearch { Off, On };

// The dish with its feed 1 at the focus. Building it finds the feed's exponent, feed 1's beam and
// the small-displacement beam deviation (a few milliseconds); the feeds are found after that.
// `grid_scale` multiplies the aperture's nodes in radius and in azimuth.
//   prime F 600, D 1000, 11.7 GHz, -11 dB -> q about 3.15, gain 40.89 dBi, efficiency 0.817
//   offset F 458.74, W 800, alpha 25.04 -> gain 38.79 dBi, efficiency 0.787
class DishOptics {
  public:
    DishOptics(const Reflector& reflector, const Illumination& illumination, int grid_scale = 1);

    double FeedExponent() const { return q_; }
    double GainDbi() const { return gain_dbi_; }  // feed 1's, at its peak
    double Efficiency() const { return efficiency_; }
    double BeamwidthDeg() const { return beamwidth_deg_; }  // feed 1's
    // The beam's turn per radian of a feed's small step across the focus, times F_eff: Lo's BDF.
    double BeamDeviationFactor() const { return beam_deviation_factor_; }

    // The feed whose beam peak points at a satellite seen `right`, `up` (direction cosines) from
    // feed 1's peak, in the dish's frame. Never throws; a beam that cannot be placed is degraded.
    //   prime F 600, D 1000: right sin 6 deg -> right_mm -69.29, up_mm 0, loss 0.30 dB
    //   offset W 800, H 883, depth 79: up sin 6 deg -> right_mm 0, up_mm -62.37, loss 1.91 dB;
    //     down sin 9 deg with the axial search -> axial_mm about 12, loss 1.83 dB
    FeedBeam Feed(double right, double up, AxialSearch axial = AxialSearch::On) const;

    // A point or a direction in the reflector's frame: the focus at the origin, z where the beam
    // goes, y up, x to the left seen from behind.
    struct Vec {
        double x = 0, y = 0, z = 0;
    };

  private:
    // Per aperture node, the current's share of the far field for one feed position (x, y, z).
    struct Excitation {
        std::vector<double> re[3], im[3];
    };
    struct Fit;
    struct Solution;

    Vec FeedPosition(double right_mm, double up_mm, double axial_mm) const;
    void Excite(const Vec& position, Excitation& out) const;
    double LogGain(const Excitation& e, double u, double v) const;
    Fit LocalFit(const Excitation& e, double u, double v, double h) const;
    bool FindPeak(const Excitation& e, double& u, double& v, Fit& fit) const;
    Solution Place(double u, double v, double axial_mm, double right_mm, double up_mm,
                   const double* inverse) const;
    Solution SearchAxial(double u, double v, const Solution& unshifted) const;
    double Beamwidth(const Excitation& e, double u, double v, const Fit& peak, bool& closed) const;
    Vec Target(double right, double up) const;

    // Directions are direction cosines (u, v) along x (left, seen from behind) and y (up).
    double focal_ = 0, effective_focal_ = 0, wavelength_ = 0, wavenumber_ = 0;
    double q_ = 0, gain_scale_ = 0;
    double beam_scale_ = 0;           // wavelength / aperture: the beam's size, radians
    Vec centre_, axis_, lateral_up_;  // the reflector's centre; feed 1's axis; "up" across it
    // The aperture's nodes: the point on the reflector, k times it, the scaled normal, the weight.
    std::vector<double> x_, y_, z_, kx_, ky_, kz_, nx_, ny_, weight_;
    double gain_dbi_ = 0, efficiency_ = 0, beamwidth_deg_ = 0, beam_deviation_factor_ = 1;
    double peak_u_ = 0, peak_v_ = 0;    // feed 1's peak
    double inverse_[4] = {0, 0, 0, 0};  // d(right, up) / d(u, v) of a small step, row by row
};

// True for a dish within MinApertureWavelengths and MaxFocalRatio at that frequency.
//   prime F 600, D 1000 at 11.7 GHz -> true;  the same at 1 GHz (3.3 wavelengths) -> true;
//   D 500 at 1 GHz -> false;  F 1e6, D 1000 -> false
bool InReach(const Reflector& reflector, double frequency_ghz);

// The feed exponent q that puts the rim's illumination `taper_db` below the centre's for a feed at
// the focus of `reflector` aimed at its centre.
//   prime F 600, D 1000, 11 dB -> 3.154 (rim 45.24 deg off the axis, space loss 1.39 dB)
double FeedExponentFor(const Reflector& reflector, double taper_db);

// The focus choice: for each satellite as the one the dish is aimed at, the worst loss among
// the others; the best is the one with the smallest worst loss, the first of those within
// FocusTieDb of it (a difference no installer could measure).
//   {2.1, 0.9, 3.5} -> 1;  {0.42, 0.419} -> 0
int BestFocus(const std::vector<double>& worst_loss_db);

}  // namespace tarvex::optics
