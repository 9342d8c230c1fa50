"""corvane-monitor --web in front of dodova-sim on a pseudo-terminal, each with a
private program folder and settings store, for the web tests (stdlib only)."""
import http.client
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time

BUILD = os.environ.get("CORVANE_BUILD_DIR", os.path.join(os.path.dirname(__file__), "../../build"))
BOUND = 60  # seconds: a bound for a busy machine, never a wait


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def until(condition, what, bound=BOUND):
    """condition() once it is truthy; fails after `bound` seconds."""
    end = time.monotonic() + bound
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("waited in vain for " + what)


class Service:
    def __init__(self, scenario="none", web_args=None, book="", settings="", address="127.0.0.1", home_from=""):
        self.dir = tempfile.TemporaryDirectory(prefix="corvane-web-")
        self.home = os.path.join(self.dir.name, "home")
        if home_from:  # a program folder to start from: call list, phone book, pictures
            shutil.copytree(home_from, self.home)
        else:
            os.makedirs(self.home)
        os.makedirs(os.path.join(self.dir.name, "config"))
        with open(os.path.join(self.dir.name, "config", "Corvane Controller.ini"), "w") as f:
            f.write(settings)
        if book:
            with open(os.path.join(self.home, "book.txt"), "w", newline="") as f:
                f.write(book)
        self.link = os.path.join(self.dir.name, "dodova")
        self.commands_log = os.path.join(self.dir.name, "commands.log")
        if scenario.endswith(".scenario") or "\n" in scenario:
            path = os.path.join(self.dir.name, "calls.scenario")
            with open(path, "w") as f:
                f.write(scenario)
            scenario = path
        self.sim = subprocess.Popen([os.path.join(BUILD, "dodova-sim"), "--link", self.link, "--log",
                                     self.commands_log, "--state", os.path.join(self.dir.name, "state"),
                                     "--scenario", scenario], stdout=subprocess.DEVNULL)
        until(lambda: os.path.exists(self.link), "the simulator's link")
        self.port = free_port()
        self.address = address
        self.tls = None  # an ssl.SSLContext once the server speaks HTTPS
        # web_args: the options instead of "--web ADDRESS:PORT", or a function of the port giving them
        args = ["--web", f"{address}:{self.port}"] if web_args is None else (
            web_args(self.port) if callable(web_args) else web_args)
        self.log_path = os.path.join(self.dir.name, "monitor.log")
        self.runtime = os.path.join(self.dir.name, "run")
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.dir.name, "config"), XDG_RUNTIME_DIR=self.runtime,
                   LC_ALL="C")
        with open(self.log_path, "wb") as log:
            self.monitor = subprocess.Popen([os.path.join(BUILD, "corvane-monitor"), "--port", self.link, "--home",
                                             self.home] + args, stdout=subprocess.DEVNULL, stderr=log, env=env)

    def log(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def wait_running(self):
        until(lambda: "monitoring " in self.log() or self.monitor.poll() is not None, "the monitor to start")
        assert self.monitor.poll() is None, self.log()
        return self

    def commands(self):
        with open(self.commands_log, encoding="latin-1") as f:
            return [line.split("\t", 1)[1].rstrip("\n") for line in f if "\t" in line]

    def connection(self):
        if self.tls:
            return http.client.HTTPSConnection("127.0.0.1", self.port, timeout=BOUND, context=self.tls)
        return http.client.HTTPConnection("127.0.0.1", self.port, timeout=BOUND)

    def request(self, method, path, body=None, headers=None):
        """(status, headers, body bytes) of one request on a fresh connection."""
        c = self.connection()
        data = json.dumps(body).encode() if isinstance(body, (dict, list)) else body
        h = {"Content-Type": "application/json"} if isinstance(body, (dict, list)) else {}
        h.update(headers or {})
        c.request(method, path, body=data, headers=h)
        r = c.getresponse()
        result = (r.status, dict((k.lower(), v) for k, v in r.getheaders()), r.read())
        c.close()
        return result

    def json(self, method, path, body=None, headers=None, status=200):
        got, _, data = self.request(method, path, body, headers)
        assert got == status, f"{method} {path}: {got} {data[:300]!r}"
        return json.loads(data) if data else None

    def stop(self):
        for p in (self.monitor, self.sim):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(10)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        code = self.monitor.returncode
        self.dir.cleanup()
        return code

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class Events:
    """The push channel read as a browser would, one event at a time."""

    def __init__(self, service, headers=None):
        self.sock = socket.create_connection(("127.0.0.1", service.port), timeout=BOUND)
        extra = "".join(f"{k}: {v}\r\n" for k, v in (headers or {}).items())
        self.sock.sendall(f"GET /api/v1/events HTTP/1.1\r\nHost: 127.0.0.1:{service.port}\r\n{extra}\r\n".encode())
        self.buffer = self.body = b""
        self.deadline = time.monotonic() + BOUND
        head = self._until(b"\r\n\r\n")
        self.status = int(head.split(b" ")[1])
        self.head = head

    def _until(self, mark):
        while mark not in self.buffer:
            self._read()
        part, self.buffer = self.buffer.split(mark, 1)
        return part

    def _read(self):
        if time.monotonic() > self.deadline:
            raise AssertionError("no such event in time (pings only)")
        data = self.sock.recv(65536)
        if not data:
            raise EOFError("the push channel closed")
        self.buffer += data

    def _chunk(self):
        """The next chunk of the chunked body."""
        size = int(self._until(b"\r\n").strip() or b"0", 16)
        if size == 0:
            raise EOFError("the push channel ended")
        while len(self.buffer) < size + 2:
            self._read()
        chunk, self.buffer = self.buffer[:size], self.buffer[size + 2:]
        return chunk

    def next(self):
        """(name, data) of the next event; comments (pings) are skipped."""
        while True:
            while b"\n\n" not in self.body:
                self.body += self._chunk()
            text, self.body = self.body.split(b"\n\n", 1)
            fields = dict(line.split(b": ", 1) for line in text.split(b"\n") if b": " in line and not line.startswith(b":"))
            if b"event" in fields:
                return fields[b"event"].decode(), json.loads(fields[b"data"])

    def wait_for(self, condition, what):
        end = self.deadline = time.monotonic() + BOUND
        while time.monotonic() < end:
            name, data = self.next()
            if condition(name, data):
                return data
        raise AssertionError("no event: " + what)

    def close(self):
        self.sock.close()
