"""corvane-monitor --web end to end: the API against a simulated adapter.
Run as: web_api_test.py CASE (each case is a ctest test, label program)."""
import http.client
import json
import os
import socket
import ssl
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

from service import BOUND, BUILD, Events, Service, until

CALLER, NAME = "03012345678", "Anna Berger"
BOOK = f"{NAME}\t{CALLER}\t\t\t\t-\r\n"
CALL = "in at=0:02 from=03012345678 to=4711 ring=3s talk=0:02 hangup=remote\n"
PASSWORD = "s3cret word"


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def live_call():
    """A call rings live (state and push channel), then is in the list, found, exported, deleted."""
    with Service(CALL, book=BOOK) as s:
        s.wait_running()
        check(s.json("GET", "/api/v1/state")["channels"][0]["phase"] == "idle", "idle at first")
        events = Events(s)
        check(events.status == 200 and b"text/event-stream" in events.head, "the push channel opens")
        check(events.next()[0] == "state", "the state comes first")
        incoming = events.wait_for(lambda n, d: n == "call" and d["event"] == "incoming", "incoming")
        check((incoming["number"], incoming["name"]) == (CALLER, NAME), f"the caller named: {incoming}")
        pushed = events.wait_for(lambda n, d: n == "state" and d["channels"][0]["phase"] == "ringing", "ringing")
        state = s.json("GET", "/api/v1/state")
        for st in (pushed, state):
            a = st["channels"][0]
            check((a["number"], a["name"], a["msn"]) == (CALLER, NAME, "4711") and a["start"], f"the caller: {st}")
        events.wait_for(lambda n, d: n == "call" and d["event"] == "logged", "logged")
        calls = until(lambda: (lambda c: c if c["total"] else None)(s.json("GET", "/api/v1/calls")), "the record")
        first = calls["calls"][0]
        check(calls["total"] >= 1 and (first["number"], first["name"]) == (CALLER, NAME), f"listed: {calls}")
        check(s.json("GET", "/api/v1/calls?q=berger%20030")["total"] == calls["total"], "the search finds it")
        check(s.json("GET", "/api/v1/calls?q=nobody")["total"] == 0, "a search for another finds nothing")
        check(s.json("GET", "/api/v1/calls?missed=1")["total"] == 0, "answered is not missed")
        status, headers, csv = s.request("GET", "/api/v1/calls.csv")
        check(status == 200 and CALLER.encode() in csv and headers["content-type"].startswith("text/csv"), "CSV")
        check(s.json("GET", "/api/v1/statistics")["calls"] >= 1, "the statistics count it")
        check(s.request("DELETE", "/api/v1/calls/" + first["key"])[0] == 204, "deleted")
        check(s.json("GET", "/api/v1/calls")["total"] == calls["total"] - 1, "gone from the list")
        check(s.request("DELETE", "/api/v1/calls/" + first["key"])[0] == 404, "a key once")
        with open(os.path.join(s.home, "list.txt"), encoding="utf-8") as f:
            check(CALLER not in f.read() or calls["total"] > 1, "gone from list.txt")
        status, headers, page = s.request("GET", "/")
        check(status == 200 and b"<html" in page.lower() and "content-security-policy" in headers, "the page")
        check(s.request("GET", "/vendor/chart.js")[0] == 200 or not os.path.exists(
            "/usr/share/javascript/chart.js/chart.min.js"), "Chart.js")
        events.close()
        check(s.stop() == 0, "ends cleanly")


def refuses_without_password():
    """Off loopback without a password, or with an empty password file, it does not start."""
    for args in (["--web", "0.0.0.0:{port}"], ["--web", "0.0.0.0:{port}", "--web-password-file", "/dev/null"]):
        s = Service(web_args=[a.format(port=12345) for a in args])
        code = s.monitor.wait(BOUND)
        log = s.log()
        s.stop()
        check(code == 2, f"exit status 2, not {code}: {log}")
        check("web page:" in log and ("needs --web-password-file" in log or "no password" in log), log)


API = [("GET", "/api/v1/state"), ("GET", "/api/v1/calls"), ("GET", "/api/v1/calls.csv"),
       ("GET", "/api/v1/statistics"), ("DELETE", "/api/v1/calls/0123456789abcdef"),
       ("POST", "/api/v1/calls/delete"), ("GET", "/api/v1/pictures/live/A"), ("GET", "/api/v1/nothing")]


