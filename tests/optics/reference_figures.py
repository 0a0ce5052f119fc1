#!/usr/bin/env python3
"""Figures for dish_optics_test.cpp, computed apart from the program with the closed forms of the
literature (plain Python, no libraries):

- the feed's exponent q of a prime-focus dish: cos^{2q}(psi0) ((1 + cos psi0) / 2)^2 = taper,
  psi0 = 2 atan(D / 4F) the rim's angle from the focus;
- Silver's aperture efficiency of a paraboloid fed by a source of gain G_f(psi):
  eta = cot^2(psi0 / 2) |Int_0^psi0 sqrt(G_f(psi)) tan(psi / 2) dpsi|^2 with
  G_f = 2 (2q + 1) cos^{2q}(psi) (Silver, "Microwave antenna theory and design", 1949, 12.5);
- Lo's beam deviation factor (1 + 0.36 (D / 4F)^2) / (1 + (D / 4F)^2);
- the -3 dB beamwidth of the scalar aperture integral of a prime-focus dish,
  E(rho) = cos^q(psi) (1 + cos psi) / 2, P(theta) = Int E(rho) J0(k rho sin theta) rho drho.
Run: python3 tests/optics/reference_figures.py
"""
import math


def simpson(f, a, b, n=2000):
    h = (b - a) / n
    return h / 3 * sum((1 if i in (0, n) else 4 if i % 2 else 2) * f(a + i * h)
                       for i in range(n + 1))


def exponent(f_over_d, taper_db):
    psi0 = 2 * math.atan(1 / (4 * f_over_d))
    space = ((1 + math.cos(psi0)) / 2) ** 2
    return math.log(10 ** (-taper_db / 10) / space) / (2 * math.log(math.cos(psi0))), psi0


def silver(f_over_d, taper_db):
    q, psi0 = exponent(f_over_d, taper_db)
    integral = simpson(lambda p: math.sqrt(2 * (2 * q + 1)) * math.cos(p) ** q * math.tan(p / 2),
                       0, psi0)
    return q, integral ** 2 / math.tan(psi0 / 2) ** 2


def lo(f_over_d):
    x = 1 / (4 * f_over_d)
    return (1 + 0.36 * x * x) / (1 + x * x)


def j0(x, n=96):
    return sum(math.cos(x * math.sin(math.pi * (i + 0.5) / n)) for i in range(n)) / n


def beamwidth(diameter, f_over_d, wavelength, taper_db):
    q, _ = exponent(f_over_d, taper_db)
    focal, k = f_over_d * diameter, 2 * math.pi / wavelength

    def aperture(rho):
        c = math.cos(2 * math.atan(rho / (2 * focal)))
        return c ** q * (1 + c) / 2

    def pattern(theta):
        return simpson(lambda r: aperture(r) * j0(k * r * math.sin(theta)) * r, 0, diameter / 2,
                       400)

    level, low, high = pattern(0) * 10 ** (-3 / 20), 0.0, 1.2 * wavelength / diameter
    for _ in range(50):
        middle = (low + high) / 2
        low, high = (middle, high) if pattern(middle) > level else (low, middle)
    return 2 * math.degrees(low)


if __name__ == "__main__":
    for f_over_d, taper in ((0.6, 11), (0.4, 11), (0.4, 15), (1.0, 8)):
        q, eta = silver(f_over_d, taper)
        print(f"f/D {f_over_d} taper {taper}: q {q:.6f} Silver efficiency {eta:.6f}")
    for f_over_d in (0.4, 0.6, 1.0):
        print(f"f/D {f_over_d}: Lo's BDF {lo(f_over_d):.6f}")
    print(f"Parkes, 64 m, f/D 0.41, 1.4 GHz, -12 dB: beamwidth "
          f"{beamwidth(64000, 0.41, 299.792458 / 1.4, 12) * 60:.4f} arcmin")
