#!/usr/bin/env python3
"""The web page in headless Chromium against corvane-monitor --web in front of
dodova-sim, one case a run:

live_call    a call rings live with its number and is announced as a browser
             notification, then stands in the history; a search finds it and
             another word finds nothing
book_names   a phone-book entry added on the page names the next call
msn_change   an MSN changed on the page reaches the adapter with the Transmit
             Settings commands between the closing and the opening trace
             sequences, and monitoring goes on
login        with a password the page asks for it, refuses a wrong one, and
             with the right one follows the calls

usage: page_test.py CASE; CORVANE_BUILD_DIR names the build, CORVANE_UPDATE_GOLDENS=1
rewrites the golden.
"""
import os
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
try:
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys

    import browser
except ImportError as missing:
    print(f"skipped: {missing} (make deps installs python3-selenium)")
    sys.exit(77)
if not Path(browser.CHROMIUM).exists() or not Path(browser.CHROMEDRIVER).exists():
    print("skipped: chromium or chromium-driver missing (make deps installs them)")
    sys.exit(77)
from service import Service  # noqa: E402

CALLER = "0301998877"
CALLER_GROUPED = "030 1998877"  # as the page shows an unnamed caller's number
NAME = "Erika Muster"
NEW_MSN = "4799"
# One caller again and again, nobody answers: each pass rings 5 s, then is logged.
SCENARIO = f"loop pause=2s\nin at=0:01 from={CALLER} to=4711 ring=5s answer=no\n"
OPENING = ["ATE0", "ATCD1", "ATCD9"]
GOLDEN = Path(__file__).parent / "data/msn_change.golden"
LIMIT = 60  # seconds: a bound for a busy machine, never a wait
PASSWORD = "correct horse"


class Page:
    """The page of one service in one browser, read as a user sees it."""

    def __init__(self, service, driver):
        self.service, self.d = service, driver
        driver.get(f"http://127.0.0.1:{service.port}/")

    # Read in one step in the page: a list it redraws meanwhile cannot go stale.
    def text(self, css):
        return self.d.execute_script("const e = document.querySelector(arguments[0]); return e ? e.innerText.trim() : ''", css)

    def texts(self, css):
        return self.d.execute_script("return [...document.querySelectorAll(arguments[0])].map(e => e.innerText)", css)

    def until(self, condition, what):
        return browser.wait(self.d, lambda d: condition(), LIMIT, what)

    def open(self, page):
        self.d.find_element(By.CSS_SELECTOR, f'.tabs a[href="#{page}"]').click()
        self.until(lambda: not self.d.find_element(By.ID, page).get_attribute("hidden"), f"page {page} shown")

    def ringing(self, name=""):
        """True while channel A rings with the caller and `name` (none: no name, the number grouped)."""
        phase = self.d.execute_script("return document.querySelector('.channel[data-channel=\"A\"]').dataset.phase")
        number = CALLER if name else CALLER_GROUPED
        return phase == "ringing" and self.text("#chan-A-number") == number and self.text("#chan-A-name") == name

    def call_rows(self):
        return self.texts("#calls-table tbody tr")

    def type_into(self, element_id, words):
        box = self.d.find_element(By.ID, element_id)
        box.send_keys(Keys.CONTROL, "a", Keys.DELETE)
        box.send_keys(words)
        return box

    def no_script_errors(self):
        """Nothing failed but what a wrong password should (the browser logs the 401)."""
        refused = "/api/v1/login - Failed to load resource: the server responded with a status of 401"
        errors = [e["message"] for e in self.d.get_log("browser") if e["level"] == "SEVERE" and refused not in e["message"]]
        assert not errors, f"the page's scripts failed: {errors}"


# The browser's notifications as the page makes them, permission granted.
NOTES = """window.notes = [];
window.Notification = class { constructor(title, o) { window.notes.push(title + ": " + o.body); } };
Notification.permission = "granted";"""