def with_password(run, extra=()):
    """`run(service)` on a service on every address with the password (and `extra` options)."""
    path = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"corvane-web-password-{os.getpid()}")
    with open(path, "w") as f:
        f.write(PASSWORD + "\nnot part of it\n")
    try:
        with Service(CALL, book=BOOK, web_args=lambda port: [
                "--web", f"0.0.0.0:{port}", "--web-password-file", path, *extra]) as s:
            run(s.wait_running())
    finally:
        os.unlink(path)


def password():
    """With a password: 401 without credentials on every path, works with Bearer and the login cookie."""
    def run(s):
        own = {"Origin": f"http://127.0.0.1:{s.port}"}
        for method, path in API:
            status, headers, body = s.request(method, path, b"{}" if method != "GET" else None, own)
            check(status == 401 and json.loads(body)["error"] == "unauthorized", f"{method} {path}: {status}")
        check(Events(s).status == 401, "the push channel refused")
        check(s.json("GET", "/api/v1/session") == {"passwordRequired": True, "loggedIn": False}, "session")
        bearer = {"Authorization": "Bearer " + PASSWORD}
        check(s.request("GET", "/api/v1/state", headers=bearer)[0] == 200, "Bearer works")
        check(Events(s, bearer).status == 200, "the push channel with Bearer")
        check(s.request("POST", "/api/v1/login", {"password": "wrong"}, own)[0] == 401, "a wrong password")
        status, headers, _ = s.request("POST", "/api/v1/login", b"password=" + PASSWORD.replace(" ", "+").encode(),
                                       dict(own, **{"Content-Type": "application/x-www-form-urlencoded"}))
        cookie = headers.get("set-cookie", "")
        check(status == 204 and "HttpOnly" in cookie and "SameSite=Strict" in cookie, f"login: {status} {cookie}")
        session = {"Cookie": cookie.split(";")[0]}
        check(s.request("GET", "/api/v1/calls", headers=session)[0] == 200, "the cookie works")
        check(s.json("GET", "/api/v1/session", headers=session)["loggedIn"], "logged in")
        check(Events(s, session).status == 200, "the push channel with the cookie")
        # A foreign page changes nothing, even with the user's cookie.
        foreign = dict(session, Origin="http://evil.example")
        before = s.json("GET", "/api/v1/calls", headers=session)
        key = before["calls"][0]["key"] if before["calls"] else "0123456789abcdef"
        check(s.request("DELETE", "/api/v1/calls/" + key, headers=foreign)[0] == 403, "foreign Origin refused")
        check(Events(s, foreign).status == 403, "foreign push channel refused")
        image = dict(session, **{"Sec-Fetch-Site": "cross-site"})  # a foreign page's <img>: no Origin
        check(s.request("GET", "/api/v1/settings", headers=image)[0] == 403, "no settings read from a foreign page")
        check("configuring the adapter" not in s.log(), "the trace stayed on")
        check(s.json("GET", "/api/v1/calls", headers=session) == before, "nothing changed")
        check(s.request("POST", "/api/v1/logout", headers=dict(session, **own))[0] == 204, "logout")
        check(s.request("GET", "/api/v1/calls", headers=session)[0] == 401, "the session ended")
        # Guessing is slowed down: after five wrong ones the address waits.
        statuses = [s.request("GET", "/api/v1/state", headers={"Authorization": "Bearer no"})[0] for _ in range(7)]
        check(statuses[-1] == 429, f"slowed down: {statuses}")
    with_password(run)


def clients_capped():
    """256 clients are held; the 257th is turned away; once some leave, new ones come in."""
    with Service() as s:
        s.wait_running()
        held = [socket.create_connection(("127.0.0.1", s.port), timeout=BOUND) for _ in range(256)]
        held[-1].sendall(b"GET /api/v1/state HTTP/1.1\r\nHost: x\r\n\r\n")
        check(held[-1].recv(12) == b"HTTP/1.1 200", "the 256th is served")
        extra = socket.create_connection(("127.0.0.1", s.port), timeout=BOUND)
        check(extra.recv(100).startswith(b"HTTP/1.1 503") and extra.recv(100) == b"", "the 257th turned away")
        check("256 clients; turning new ones away" in s.log(), "the log says so")
        for c in held[:10]:
            c.close()
        until(lambda: s.request("GET", "/api/v1/state")[0] == 200, "room again")
        for c in held[10:]:
            c.close()


