"""The phone page in headless Chromium against tarvex-calc: the same plan for the same input, the
compass and the level showing what overridden orientation readings imply, the feeds' cards at
phone sizes, the phone's position.

Usage: page_test.py PAGE TARVEX_CALC SCREENSHOT_DIR"""

import base64
import re

import json
import math
import os
import subprocess
import sys
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import devtools  # noqa: E402

PAGE, CALC, SHOTS = (os.path.abspath(p) for p in sys.argv[1:4])
TOLERANCE = 1e-9  # emscripten's libm may differ from glibc's in the last bit

# (query keys, what the page must show beside which field when the plan is refused)
ROWS = [
    ({"lon": "35.4615", "lat": "32.808333", "sats": "13,19.2", "focal_mm": "600",
      "date": "2026-12-07", "utm_source": "card"}, None),
    ({"lon": "35:27.69", "lat": "32:48.5", "sats": "13, 19.2, 9", "focal_mm": "550",
      "diameter_mm": "900", "date": "2027-03-01"}, None),
    ({"lon": "-58.4", "lat": "-34.6", "sats": "-61,-55.5,-43,-30", "focal_mm": "700",
      "diameter_mm": "1200", "date": "2031-01-01"}, None),
    ({"lon": "37.6", "lat": "95", "sats": "13,19.2", "focal_mm": "600"}, "lat"),
    ({"lon": "37.6", "lat": "55.7", "sats": "13,19.2", "focal_mm": "шестьсот"}, "focal_mm"),
    ({"lon": "35.4615", "lat": "32.808333", "sats": "13,19.2", "dish": "offset", "width_mm": "800",
      "height_mm": "883", "depth_mm": "79", "date": "2026-12-07"}, None),
    ({"lon": "37.6", "lat": "55.7", "sats": "express amu1,13", "diameter_mm": "1000",
      "depth_mm": "104", "date": "2026-12-07"}, None),
    ({"lon": "37.6", "lat": "55.7", "sats": "13,19.2", "dish": "offset", "width_mm": "800",
      "height_mm": "883", "depth_mm": "-79"}, "depth_mm"),
    ({"lon": "37.6", "lat": "55.7", "sats": "13,Astra", "focal_mm": "600"}, "sats"),
    ({"lon": "35.4615", "lat": "32.808333", "sats": "13,19.2", "diameter_mm": "1500",
      "f_over_d": "0.4", "date": "2026-12-07", "customer": "Иванов, крыша"}, None),
]
# Links as another program may write them, and the field the page refuses them beside ("" for
# the form as a whole): bytes that are not UTF-8 (a cp1251 page's link), a key given twice.
LINKS = [
    ("lon=%FF&lat=32.8&sats=13,19.2&focal_mm=600", "lon"),
    ("%FF=1&lon=35&lat=32.8&sats=13,19.2&focal_mm=600", ""),
    ("lon=35&lat=32.8&sats=13,%FF&focal_mm=600", "sats"),
    ("lon=35.4615%20%E2.%E4.&lat=32.8&sats=13,19.2&focal_mm=600", "lon"),
    ("lon=35.4615&lat=32.8&sats=13,19.2&focal_mm=600&lon=36", "lon"),
    ("lon=35.4615&lat=32.8&sats=13,19.2&focal_mm=600&lon=", "lon"),
]
OPTIONS = {"lon": "--lon", "lat": "--lat", "focal_mm": "--focal", "diameter_mm": "--diameter",
           "date": "--date", "dish": "--dish", "depth_mm": "--depth", "width_mm": "--width",
           "height_mm": "--height", "f_over_d": "--f-over-d"}

worst = 0.0


def native(keys, form="--json"):
    """tarvex-calc plan --json (or its table, form "") for the same keys: the JSON, or the
    refusal's message."""
    args = [CALC, "plan"] + ([form] if form else [])
    for sat in keys["sats"].split(","):
        args += ["--sat", sat.strip()]
    for key, option in OPTIONS.items():
        if key in keys:
            args += [f"{option}={keys[key]}"]
    run = subprocess.run(args, capture_output=True, text=True)
    if run.returncode == 0:
        return json.loads(run.stdout) if form else run.stdout, None
    # 1: the plan refused the set-up; otherwise the options themselves were refused, in English.
    return None, run.stderr.strip().removeprefix("tarvex-calc plan: ") if run.returncode == 1 else None


def same(page, calc, where="plan"):
    """Every key present in the same order, numbers within TOLERANCE, the rest equal."""
    global worst
    if isinstance(calc, dict):
        assert isinstance(page, dict) and list(page) == list(calc), f"{where}: {page} != {calc}"
        for key in calc:
            same(page[key], calc[key], f"{where}.{key}")
    elif isinstance(calc, list):
        assert isinstance(page, list) and len(page) == len(calc), f"{where}: {page} != {calc}"
        for k, (p, c) in enumerate(zip(page, calc)):
            same(p, c, f"{where}[{k}]")
    elif isinstance(calc, (int, float)) and not isinstance(calc, bool):
        assert isinstance(page, (int, float)), f"{where}: {page!r} is not a number"
        worst = max(worst, abs(page - calc))
        assert abs(page - calc) <= TOLERANCE, f"{where}: {page!r} != {calc!r}"
    else:
        assert page == calc, f"{where}: {page!r} != {calc!r}"


