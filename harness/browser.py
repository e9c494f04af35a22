"""A page in Debian's Chromium, headless, driven through the DevTools protocol: a folder
served on localhost as `scripts/web --serve` serves it, the browser with a page of its own,
and its screenshots read pixel by pixel. Browser also has the engine-neutral methods of
harness.drivers (open, key, download, choose_file, messages), by which the tests drive
Firefox and WebKit the same way.
"""

import base64
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

from harness import Failure
from harness.xsession import Shot

try:
    import websocket
except ImportError:
    sys.exit("python3-websocket is missing: run scripts/setup --test")

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VIEWPORT = (1280, 1024)
TIMEOUT = 60


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def drain(stream):
    """Reads what a browser goes on writing to a pipe once its address has been read from
    it, so that a full pipe never stops the browser."""
    def read():
        for _ in stream:
            pass

    threading.Thread(target=read, daemon=True).start()


def wait_for(what, condition, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.1)


class Server:
    """A folder served on localhost by scripts/web-serve.py, as `scripts/web --serve` does;
    on `port` to serve the same site again after a stop (a site is its origin, port
    included)."""

    def __init__(self, folder, port=None):
        port = port or free_port()
        self.port = port
        self.url = f"http://127.0.0.1:{port}/"
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(ROOT, "scripts", "web-serve.py"), folder, str(port)],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_for("the server", lambda: socket.socket().connect_ex(("127.0.0.1", port)) == 0)
        except Failure:
            self.process.kill()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.process.kill()
        self.process.wait()


class Screenshot(Shot):
    """A PNG from the browser, read as the X server's screenshots are (ImageMagick's own
    convert decodes it), and by its rows."""

    def __init__(self, png):
        super().__init__(subprocess.run(["/usr/bin/convert", "png:-", "ppm:-"], input=png,
                                        capture_output=True, check=True).stdout)

    def row(self, y):
        return self.data[y * self.width * 3:(y + 1) * self.width * 3]


# The DevTools protocol's keys: (code, Windows virtual key code) by the key's name.
KEYS = {"ArrowDown": ("ArrowDown", 40), "Enter": ("Enter", 13)}
MODIFIERS = {"Alt": 1, "Control": 2, "Meta": 4, "Shift": 8}