def garbage():
    """Garbage, a 100 MB body, oversized headers and path tricks change nothing and crash nothing."""
    with Service(CALL, book=BOOK) as s:
        s.wait_running()
        until(lambda: s.json("GET", "/api/v1/calls")["total"] >= 1, "a call in the list")
        before = s.json("GET", "/api/v1/calls")
        for raw in (b"\x00\xff garbage\r\n\r\n", b"GET\r\n\r\n", b"DELETE /api/v1/calls/%zz HTTP/1.1\r\n\r\n",
                    b"GET / HTTP/1.1\r\nHost: x\r\nX: " + b"a" * 100000 + b"\r\n\r\n",
                    b"POST /api/v1/calls/delete HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"):
            c = socket.create_connection(("127.0.0.1", s.port), timeout=3)
            try:
                c.sendall(raw)
                c.recv(4096)
            except OSError:
                pass
            c.close()
        # 100 MB announced: refused before it is read.
        c = socket.create_connection(("127.0.0.1", s.port), timeout=BOUND)
        c.sendall(b"POST /api/v1/calls/delete HTTP/1.1\r\nHost: x\r\nContent-Type: application/json\r\n"
                  b"Content-Length: 104857600\r\n\r\n")
        sent = 0
        try:
            while sent < 100 * 1024 * 1024:
                c.sendall(b"[" * 65536)
                sent += 65536
        except OSError:
            pass
        check(sent < 100 * 1024 * 1024, "the 100 MB were not all taken")
        c.close()
        # Chunked, no length announced: cut at the cap.
        c = socket.create_connection(("127.0.0.1", s.port), timeout=BOUND)
        c.sendall(b"POST /api/v1/calls/delete HTTP/1.1\r\nHost: x\r\nContent-Type: application/json\r\n"
                  b"Transfer-Encoding: chunked\r\n\r\n11170\r\n" + b"{" * 70000 + b"\r\n0\r\n\r\n")
        answer = c.recv(100)
        check(answer.startswith(b"HTTP/1.1 413"), f"a chunked body over the cap: {answer}")
        c.close()
        for path in ("/api/v1/pictures/live/..%2F..%2F..%2Fetc%2Fpasswd", "/..%2F..%2Fetc/passwd", "/../../etc/passwd",
                     "/api/v1/pictures/live/%2Fetc%2Fpasswd", "/%2e%2e/%2e%2e/etc/passwd"):
            status, _, body = s.request("GET", path)
            check(status == 404 and b"root:" not in body, f"{path}: {status}")
        for body in (b"not json", b"[]", b'{"keys": "x"}', b'{"keys": [1]}', b'{"keys": ["' + b"f" * 5000 + b'"]}'):
            check(s.request("POST", "/api/v1/calls/delete", body, {"Content-Type": "application/json"})[0] in (400, 404),
                  f"bad body {body[:20]!r}")
        check(s.request("GET", "/api/v1/calls?limit=x")[0] == 400, "a bad limit")
        check(s.request("PUT", "/api/v1/state")[0] == 405, "a wrong method")
        check(s.json("GET", "/api/v1/calls") == before, "nothing changed")
        check(s.monitor.poll() is None, "still running")