def url_of(keys):
    return "file://" + urllib.parse.quote(PAGE) + "?" + urllib.parse.urlencode(keys)


def check_plans(browser):
    def text(ident):
        return browser.evaluate(f"document.getElementById('{ident}').textContent")

    for keys, refused_field in ROWS:
        browser.open(url_of(keys))
        page = json.loads(text("plan-json"))
        calc, refusal = native(keys)
        if refused_field is None:
            same(page, calc)
            # Rounded to tenths, a last-bit difference could only show on a tie: none in these rows.
            assert text("plan-text") == native(keys, form="")[0]
            assert browser.evaluate("document.querySelectorAll('#feeds > circle').length") == len(
                calc["feeds"])
        else:
            assert page["field"] == refused_field, page
            assert text(f"problem-{refused_field}") == page["error"]
            # The satellite the refusal names, not all four.
            assert browser.evaluate("document.querySelectorAll('[aria-invalid]').length") == 1
            if refusal is not None:
                assert page["error"] == refusal, (page, refusal)
    for query, field in LINKS:
        browser.open("file://" + urllib.parse.quote(PAGE) + "?" + query)
        page = json.loads(text("plan-json"))
        assert page["field"] == field, (query, page)
        assert text(f"problem-{field}") == page["error"], query
        assert text("plan-status").startswith("Расчёт не выполнен"), query
    # «Рассчитать» once the worker is up: the plan computed off the page's thread, the same.
    browser.open(url_of(ROWS[0][0]), "document.body.dataset.worker")
    browser.evaluate("document.getElementById('sat2').value = '9';"
                     "document.getElementById('compute').click()")
    browser.wait("document.querySelector('#card-2 .sat').textContent.startsWith('9.0°')")
    same(json.loads(text("plan-json")), native(dict(ROWS[0][0], sats="13,9"))[0])
    # A site pasted whole; a satellite found as it is typed.
    browser.evaluate("""(() => {
        const data = new DataTransfer();
        data.setData("text/plain", "32.808333 с.ш., 35.4615 в.д.");
        document.getElementById("lon").dispatchEvent(new ClipboardEvent("paste", {clipboardData: data}));
        const sat = document.getElementById("sat3");
        sat.value = "amu";
        sat.dispatchEvent(new Event("input"));
    })()""")
    assert browser.evaluate("['lat', 'lon'].map(id => document.getElementById(id).value).join()") \
        == "32.808333,35.4615"
    assert text("sat-suggestions") == "36.1° в.д. — Express AMU1"
    # Headless Chromium has no orientation sensors of its own.
    browser.open(url_of(ROWS[0][0]), "/Показаний датчиков нет/.test("
                                     "document.getElementById('sensor-status').textContent)")


def quaternion(alpha, beta, gamma):
    """The device orientation (Z-X'-Y'' angles, degrees) as the sensor's quaternion."""
    def about(axis, degrees):
        half = math.radians(degrees) / 2
        return [math.sin(half) * c for c in axis] + [math.cos(half)]

    def times(a, b):
        ax, ay, az, aw = a
        bx, by, bz, bw = b
        return [aw * bx + ax * bw + ay * bz - az * by, aw * by - ax * bz + ay * bw + az * bx,
                aw * bz + ax * by - ay * bx + az * bw, aw * bw - ax * bx - ay * by - az * bz]

    q = times(times(about((0, 0, 1), alpha), about((1, 0, 0), beta)), about((0, 1, 0), gamma))
    return dict(zip("xyzw", q))


def check_sensors(browser):
    keys = ROWS[0][0]
    calc, _ = native(keys)
    def hold(alpha, beta, gamma):
        for sensor in ("absolute-orientation", "relative-orientation"):
            browser.command("Emulation.setSensorOverrideReadings", type=sensor,
                            reading={"quaternion": quaternion(alpha, beta, gamma)})

    def shown(ident, attribute="deg"):
        return float(browser.evaluate(
            f"document.getElementById('{ident}').dataset.{attribute}"))

    for sensor in ("absolute-orientation", "relative-orientation"):
        browser.command("Emulation.setSensorOverrideEnabled", enabled=True, type=sensor)
    # Lying flat, its top toward 100° east of north: satellite 1 is that much further round.
    hold(360 - 100, 0, 0)
    browser.open(url_of(keys), "document.getElementById('compass-turn').dataset.deg")
    turn = (calc["feeds"][0]["magnetic_azimuth_deg"] - 100 + 180) % 360 - 180
    assert abs(shown("compass-turn") - turn) < 0.01, (shown("compass-turn"), turn)
    # On the rim, screen to the installer, leaning back 25°; then along feed 1 turned by -12°.
    hold(30, 90 + 25, -12)
    browser.wait("document.getElementById('level-face').dataset.deg > 0")
    assert abs(shown("level-face") - 25) < 0.01, shown("level-face")
    assert abs(shown("level-face", "planDeg") - calc["dish"]["face_tilt_deg"]) <= TOLERANCE
    assert abs(shown("level-lnb") + 12) < 0.01, shown("level-lnb")
    assert abs(shown("level-lnb", "planDeg") - calc["feeds"][0]["rotation_deg"]) <= TOLERANCE