def live_call(page):
    page.d.execute_script(NOTES)
    page.until(lambda: page.ringing(), "a call ringing live with its number and no name")
    page.until(lambda: any(CALLER in n for n in page.d.execute_script("return window.notes")),
               "a browser notification of the caller")
    page.open("calls")
    page.until(lambda: any(CALLER in r and "Ring" in r for r in page.call_rows()), "the call in the history")
    page.type_into("calls-q", "99-88")  # a dash typed in a number is ignored
    page.until(lambda: page.call_rows() and all(CALLER in r for r in page.call_rows()), "the search finds it")
    page.type_into("calls-q", "nobody")
    page.until(lambda: not page.call_rows(), "a search for another word finds nothing")


def book_names(page):
    page.open("book")
    page.type_into("book-name", NAME)
    page.type_into("book-phone1", CALLER)
    page.d.find_element(By.ID, "book-add").click()
    page.until(lambda: any(NAME in r for r in page.texts("#book-table tbody tr")),
               "the new entry in the phone book")
    page.open("live")
    page.until(lambda: page.ringing(NAME), "the next call named from the phone book")


def msn_change(page):
    commands = page.service.commands
    page.open("adapter")
    page.until(lambda: page.d.find_element(By.ID, "set-TextMSN1").get_attribute("value") == "4711"
               and page.text("#adapter-busy") == "Done.", "the adapter's settings received")
    page.until(lambda: commands()[-3:] == OPENING, "trace mode on again after reading")
    before = len(commands())
    msn2 = page.type_into("set-TextMSN2", NEW_MSN)
    page.d.find_element(By.ID, "adapter-send").click()
    page.until(lambda: page.text("#adapter-busy") == "Done." and len(commands()) > before
               and commands()[-3:] == OPENING, "Transmit Settings done, trace mode on again")
    assert msn2.get_attribute("value") == NEW_MSN, "the read-back shows the new MSN"
    assert page.text("#adapter-message") == "", page.text("#adapter-message")
    golden(GOLDEN, "\n".join(commands()[before:]) + "\n")
    page.open("live")
    page.until(lambda: not page.ringing(), "no call rings")
    page.until(lambda: page.ringing(), "monitoring goes on: the next call rings live")


def login(page):
    dialog = page.d.find_element(By.ID, "login-dialog")
    page.until(lambda: dialog.get_attribute("open") is not None, "the login form")
    page.type_into("login-password", "wrong" + Keys.ENTER)
    page.until(lambda: page.text("#login-message") == "Wrong password.", "a wrong password refused")
    page.type_into("login-password", PASSWORD + Keys.ENTER)
    page.until(lambda: dialog.get_attribute("open") is None, "the form gone")
    page.until(lambda: page.ringing(), "the calls followed once logged in")


def golden(path, actual):
    if os.environ.get("CORVANE_UPDATE_GOLDENS") == "1":
        path.parent.mkdir(exist_ok=True)
        path.write_text(actual)
    expected = path.read_text() if path.exists() else ""
    assert actual == expected, (f"{path} differs (CORVANE_UPDATE_GOLDENS=1 rewrites it):\n"
                                f"--- expected\n{expected}--- actual\n{actual}")


CASES = {"live_call": live_call, "book_names": book_names, "msn_change": msn_change, "login": login}


def web_args(case, password_file):
    if case is not login:
        return None
    password_file.write(PASSWORD + "\n")
    password_file.flush()
    return lambda port: ["--web", f"127.0.0.1:{port}", "--web-password-file", password_file.name]


if __name__ == "__main__":
    case = CASES[sys.argv[1]]
    with tempfile.NamedTemporaryFile("w") as password_file, \
            Service(SCENARIO, web_args=web_args(case, password_file)) as service:
        service.wait_running()
        driver = browser.chromium("en", 1280)
        try:
            page = Page(service, driver)
            case(page)
            page.no_script_errors()
        except Exception:
            print(service.log()[-4000:], file=sys.stderr)
            raise
        finally:
            browser.quit(driver)
    print(f"{sys.argv[1]}: passed")