def lists():
    """The phone book, the ignore list and the own numbers' names as the files and settings hold them; the
    lists' changes round trip, comments kept, bad ones refused."""
    settings = "[Startup]\nMsnNumber1=4711\nMsnName1=Office\n"
    with Service(CALL, book=BOOK + "Max Keller\t0891234567\t\t017012345\t\t-\r\n", settings=settings) as s:
        with open(os.path.join(s.home, "ignore.txt"), "w") as f:
            f.write("# Adverts\n0900*\n  0301111 # a neighbour\n")
        s.wait_running()
        entries = s.json("GET", "/api/v1/book")["entries"]
        check([(e["name"], e["phone1"], e["mobile"], e["picture"]) for e in entries] ==
              [(NAME, CALLER, "", ""), ("Max Keller", "0891234567", "017012345", "")], f"the book: {entries}")
        check(len({e["key"] for e in entries}) == 2, "one key each")
        check(s.json("GET", "/api/v1/ignore") == {"entries": ["0900*", "0301111"]}, "the ignore list")
        check(s.json("GET", "/api/v1/msn-names") == {"names": [{"msn": "4711", "name": "Office"}]}, "the names")
        check(s.json("GET", "/api/v1/contacts") == {"folder": "", "contacts": [], "unusable": 0}, "no folder")
        events = Events(s)
        incoming = events.wait_for(lambda n, d: n == "call" and d["event"] == "incoming", "incoming")
        check(incoming["msn_name"] == "Office", f"the own number named: {incoming}")
        ignore = os.path.join(s.home, "ignore.txt")
        for path, body in (("/api/v1/ignore", {"entries": ["09x00"]}), ("/api/v1/ignore", {"entries": ["*"]}),
                           ("/api/v1/ignore", {"entries": ["0900*1"]}), ("/api/v1/ignore", {"entries": [900]}),
                           ("/api/v1/ignore", {"entries": ["1"] * 1001}), ("/api/v1/ignore", {"entries": "0900"}),
                           ("/api/v1/msn-names", {"names": [{"msn": "47a", "name": "X"}]}),
                           ("/api/v1/msn-names", {"names": [{"msn": "4711", "name": "A\nB"}]}),
                           ("/api/v1/msn-names", {"names": [{"msn": "4711"}, {"msn": "4711"}]}),
                           ("/api/v1/msn-names", {"names": [{"msn": str(i)} for i in range(10)]})):
            check(s.request("PUT", path, body)[0] == 400, f"{path} refuses {body!r:.60}")
        with open(ignore) as f:
            check(f.read() == "# Adverts\n0900*\n  0301111 # a neighbour\n", "the refused changed nothing")
        put = s.json("PUT", "/api/v1/ignore", {"entries": ["0301111", "+49 30 555*", "0301111"]})
        check(put == s.json("GET", "/api/v1/ignore") == {"entries": ["0301111", "+49 30 555*"]}, f"ignore: {put}")
        with open(ignore) as f:
            check(f.read() == "# Adverts\n  0301111 # a neighbour\n+49 30 555*\n", "comments kept")
        events.wait_for(lambda n, d: n == "book", "the book event after the ignore list")
        names = {"names": [{"msn": "4712", "name": "Home"}, {"msn": "4711", "name": "Shop"}]}
        check(s.json("PUT", "/api/v1/msn-names", names) == s.json("GET", "/api/v1/msn-names") == {
            "names": [{"msn": "4711", "name": "Shop"}, {"msn": "4712", "name": "Home"}]}, "the names stored")
        events.wait_for(lambda n, d: n == "book", "the book event after the names")
        calls = until(lambda: s.json("GET", "/api/v1/calls")["calls"], "the call logged")
        check(calls[0]["msnName"] == "Shop", f"named anew at once: {calls}")


