"""What the browser tests share: the app served on 127.0.0.1, Debian's Chromium in headless
mode with the stand-in serial port, the simulator on a pseudo-terminal behind the bridge,
the Linux mxc9ctl beside it, and the checks' tally."""
import functools
import http.server
import os
import shutil
import subprocess
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

from serial_bridge import SerialBridge

HERE = os.path.dirname(os.path.abspath(__file__))
_passed = 0
_failed = 0


def check(name, condition, detail=None):
    global _passed, _failed
    if condition:
        _passed += 1
    else:
        _failed += 1
        print(f"FAILED: {name}" + (f" ({detail})" if detail is not None else ""), flush=True)


def report():
    print(f"{_passed} passed, {_failed} failed", flush=True)
    return 0 if _failed == 0 else 1


class _Handler(http.server.SimpleHTTPRequestHandler):
    """The app at /, the tests' own pages at /tests/."""
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".mjs": "text/javascript", ".webmanifest": "application/manifest+json"}

    def __init__(self, *args, app, **kwargs):
        self.app = app
        super().__init__(*args, directory=app, **kwargs)

    def translate_path(self, path):
        if path.startswith("/tests/"):
            return os.path.join(HERE, path[len("/tests/"):].split("?")[0])
        return super().translate_path(path)

    def log_message(self, *args):
        pass


class Server:
    def __init__(self, app):
        handler = functools.partial(_Handler, app=app)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}"
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()


class Page:
    def __init__(self, driver):
        self.driver = driver

    def script(self, body, *args):
        """Runs `body` as the body of an async function; its return value comes back."""
        return self.driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "const args = Array.from(arguments).slice(0, -1);"
            f"(async function() {{ {body} }}).apply(null, args)"
            ".then((v) => done(v === undefined ? null : v),"
            " (e) => done({__error: String(e && e.stack || e)}));",
            *args)

    def run(self, handler, *args):
        result = self.script("return await probe.run(...arguments)", handler, *args)
        if isinstance(result, dict) and "__error" in result:
            raise RuntimeError(f"{handler}: {result['__error']}")
        return result

    def timed(self, handler, *args):
        """Runs a handler; how long it took in the page, in ms."""
        return self.script("const t = performance.now(); await probe.run(...arguments);"
                           "return performance.now() - t", handler, *args)


class BrowserSession:
    def __init__(self, app, language="en-US", scale=1):
        self.app = app
        self.language = language
        self.scale = scale

    def __enter__(self):
        self.server = Server(self.app)
        self.bridge = SerialBridge()
        self.profile = tempfile.mkdtemp(prefix="mxc9-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                     f"--user-data-dir={self.profile}", f"--lang={self.language}",
                     f"--force-device-scale-factor={self.scale}", "--window-size=1024,768"]:
            options.add_argument(flag)
        options.add_experimental_option("prefs", {"intl.accept_languages": self.language})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_script_timeout(60)
        with open(os.path.join(HERE, "serial-standin.js")) as f:
            standin = f.read().replace("__MXC9_BRIDGE__", self.bridge.address)
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": standin})
        return self

    def open(self, path):
        self.driver.get(self.server.url + path)
        return Page(self.driver)

    def probe(self, language=1):
        page = self.open("/tests/probe.html")
        deadline = time.time() + 30
        while not self.driver.execute_script("return !!window.probeReady"):
            if time.time() > deadline:
                raise RuntimeError("the probe page did not load")
            time.sleep(0.05)
        result = page.script("return await probe.start(arguments[0])", language)
        if result is not True:
            raise RuntimeError(f"the core did not start: {result}")
        return page

    def __exit__(self, *exc):
        self.driver.quit()
        self.server.close()
        shutil.rmtree(self.profile, ignore_errors=True)


class Simulator:
    """mxc9sim on a pseudo-terminal, behind stand-in port 0 of the bridge when one is
    given; its frame log in .log once it has ended."""

    def __init__(self, program, bridge, *options):
        self.program = program
        self.bridge = bridge
        self.options = list(options)

    def __enter__(self):
        self.work = tempfile.mkdtemp(prefix="mxc9-sim-")
        self.logfile = os.path.join(self.work, "frames.log")
        self.process = subprocess.Popen([self.program, *self.options], stdout=subprocess.PIPE,
                                        stderr=open(self.logfile, "w"), text=True)
        self.pty = self.process.stdout.readline().strip()
        if self.bridge:
            self.bridge.targets[0] = self.pty
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(10)
        with open(self.logfile) as f:
            self.log = f.read()
        shutil.rmtree(self.work, ignore_errors=True)


class CtlRun:
    def __init__(self, work, log, status):
        self.work, self.log, self.status = work, log, status

    def file(self, name):
        with open(os.path.join(self.work, name), "rb") as f:
            return f.read()


def run_ctl(ctl, simulator, args, *options):
    """The Linux mxc9ctl on a simulator of its own (@PORT@ and @WORK@ in args)."""
    work = tempfile.mkdtemp(prefix="mxc9-ctl-")
    with Simulator(simulator, None, *options) as sim:
        status = subprocess.run([ctl, *(a.replace("@PORT@", sim.pty).replace("@WORK@", work)
                                        for a in args)],
                                capture_output=True).returncode
    return CtlRun(work, sim.log, status)


def same_frames(a, b):
    """The frames of two simulator logs, without the line that names the pseudo-terminal."""
    def frames(log):
        return [line for line in log.splitlines() if "controller on" not in line]
    return bool(frames(a)) and frames(a) == frames(b)
