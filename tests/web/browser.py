"""Headless Chromium through Selenium, in a language and at a width, for the
page's test and its screenshots."""
import base64
import shutil
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"


def chromium(language="en", width=1280, height=900, dark=False):
    """A headless Chromium whose navigator.languages starts with `language`."""
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    profile = tempfile.mkdtemp(prefix="corvane-chromium-")
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--no-first-run", "--disable-extensions", "--hide-scrollbars",
                f"--user-data-dir={profile}", f"--lang={language}", f"--window-size={width},{height}",
                "--force-device-scale-factor=1"):
        options.add_argument(arg)
    if dark:
        options.add_argument("--force-dark-mode")
        options.add_argument("--enable-features=WebContentsForceDark:inversion_method/cielab_based")
    options.add_experimental_option("prefs", {"intl.accept_languages": f"{language},{language.split('-')[0]}"})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.profile_dir = profile
    driver.set_window_size(width, height)
    return driver


def quit(driver):
    driver.quit()
    shutil.rmtree(driver.profile_dir, ignore_errors=True)


def wait(driver, condition, timeout=20, message=""):
    """Waits until condition(driver) is truthy and returns it; a TimeoutException names `message`."""
    return WebDriverWait(driver, timeout, poll_frequency=0.1).until(lambda d: condition(d), message)


def full_page_png(driver, path, width):
    """A PNG of the whole page at `width` CSS pixels (the height the page needs)."""
    height = driver.execute_script("return document.documentElement.scrollHeight")
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": width < 600})
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png", "captureBeyondViewport": True})
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    with open(path, "wb") as f:
        f.write(base64.b64decode(shot["data"]))
