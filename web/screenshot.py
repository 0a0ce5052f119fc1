"""A phone-sized screenshot of the page (390 x 844 CSS pixels) from headless Chromium, scrolled to
one of its elements, the phone lying flat with its top to the south-south-east.

Usage: screenshot.py PAGE QUERY ELEMENT_ID OUTPUT.png"""

import base64
import math
import os
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import devtools  # noqa: E402

page, query, element, output = sys.argv[1:5]
browser = devtools.Browser()
try:
    browser.command("Emulation.setDeviceMetricsOverride", width=390, height=844,
                    deviceScaleFactor=1, mobile=True)
    half = math.radians(360 - 160) / 2  # alpha only: lying flat
    for sensor in ("absolute-orientation", "relative-orientation"):
        browser.command("Emulation.setSensorOverrideEnabled", enabled=True, type=sensor)
        browser.command("Emulation.setSensorOverrideReadings", type=sensor, reading={
            "quaternion": {"x": 0, "y": 0, "z": math.sin(half), "w": math.cos(half)}})
    browser.open("file://" + urllib.parse.quote(os.path.abspath(page)) + "?" + query,
                 "document.getElementById('compass-turn').dataset.deg")
    browser.evaluate(f"window.scrollTo(0, document.getElementById('{element}')"
                     ".getBoundingClientRect().top + window.scrollY - 8)")
    browser.wait("true")
    shot = browser.command("Page.captureScreenshot", format="png")
    with open(output, "wb") as file:
        file.write(base64.b64decode(shot["data"]))
finally:
    browser.close()