def png(width=2, height=1, pixels=None):
    """A PNG; `pixels` (the compressed data) when its header alone counts."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    if pixels is None:
        pixels = zlib.compress(b"".join(b"\0" + b"\x80\x40\x20" * width for _ in range(height)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", pixels) + chunk(b"IEND", b""))


# The segments a JPEG's size is read from: start, APP0, a frame header of 3 x 2 pixels, end.
JPEG = (b"\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
        b"\xff\xc0\x00\x0b\x08\x00\x02\x00\x03\x01\x01\x11\x00\xff\xd9")
ENTRY = {"name": "Max Keller", "phone1": "089 123-45/6", "phone2": "", "mobile": "", "other": ""}
# Bodies a new entry refuses: (body, content type, status, error).
BAD_ENTRIES = [
    (dict(ENTRY, name=""), "application/json", 400, "bad-value"),
    ({"name": "Max"}, "application/json", 400, "bad-value"),
    (dict(ENTRY, phone1="089 12a"), "application/json", 400, "bad-value"),
    (dict(ENTRY, phone1="--"), "application/json", 400, "bad-value"),
    (dict(ENTRY, name="Max\tKeller"), "application/json", 400, "bad-value"),
    (dict(ENTRY, name="M" * 65), "application/json", 400, "bad-value"),
    (dict(ENTRY, mobile="1" * 33), "application/json", 400, "bad-value"),
    (dict(ENTRY, name=5), "application/json", 400, "bad-request"),
    (b"not json", "application/json", 400, "bad-request"),
    (json.dumps(ENTRY).encode(), "text/plain", 415, "unsupported-type"),
]
# Uploads a picture refuses: (content type, body, status); the 3 MiB one sent whole, in chunks.
BAD_PICTURES = [
    ("image/png", b"GIF89a\x01\x00\x01\x00", 415), ("text/plain", png(), 415), ("image/png", png(width=0), 415),
    ("image/png", png(100000, 100000, b""), 415), ("image/jpeg", b"\xff\xd8\xff\xd9", 415),
    ("image/png", b"", 415), ("image/png", iter([png() + b"\0" * (3 * 1024 * 1024)]), 413),
]


def book():
    """Phone-book entries added, edited, pictured and deleted; bad values, big pictures and odd keys change nothing."""
    with Service(CALL, book=BOOK) as s:
        s.wait_running()
        path, pictures = os.path.join(s.home, "book.txt"), os.path.join(s.home, "pictures")

        def files():
            with open(path, "rb") as f:
                return f.read(), sorted(os.listdir(pictures)) if os.path.isdir(pictures) else []
        events = Events(s)
        for body, kind, status, code in BAD_ENTRIES:
            data = json.dumps(body).encode() if isinstance(body, dict) else body
            got, _, answer = s.request("POST", "/api/v1/book", data, {"Content-Type": kind})
            check((got, json.loads(answer)["error"]) == (status, code), f"{body!r:.60}: {got} {answer!r}")
        check(files() == (BOOK.encode(), []), "the bad ones changed nothing")
        added = s.json("POST", "/api/v1/book", ENTRY, status=201)
        check(files()[0] == (BOOK + "Max Keller\t089 123-45/6\t\t\t\t-\r\n").encode(), f"appended: {files()}")
        events.wait_for(lambda n, d: n == "book" and d == {}, "the book event")
        check([e["key"] for e in s.json("GET", "/api/v1/book")["entries"]][1:] == [added["key"]], "listed")
        edited = s.json("PUT", "/api/v1/book/" + added["key"], dict(ENTRY, mobile="0170 55"))
        check(edited["mobile"] == "0170 55" and edited["key"] != added["key"], f"edited: {edited}")
        check(s.request("PUT", "/api/v1/book/" + added["key"], ENTRY)[0] == 404, "the old key is gone")
        key = edited["key"]
        before = files()
        for kind, body, status in BAD_PICTURES:
            got = s.request("PUT", f"/api/v1/book/{key}/picture", body, {"Content-Type": kind})[0]
            check(got == status, f"a {kind} of {body!r:.40}: {got}")
        for odd in ("..%2F..%2Fbook.txt", "%2e%2e", "..", "%2Fetc%2Fpasswd", key + "%00"):
            got = s.request("PUT", f"/api/v1/book/{odd}/picture", png(), {"Content-Type": "image/png"})[0]
            check(got == 404, f"the key {odd}: {got}")
        check(files() == before, "refused pictures changed nothing")
        for kind, body, suffix in (("image/png", png(), ".png"), ("image/jpeg", JPEG, ".jpg")):
            pictured = s.json("PUT", f"/api/v1/book/{key}/picture", body, {"Content-Type": kind})
            stored = files()[1]
            check(len(stored) == 1 and stored[0].startswith("web-") and stored[0].endswith(suffix)
                  and len(stored[0]) == 4 + 16 + 4, f"stored as {stored}")
            check(pictured["picture"].startswith(f"/api/v1/book/{pictured['key']}/picture"), f"{pictured}")
            status, headers, got = s.request("GET", pictured["picture"])
            check((status, headers["content-type"], got) == (200, kind, body), f"served back: {status}")
            key = pictured["key"]  # the picture is part of the entry
        check(s.request("DELETE", f"/api/v1/book/{key}/picture")[0] == 204, "picture removed")
        key = s.json("GET", "/api/v1/book")["entries"][1]["key"]
        check(files()[1] == [] and s.request("GET", f"/api/v1/book/{key}/picture")[0] == 404, "and its file")
        pictured = s.json("PUT", f"/api/v1/book/{key}/picture", png(), {"Content-Type": "image/png"})
        check(s.request("DELETE", "/api/v1/book/" + pictured["key"])[0] == 204, "deleted")
        check(files() == (BOOK.encode(), []), f"the entry and its picture gone: {files()}")
        os.unlink(path)
        os.mkfifo(path)  # exists, cannot be read
        check(s.request("POST", "/api/v1/book", ENTRY)[0] == 409, "an unreadable book.txt is not written over")
        events.close()


def tls():
    """--web-cert and --web-key: the page and the API over HTTPS, the session cookie Secure."""
    with tempfile.TemporaryDirectory() as d:
        cert, key = os.path.join(d, "cert.pem"), os.path.join(d, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                        "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1",
                        "-addext", "subjectAltName=IP:127.0.0.1"], check=True, capture_output=True)

        def run(s):
            s.tls = ssl.create_default_context(cafile=cert)
            status, _, page = s.request("GET", "/")
            check(status == 200 and b"<html" in page.lower(), f"the page over HTTPS: {status}")
            status, headers, _ = s.request("POST", "/api/v1/login", {"password": PASSWORD})
            cookie = headers.get("set-cookie", "")
            check(status == 204 and "; Secure" in cookie and "HttpOnly" in cookie, f"login: {status} {cookie}")
            check(s.request("GET", "/api/v1/state", headers={"Cookie": cookie.split(";")[0]})[0] == 200, "the cookie")
            check("web page on https://" in s.log(), s.log())
        with_password(run, ["--web-cert", cert, "--web-key", key])


OPENING = ["ATE0", "ATCD1", "ATCD9"]


def adapter():
    """The adapter's operations between leaving and re-entering trace mode, one at a time; bad ones send nothing."""
    with Service() as s:
        s.wait_running()
        events = Events(s)
        check(s.commands()[-3:] == OPENING, "trace mode on at the start")
        got = s.json("GET", "/api/v1/settings")
        settings = got["settings"]
        check(settings["TextMSN1"] and settings["ATI4"] and "TextMSN2" in got["settable"], f"Receive: {got}")
        check("S79" not in got["settable"] and "Units.DTE.Total" in settings, "registers shown, numbers settable")
        check(s.commands()[-3:] == OPENING and "ATCD8" in s.commands()[3:], "trace off for it and on again")
        check("configuring the adapter (settings-read): trace mode on again" in s.log(), "the log says so")
        busy = events.wait_for(lambda n, d: n == "busy" and d["busy"], "busy")
        check(busy["busyWith"] == "settings-read", f"what it is busy with: {busy}")
        events.wait_for(lambda n, d: n == "busy" and not d["busy"], "back to monitoring")
        sent = len(s.commands())
        for method, path, body, status in [
                ("PUT", "/api/v1/settings", {"settings": {"TextMSN1": "47x1"}}, 400),
                ("PUT", "/api/v1/settings", {"settings": {"S79": "3"}}, 400),
                ("PUT", "/api/v1/settings", {"settings": {"CheckGC1": 1}}, 400),
                ("PUT", "/api/v1/settings", {"TextMSN1": "4711"}, 400),
                ("POST", "/api/v1/profiles/5/load", None, 400),
                ("POST", "/api/v1/profiles/x/save", None, 400),
                ("POST", "/api/v1/hangup", {"port": 3}, 400),
                ("GET", "/api/v1/settings/factory", None, 405)]:
            got = s.request(method, path, body)
            check(got[0] == status, f"{method} {path} {body}: {got[0]} {got[2][:200]!r}")
        check(len(s.commands()) == sent, "nothing sent for a bad request")
        # Two at once: the second waits its turn, each between the closing and the opening sequence.
        answers = {}
        run = [threading.Thread(target=lambda p=p: answers.update({p: s.request("POST", p, {"port": 1})[0]}))
               for p in ("/api/v1/counters/reset", "/api/v1/hangup")]
        for t in run:
            t.start()
        for t in run:
            t.join()
        check(answers == {"/api/v1/counters/reset": 204, "/api/v1/hangup": 204}, f"both done: {answers}")
        done = s.commands()[sent:]
        offs = [i for i, c in enumerate(done) if c == "ATCD8"]
        check(len(offs) == 2 and done[offs[1] - 3:offs[1]] == OPENING and done[-3:] == OPENING,
              f"one after the other: {done}")
        check(s.json("GET", "/api/v1/settings")["settings"]["LastReset"], "the reset's time kept")
        events.close()
        check(s.stop() == 0, "ends cleanly")


