"""The phone page in headless Chromium: its size, the time to its first plan, the time per plan.

Usage: web_page.py PAGE"""

import gzip
import os
import statistics
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import devtools  # noqa: E402

PAGE = os.path.abspath(sys.argv[1])
QUERY = "lon=35.4615&lat=32.808333&sats=13,19.2,9,4.8&focal_mm=600&diameter_mm=900&date=2026-12-07"
LOADS = 15
PLANS = 2000
# With the optics a plan takes milliseconds, not microseconds: fewer of them.
OPTICS_PLANS = 20

data = open(PAGE, "rb").read()
print(f"page size           {len(data) / 1024:8.1f} KiB, gzipped {len(gzip.compress(data, 9)) / 1024:.1f} KiB")

browser = devtools.Browser()
try:
    url = "file://" + urllib.parse.quote(PAGE) + "?" + QUERY
    first = []
    for _ in range(LOADS):
        browser.open(url)
        first.append(float(browser.evaluate("document.body.dataset.firstPlanMs")))
    print(f"first plan          {statistics.median(first):8.1f} ms from navigation (median of {LOADS}, "
          f"{min(first):.1f}-{max(first):.1f})")
    def mean_plan(extra, plans):
        return browser.evaluate(f"""(() => {{
            const query = new URLSearchParams(location.search).toString() + "{extra}";
            for (let i = 0; i < 3; ++i) Module.ccall("tarvex_plan", "string", ["string"], [query]);
            const start = performance.now();
            for (let i = 0; i < {plans}; ++i) JSON.parse(Module.ccall("tarvex_plan", "string", ["string"], [query]));
            return (performance.now() - start) / {plans};
        }})()""")
    per_plan = mean_plan("&optics=off", PLANS)
    print(f"per plan (4 feeds)  {per_plan * 1000:8.1f} us (mean of {PLANS}, optics off: query in, JSON and table out)")
    per_optics = mean_plan("", OPTICS_PLANS)
    print(f"per plan, optics    {per_optics:8.1f} ms (mean of {OPTICS_PLANS}, 4 feeds by physical optics)")
finally:
    browser.close()
