#!/usr/bin/env python3
"""Figures pinned in plan_test.cpp, computed apart from the program: WGS84 by its closed
formulas, vectors by hand. Usage: python3 reference_figures.py"""
import itertools
import math


class V(tuple):
    def __add__(self, o): return V(a + b for a, b in zip(self, o))
    def __sub__(self, o): return V(a - b for a, b in zip(self, o))
    def __rmul__(self, k): return V(k * a for a in self)
    def __matmul__(self, o): return sum(a * b for a, b in zip(self, o))


def cross(a, b):
    return V((a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]))


def norm(v):
    return math.sqrt(v @ v)

A = 6378137.0
F_WGS = 1 / 298.257223563
E2 = F_WGS * (2 - F_WGS)
ORBIT = 42164.17e3


def enu_basis(lat, lon):
    p, l = math.radians(lat), math.radians(lon)
    east = V([-math.sin(l), math.cos(l), 0.0])
    north = V([-math.sin(p) * math.cos(l), -math.sin(p) * math.sin(l), math.cos(p)])
    up = V([math.cos(p) * math.cos(l), math.cos(p) * math.sin(l), math.sin(p)])
    return east, north, up


def site_ecef(lat, lon):
    p, l = math.radians(lat), math.radians(lon)
    n = A / math.sqrt(1 - E2 * math.sin(p) ** 2)
    return V([n * math.cos(p) * math.cos(l), n * math.cos(p) * math.sin(l),
                     n * (1 - E2) * math.sin(p)])


def unit(v):
    return (1 / norm(v)) * v


def fold(deg):
    while deg > 90:
        deg -= 180
    while deg <= -90:
        deg += 180
    return deg


def plan(lon, lat, sats, focal, diameter=None):
    east, north, up = enu_basis(lat, lon)
    site = site_ecef(lat, lon)
    dirs = []
    for s in sats:
        sl = math.radians(s)
        v = V([ORBIT * math.cos(sl), ORBIT * math.sin(sl), 0.0]) - site
        dirs.append(unit(V([v @ east, v @ north, v @ up])))
    q = diameter / (4 * focal) if diameter else 0.0
    bdf = (1 + 0.36 * q * q) / (1 + q * q)
    b = dirs[0]
    zen = V([0.0, 0.0, 1.0])
    c = cross(b, zen)
    right = unit(c) if norm(c) > 1e-9 else V([1.0, 0.0, 0.0])
    dish_up = cross(right, b)
    axis = V([0.0, math.cos(math.radians(lat)), math.sin(math.radians(lat))])
    rows = []
    rot1 = None
    for d in dirs:
        az = math.degrees(math.atan2(d[0], d[1])) % 360
        el = math.degrees(math.asin(d[2]))
        theta = math.atan2(norm(cross(b, d)), b @ d)
        h = math.hypot(d @ right, d @ dish_up)
        delta = focal * math.tan(theta / bdf)
        r = -delta * (d @ right) / h if h > 0 else 0.0
        u = -delta * (d @ dish_up) / h if h > 0 else 0.0
        p = axis - (axis @ d) * d
        p = p - (p @ b) * b
        rot = fold(math.degrees(math.atan2(p @ right, p @ dish_up)))
        rot1 = rot if rot1 is None else rot1
        rows.append((az, el, math.degrees(theta), r, u, math.hypot(r, u),
                     math.degrees(math.atan2(u, r)), rot, fold(rot - rot1)))
    return bdf, rows


CASES = [
    ("Tiberias", 35.4615, 32.808333, [13, 19.2], 600, None),
    ("Tiberias, D 1000", 35.4615, 32.808333, [13, 19.2], 600, 1000),
    ("Sydney", 151.2093, -33.8688, [156, 160], 650, None),
    ("Madrid", -3.7038, 40.4168, [-30, -22], 800, 900),
    ("Moscow, four", 37.6173, 55.7558, [36, 13, 19.2, 4.9], 500, 600),
    ("Zenith", 40.0, 0.0, [40, 45], 600, None),
]

# ---- The dish as measured ----

def prime_from_depth(diameter, depth):
    return diameter * diameter / (16 * depth)


def offset_figures(width, height=None, depth=None, feed=None, r1=None, r2=None):
    """(F, F_eff, alpha in degrees) by the closed formulas of planning/dish.h."""
    if r1 is not None:
        hr = math.hypot(width, r2 - r1)
        s = r1 + r2
        f = width ** 2 * (s + math.sqrt(s * s - hr * hr)) / (4 * hr * hr)
        return f, f * hr * hr / width ** 2, math.degrees(math.asin((r2 - r1) / hr))
    alpha = math.acos(width / height)
    feff = feed if feed is not None else width * height / (16 * depth)
    return feff * math.cos(alpha) ** 2, feff, math.degrees(alpha)