class Browser:
    """Headless Chromium with a page of its own, driven over the DevTools protocol. With
    `touch`, a (width, height) in CSS pixels, it plays a tablet: a mobile viewport of that
    size and a touch screen, which the page sees from its start."""

    name = "Chromium"

    def __init__(self, url, downloads, profile, webgl=True, touch=None, flags=()):
        """`flags`: Chromium's command-line switches besides these."""
        chromium = shutil.which("chromium")
        if not chromium:
            raise Failure("chromium is missing: run scripts/setup --test")
        self.downloads = downloads
        self.process = subprocess.Popen(
            [chromium, "--headless=new", "--no-sandbox", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--disable-quic", "--disable-dev-shm-usage",  # a container's /dev/shm is small
             f"--user-data-dir={profile}", "--remote-debugging-port=0",
             f"--window-size={VIEWPORT[0]},{VIEWPORT[1]}", *flags]
            + ([] if webgl else ["--disable-webgl"]) + ["about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        endpoint = None
        deadline = time.monotonic() + TIMEOUT
        while endpoint is None and time.monotonic() < deadline:
            line = self.process.stderr.readline()
            found = re.search(r"DevTools listening on (ws://\S+)", line)
            endpoint = found.group(1) if found else None
        if endpoint is None:
            raise Failure("chromium gave no DevTools address")
        drain(self.process.stderr)
        port = re.search(r":(\d+)/", endpoint).group(1)
        pages = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json"))
        page = next(p for p in pages if p["type"] == "page")
        # Without an Origin header, which Chromium refuses from other origins than its own.
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=TIMEOUT,
                                                  suppress_origin=True)
        self.next_id = 0
        self.events = []
        self.call("Page.enable")
        self.call("Runtime.enable")
        self.call("Log.enable")  # the browser's own messages: blocked loads, the page's policy
        self.version = self.call("Browser.getVersion")["product"].split("/")[-1]
        self.call("Page.setInterceptFileChooserDialog", enabled=True)
        # Later Qt opens files through the File System Access picker where a browser has one,
        # which the protocol cannot fill in; without it Qt uses a file input, as in the
        # browsers that lack the picker.
        self.call("Page.addScriptToEvaluateOnNewDocument",
                  source="window.showOpenFilePicker = undefined;")
        self.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=downloads,
                  eventsEnabled=True)
        width, height = touch or VIEWPORT
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=bool(touch))
        if touch:
            self.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        self.call("Page.navigate", url=url)

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise Failure(f"{method}: {message['error']}")
                return message.get("result", {})
            self.events.append(message)

    def event(self, method, timeout=TIMEOUT):
        """The next event of this kind, waiting for it."""
        deadline = time.monotonic() + timeout
        while True:
            for i, message in enumerate(self.events):
                if message.get("method") == method:
                    return self.events.pop(i)["params"]
            self.socket.settimeout(max(0.1, deadline - time.monotonic()))
            try:
                self.events.append(json.loads(self.socket.recv()))
            except websocket.WebSocketTimeoutException:
                raise Failure(f"no {method} in {timeout} s")

    def poll(self):
        """Takes in what events have arrived, without waiting."""
        self.socket.settimeout(0.05)
        try:
            self.events.append(json.loads(self.socket.recv()))
        except websocket.WebSocketTimeoutException:
            pass
        self.socket.settimeout(TIMEOUT)

    def evaluate(self, expression):
        """The expression's value in the page, a promise's once it settles; None where it
        throws."""
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        return result.get("result", {}).get("value")

    def shot(self):
        return Screenshot(base64.b64decode(self.call("Page.captureScreenshot")["data"]))

    def press(self, x, y, button="left"):
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                      clickCount=1)

    def tap(self, x, y):
        """A finger put down and lifted at one point of the page."""
        self.call("Input.dispatchTouchEvent", type="touchStart",
                  touchPoints=[{"x": x, "y": y, "id": 1}])
        self.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def ax_nodes(self):
        """The page's accessibility tree as Chromium hands it to a screen reader: its nodes,
        each with its role, name, value and description where it has them."""
        self.call("Accessibility.enable")
        return self.call("Accessibility.getFullAXTree")["nodes"]

    # -- as harness.drivers.Engine -------------------------------------------------------

    def open(self, url):
        """Loads `url` in the page, the old document gone when this returns."""
        self.events = [e for e in self.events if e.get("method") != "Page.loadEventFired"]
        self.call("Page.navigate", url=url)
        self.event("Page.loadEventFired")

    def png(self):
        return base64.b64decode(self.call("Page.captureScreenshot")["data"])

    def key(self, key, modifiers=()):
        code, virtual = KEYS.get(key) or (f"Key{key.upper()}", ord(key.upper()))
        mask = sum(MODIFIERS[m] for m in modifiers)
        for kind in ("keyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, key=key, code=code, modifiers=mask,
                      windowsVirtualKeyCode=virtual,
                      text=key if kind == "keyDown" and len(key) == 1 and not mask else "")

    def download(self, name, action, timeout=TIMEOUT):
        """Runs `action` and returns the bytes of the file the page then downloads."""
        path = os.path.join(self.downloads, name)
        if os.path.exists(path):
            os.remove(path)
        action()
        self.event("Browser.downloadWillBegin", timeout)
        done = wait_for(f"{name} to download", lambda: next(
            (e for e in self.events if e.get("method") == "Browser.downloadProgress"
             and e["params"]["state"] == "completed"), None) or self.poll())
        self.events.remove(done)
        with open(path, "rb") as f:
            return f.read()

    def choose_file(self, path, action):
        """Runs `action`, which opens the page's file picker, and picks `path` in it."""
        action()
        chooser = self.event("Page.fileChooserOpened")
        self.call("DOM.setFileInputFiles", files=[path], backendNodeId=chooser["backendNodeId"])

    def messages(self):
        """What the page and the browser have written to the console so far."""
        self.poll()
        found = []
        for e in self.events:
            params = e.get("params", {})
            if e.get("method") == "Runtime.consoleAPICalled":
                found.append(f"{params['type']}: " + " ".join(
                    str(a.get("value", a.get("description", ""))) for a in params["args"]))
            elif e.get("method") == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                found.append("exception: " + details.get("exception", {}).get(
                    "description", details.get("text", "")))
            elif e.get("method") == "Log.entryAdded":
                entry = params["entry"]
                found.append(f"{entry['level']} ({entry['source']}): {entry['text']}")
        return found

    def close(self):
        try:
            self.socket.close()
        finally:
            self.process.kill()
            self.process.wait()


def page_site(folder, tmp):
    """The page's folder as a site in `tmp`, with room for more files beside the page."""
    site = os.path.join(tmp, "site")
    os.makedirs(site)
    for name in os.listdir(folder):
        os.symlink(os.path.abspath(os.path.join(folder, name)), os.path.join(site, name))
    return site


def check_policy(browser):
    """The page's Content-Security-Policy refused nothing the page asked for."""
    refused = [m for m in browser.messages()
               if "Content Security Policy" in m or "Content-Security-Policy" in m]
    if refused:
        raise Failure("the page's policy blocked something: " + "; ".join(refused))


def checked_run(checks, prefix):
    """Runs `checks(tmp, opened)` in a scratch folder `tmp`, where `opened(browser)` takes
    each browser the checks start, and prints what they return. A Failure is said with a
    picture of the page as it was and the console's last words, the folder kept for them.
    Every browser is closed. Returns the exit status: 0 passed, 1 failed."""
    tmp = tempfile.mkdtemp(prefix=prefix)
    browsers = []
    try:
        said = checks(tmp, browsers.append)
    except Failure as failure:
        print(f"FAIL: {failure}")
        if browsers:
            picture = os.path.join(tmp, "failure.png")
            try:
                with open(picture, "wb") as f:
                    f.write(browsers[-1].png())
                print(f"the page as it was: {picture}")
                for message in browsers[-1].messages()[-20:]:
                    print(f"  console: {message}")
            except Exception as error:  # the browser may be gone: the failure says enough
                print(f"(no picture of the page: {error})")
        return 1
    finally:
        for browser in browsers:
            browser.close()
    shutil.rmtree(tmp, ignore_errors=True)
    print(said)
    return 0
