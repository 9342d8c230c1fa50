#!/usr/bin/env python3
"""The web page's screenshots for the README: the live page while both channels
are in a call, 360 and 1280 px wide, English and German, in headless Chromium
against corvane-monitor --web on the simulator playing the tour's calls.

usage: screenshots.py HOME_TEMPLATE SCENARIO OUT_DIR, CORVANE_BUILD_DIR naming the build
(make web-screenshots prepares the program folder as make screenshots does)
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
import browser  # noqa: E402
from service import Service  # noqa: E402

WIDTHS = (360, 1280)
LANGUAGES = ("en", "de")


def both_channels_talking(d):
    return d.execute_script(
        "return [...document.querySelectorAll('.channel')].every(c => c.dataset.phase === 'talking')"
        " && document.querySelectorAll('#latest li').length > 1")


def main(home, scenario, out):
    service = Service(Path(scenario).read_text(), home_from=home).wait_running()
    url = f"http://127.0.0.1:{service.port}/"
    try:
        for language in LANGUAGES:
            for width in WIDTHS:
                d = browser.chromium(language, width)
                try:
                    # Lamps lit, not caught in their dark half.
                    d.execute_cdp_cmd("Emulation.setEmulatedMedia",
                                      {"features": [{"name": "prefers-reduced-motion", "value": "reduce"}]})
                    d.get(url)
                    browser.wait(d, both_channels_talking, 90, "both channels in a call")
                    browser.full_page_png(d, str(Path(out) / f"web-{width}-{language}.png"), width)
                finally:
                    browser.quit(d)
    finally:
        service.stop()


if __name__ == "__main__":
    main(*sys.argv[1:4])
