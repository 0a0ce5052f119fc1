#!/usr/bin/env python3
"""Times pinned in sun_test.cpp, computed apart from the program: the sun by the Astronomical
Almanac's low-precision formulas (its section C, good to 0.01 degrees over 1950-2050; not
Meeus's), turned into the site's sky by rotation matrices, and each time found by scanning the day
minute by minute and halving the minute where the azimuth passes. Usage: python3 sun_reference.py"""
import datetime
import math

UNIX_EPOCH_JD = 2440587.5


def rot(axis, angle):
    c, s = math.cos(angle), math.sin(angle)
    if axis == 'y':
        return [[c, 0, -s], [0, 1, 0], [s, 0, c]]
    return [[c, s, 0], [-s, c, 0], [0, 0, 1]]


def apply(m, v):
    return [sum(m[i][j] * v[j] for j in range(3)) for i in range(3)]


def sun(lat, lon, unix):
    n = unix / 86400 + UNIX_EPOCH_JD - 2451545.0
    mean_longitude = math.radians(280.460 + 0.9856474 * n)
    g = math.radians(357.528 + 0.9856003 * n)
    ecliptic = mean_longitude + math.radians(1.915 * math.sin(g) + 0.020 * math.sin(2 * g))
    obliquity = math.radians(23.439 - 0.0000004 * n)
    # The sun in the equator's frame: the ecliptic vector turned about x by the obliquity.
    v = [math.cos(ecliptic), math.cos(obliquity) * math.sin(ecliptic),
         math.sin(obliquity) * math.sin(ecliptic)]
    # Into the Earth's frame by the sidereal time, then about y by the colatitude: x south, z up.
    sidereal = math.radians(280.46061837 + 360.98564736629 * n + lon)
    local = apply(rot('y', math.radians(90 - lat)), apply(rot('z', sidereal), v))
    south, east, up = local
    azimuth = math.degrees(math.atan2(east, -south)) % 360
    return azimuth, math.degrees(math.asin(up))


def first_at(lat, lon, date, azimuth):
    midnight = datetime.datetime(*date, tzinfo=datetime.timezone.utc).timestamp()
    start = midnight - lon / 15 * 3600

    def off(t):
        return (sun(lat, lon, t)[0] - azimuth + 180) % 360 - 180

    for minute in range(24 * 60):
        a, b = start + 60 * minute, start + 60 * (minute + 1)
        fa, fb = off(a), off(b)
        # A sign change across the opposite azimuth jumps by about 360: not a passage.
        if fa == 0 or (fa < 0) != (fb < 0) and abs(fa - fb) < 180:
            while b - a > 1e-4:
                m = (a + b) / 2
                if (off(m) < 0) == (fa < 0):
                    a = m
                else:
                    b = m
            elevation = sun(lat, lon, a)[1]
            if elevation > 0:
                return a, elevation
    return None


CASES = [
    ("Tiberias, satellite 13", 32.808333, 35.4615, (2026, 12, 7), 217.369781328184),
    ("Tiberias, the next day", 32.808333, 35.4615, (2026, 12, 8), 217.369781328184),
    ("Golden, NREL's 2020-01-01T20:10:00Z", 39.743, -105.178, (2020, 1, 1), 196.775752),
    ("Sydney, satellite 156 in the north", -33.8688, 151.2093, (2026, 12, 7), 8.55949817450988),
    ("Rio, the sun 0.3 degrees from the zenith", -22.9068, -43.1729, (2026, 12, 7), 45),
    ("Dakar, the azimuth passed twice", 14.7167, -17.4677, (2026, 6, 21), 68),
    ("Tromso, midnight sun in the north", 69.6492, 18.9553, (2026, 6, 21), 5),
    ("Tromso, the same before midnight", 69.6492, 18.9553, (2026, 6, 21), 355),
    ("London, north in December", 51.5, -0.1, (2026, 12, 21), 0),
]

if __name__ == "__main__":
    for name, lat, lon, date, azimuth in CASES:
        found = first_at(lat, lon, date, azimuth)
        if found is None:
            print(f"{name}: none")
            continue
        t, elevation = found
        iso = datetime.datetime.fromtimestamp(round(t), datetime.timezone.utc).isoformat()
        print(f"{name}: {t:.3f} ({iso}), elevation {elevation:.4f}")
