#!/usr/bin/env python3
"""Figures pinned in plan_test.cpp, computed apart from the program: WGS84 by its closed
formulas, vectors by hand. Usage: python3 reference_figures.py"""
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

if __name__ == "__main__":
    for name, lon, lat, sats, focal, diameter in CASES:
        bdf, rows = plan(lon, lat, sats, focal, diameter)
        print(f"{name}: bdf {bdf!r}")
        for row in rows:
            print("  " + ", ".join(f"{x:.15g}" for x in row))
    for ratio in (0.3, 0.4, 0.5, 0.6, 0.7, 0.8):
        q = 1 / (4 * ratio)
        print(f"f/D {ratio}: {(1 + 0.36 * q * q) / (1 + q * q)!r}")