def section(focal, x1, width):
    """An offset dish cut from the paraboloid y = x^2 / (4 F), focus (0, F), from x1 to x1 + W,
    measured as an installer would, by coordinates alone: H, the depth found by search, the
    distances from the focus to the rims and to the centre, alpha of the chord."""
    x2 = x1 + width
    y = lambda x: x * x / (4 * focal)
    p1, p2 = (x1, y(x1)), (x2, y(x2))
    height = math.dist(p1, p2)
    ux, uy = (p2[0] - p1[0]) / height, (p2[1] - p1[1]) / height
    below = lambda x: abs((x - p1[0]) * uy - (y(x) - p1[1]) * ux)
    lo, hi = x1, x2
    for _ in range(200):
        a, b = lo + (hi - lo) / 3, hi - (hi - lo) / 3
        lo, hi = (a, hi) if below(a) < below(b) else (lo, b)
    xc = (x1 + x2) / 2
    return dict(height=height, depth=below((lo + hi) / 2), r1=math.dist((0, focal), p1),
                r2=math.dist((0, focal), p2), feff=math.dist((0, focal), (xc, y(xc))),
                alpha=math.degrees(math.atan2(p2[1] - p1[1], p2[0] - p1[0])))


def spread(figure, values):
    """The least and greatest figure over every measurement off by up to half a millimetre."""
    out = [figure(*[v + 0.5 * k for v, k in zip(values, signs)])
           for signs in itertools.product((-1, 1), repeat=len(values))]
    return min(out), max(out)


# (name, lon, lat, sats, F_eff, aperture, alpha): the plan with F_eff for F and the aperture for D.
DISH_PLANS = [
    ("Tiberias, offset W 800 H 883 depth 79", 35.4615, 32.808333, [13, 19.2],
     offset_figures(800, 883, depth=79)[1], 800, offset_figures(800, 883, depth=79)[2]),
    ("Tiberias, prime D 1000 depth 104", 35.4615, 32.808333, [13, 19.2],
     prime_from_depth(1000, 104), 1000, 0.0),
    ("Tiberias, offset, satellites low in the west", 35.4615, 32.808333, [-30, -25],
     560, 800, offset_figures(800, 883, feed=560)[2]),
]


def dish_report():
    true = section(460, 30, 800)
    print("section F 460, x1 30, W 800:", {k: repr(v) for k, v in true.items()})
    ways = [("feed distance 560", lambda w, h, d: offset_figures(w, h, feed=d), (800, 883, 560)),
            ("depth 79", lambda w, h, d: offset_figures(w, h, depth=d), (800, 883, 79)),
            ("rims 460 834", lambda w, a, b: offset_figures(w, r1=a, r2=b), (800, 460, 834))]
    for name, figures, values in ways:
        f, feff, alpha = figures(*values)
        lo, hi = spread(lambda *v: figures(*v)[1], values)
        print(f"  {name}: F {f!r}, F_eff {feff!r}, alpha {alpha!r}, F_eff within "
              f"[{lo:.4f}, {hi:.4f}]: {lo <= true['feff'] <= hi}, "
              f"off by {true['feff'] - feff:+.4f}, tolerance {max(hi - feff, feff - lo):.4f}")
    print("prime D 1000 depth 104: F", repr(prime_from_depth(1000, 104)))
    for name, lon, lat, sats, feff, aperture, alpha in DISH_PLANS:
        bdf, rows = plan(lon, lat, sats, feff, aperture)
        e1 = rows[0][1]
        print(f"{name}: F {feff * math.cos(math.radians(alpha)) ** 2!r}, F_eff {feff!r}, "
              f"alpha {alpha!r}, bdf {bdf!r}, f/D {feff / aperture!r}")
        print(f"  face tilt {e1 - alpha!r}, feed axis {2 * alpha - e1!r}")
        for row in rows:
            print("  " + ", ".join(f"{x:.15g}" for x in row) +
                  f"; aim {math.degrees(math.atan(row[5] / feff))!r}")


if __name__ == "__main__":
    for name, lon, lat, sats, focal, diameter in CASES:
        bdf, rows = plan(lon, lat, sats, focal, diameter)
        print(f"{name}: bdf {bdf!r}")
        for row in rows:
            print("  " + ", ".join(f"{x:.15g}" for x in row))
    for ratio in (0.3, 0.4, 0.5, 0.6, 0.7, 0.8):
        q = 1 / (4 * ratio)
        print(f"f/D {ratio}: {(1 + 0.36 * q * q) / (1 + q * q)!r}")
    dish_report()