def card_numbers(lines):
    """The numbers of a card's lines, signs from the words: "влево 64 мм" -> -64,
    "поворот 0.6° против часовой" -> -0.6; the feed a distance is from is no number of it."""
    numbers = []
    for line in lines:
        line = re.sub(r"конвертора \d", "", line)
        for before, value, after in re.findall(
                r"(влево |вниз )?(\d+(?:\.\d+)?)(° против| мм дальше)?", line):
            numbers.append(-float(value) if before or after else float(value))
    return numbers


def check_cards(browser):
    """Each feed's card at phone sizes, its numbers as tarvex-calc's rounded apart here; nothing
    wider than the screen."""
    for width, height in ((360, 740), (390, 844), (844, 390)):
        browser.command("Emulation.setDeviceMetricsOverride", width=width, height=height,
                        deviceScaleFactor=1, mobile=True)
        for row in (0, 2):
            keys = ROWS[row][0]
            browser.open(url_of(keys))
            calc, _ = native(keys)
            assert browser.evaluate("document.documentElement.scrollWidth") <= width
            # Shown text at least 16 px, whatever a finger taps at least 44 px high.
            assert browser.evaluate("""[...document.body.querySelectorAll('*')].every(e =>
                !e.getClientRects().length || e.closest('svg') ||
                (![...e.childNodes].some(n => n.nodeType === 3 && n.textContent.trim()) ||
                 parseFloat(getComputedStyle(e).fontSize) >= 16) &&
                (!e.matches('button, input, select, summary') ||
                 e.getBoundingClientRect().height >= 44))""")
            # Results first: the inputs folded away, the JSON kept in a closed box.
            assert browser.evaluate("!document.getElementById('inputs').open && "
                                    "!!document.querySelector('details:not([open]) > #plan-json')")
            cards = browser.evaluate("[...document.querySelectorAll('.card')].map("
                                     "c => [...c.querySelectorAll('li')].map(li => li.textContent))")
            assert len(cards) == len(calc["feeds"]), cards
            for k, (card, feed) in enumerate(zip(cards, calc["feeds"])):
                if k == 0:
                    expected = [round(feed["azimuth_deg"], 1), round(feed["magnetic_azimuth_deg"], 1),
                                round(feed["elevation_deg"], 1), abs(round(calc["dish"]["face_tilt_deg"], 1))]
                else:
                    expected = [round(feed[key]) for key in ("right_mm", "up_mm", "distance_mm",
                                                             "axial_mm")
                                if round(feed.get(key, 0)) != 0]
                expected.append(round(feed["rotation_deg"], 1))
                if k:
                    expected.append(round(feed["aim_deg"], 1))
                got = card_numbers(card)
                assert got == expected, (width, k, card, expected)
            shot = browser.command("Page.captureScreenshot", format="png")
            with open(os.path.join(SHOTS, f"page_{width}x{height}_{row}.png"), "wb") as file:
                file.write(base64.b64decode(shot["data"]))
    browser.command("Emulation.clearDeviceMetricsOverride")


def check_location(browser):
    """The phone's position fills the site when allowed; refused, the fields stay as they were."""
    browser.open(url_of(ROWS[0][0]))
    locate = ("document.getElementById('locate').click();"
              "document.getElementById('locate-status').textContent = ''")
    site = "['lon', 'lat'].map(id => document.getElementById(id).value).join()"
    status = "document.getElementById('locate-status').textContent"
    browser.command("Browser.setPermission", permission={"name": "geolocation"}, setting="denied")
    browser.evaluate(locate)
    browser.wait(f"/не разрешён/.test({status})")
    assert browser.evaluate(site) == "35.4615,32.808333"
    browser.command("Browser.setPermission", permission={"name": "geolocation"}, setting="granted")
    browser.command("Emulation.setGeolocationOverride", latitude=55.751244, longitude=37.618423,
                    accuracy=12)
    browser.evaluate(locate)
    browser.wait(f"/12 м/.test({status})")
    assert browser.evaluate(site) == "37.618423,55.751244"


browser = devtools.Browser()
try:
    check_plans(browser)
    check_cards(browser)
    check_location(browser)
    check_sensors(browser)
finally:
    browser.close()
print(f"page agrees with tarvex-calc on {len(ROWS)} rows; largest difference {worst:.3g}")