def call_during_settings():
    """Settings asked for while a call rings wait for its end: the call is followed and logged once, whole."""
    with Service(CALL, book=BOOK) as s:
        s.wait_running()
        events = Events(s)
        events.wait_for(lambda n, d: n == "state" and d["channels"][0]["phase"] == "ringing", "ringing")
        s.json("GET", "/api/v1/settings")
        check("trace mode off" not in s.log().split("phase channel A idle")[0], "it waited for the call's end")
        events.wait_for(lambda n, d: n == "call" and d["event"] == "logged", "logged")
        calls = s.json("GET", "/api/v1/calls")["calls"]
        check(calls and all((c["number"], c["name"]) == (CALLER, NAME) for c in calls), f"logged whole: {calls}")
        check(sum(c["type"] == "Answer" for c in calls) == 1, f"logged once: {calls}")

def config_through_service():
    """corvane-config while the service holds the adapter: asked of the service, the same answers as on the port."""
    with Service(web_args=[]) as s:
        s.wait_running()
        address = os.path.join(s.runtime, "corvane", "monitor.json")
        with open(address) as f:
            found = json.load(f)
        check(os.stat(address).st_mode & 0o077 == 0, "the token is the user's alone")
        c = http.client.HTTPConnection(found["url"].split("/")[2], timeout=BOUND)
        c.request("GET", "/api/v1/state")
        check(c.getresponse().status == 401, "the front ends' server wants the token")
        env = dict(os.environ, XDG_RUNTIME_DIR=s.runtime, XDG_CONFIG_HOME=os.path.join(s.dir.name, "config"))

        def config(*args):
            run = subprocess.run([os.path.join(BUILD, "corvane-config"), "--port", s.link, "--home", s.home, *args],
                                 env=env, capture_output=True, text=True, timeout=BOUND)
            return run.returncode, run.stdout, run.stderr

        sent = len(s.commands())
        check(config("set", "TextMSN2=4798") == (0, "TextMSN2=4798\n", ""), "set through the service")
        done = s.commands()[sent:]
        check(done[0] == "ATCD8" and "AT&ZI1=4798" in done and done[-3:] == OPENING, f"between the sequences: {done}")
        check(config("profile", "load", "9")[0] == 2, "a bad profile refused before anything is asked")
        check(config("hangup", "1")[:2] == (0, "phone 1 hung up\n"), "hang-up through the service")
        code, through, err = config("show")
        check(code == 0 and "TextMSN2=4798" in through, f"show through the service: {code} {err}")
        backups = [os.path.join(s.dir.name, name) for name in ("through.backup", "direct.backup")]
        check(config("backup", backups[0])[0] == 0, "a backup through the service")
        code, _, err = config("restore", backups[0])
        check(code == 1 and "stop corvane-monitor" in err, f"restore wants the port itself: {err}")
        check(s.log().count("trace mode on again") == 4, "monitoring goes on after each")
        s.monitor.terminate()
        check(s.monitor.wait(BOUND) == 0 and not os.path.exists(address), "the address file goes with the service")
        code, direct, err = config("show")
        check(code == 0 and direct == through, f"the same as on the port:\n{direct}\n--\n{through}\n{err}")
        check(config("backup", backups[1])[0] == 0, "a backup on the port")
        texts = [open(b).read() for b in backups]
        check(texts[0] == texts[1], f"the same backup:\n{texts[0]}\n--\n{texts[1]}")

if __name__ == "__main__":
    globals()[sys.argv[1]]()
