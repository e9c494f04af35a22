"""The page in three browser engines behind one interface, so that one test drives them all:
Chromium over the DevTools protocol (harness.browser), Firefox ESR over its own WebDriver
BiDi, and WebKitGTK's MiniBrowser through WebKitWebDriver with Selenium. Firefox and WebKit
run in a private X server, where they have WebGL as on a desktop.

An engine, as made by start():
    name, version
    open(url)                       load a page, the old document gone
    evaluate(expression)            a JavaScript expression's value in the page
    png(), shot()                   the viewport, as a PNG or a Screenshot
    press(x, y, button)             a mouse press and release at a viewport point, "left",
                                    "middle" or "right"
    key(key, modifiers)             a key pressed and released: a character or "ArrowDown",
                                    "Enter"; modifiers from "Control", "Shift", "Alt"
    download(name, action, timeout) runs `action`, returns the downloaded file's bytes
    choose_file(path, action)       runs `action`, which opens a file picker, and picks `path`
    messages()                      the console's messages so far, one string each
    close()
"""

import base64
import ctypes
import glob
import json
import os
import re
import select
import shutil
import signal
import subprocess
import time

from harness import Failure
from harness.browser import (TIMEOUT, VIEWPORT, Browser, Screenshot, drain, free_port,
                             wait_for)

try:
    import websocket
except ImportError:
    websocket = None

ENGINES = ("chromium", "firefox", "webkit")
# The WebKitGTK that Debian's WebKitWebDriver is built with.
MINIBROWSER = next(iter(glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser")),
                   "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser")
# Room for the viewport and the browser's own bars.
SCREEN = (VIEWPORT[0] + 320, VIEWPORT[1] + 200)

_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    _libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG: no stray browser if the test is killed


def start(engine, url, downloads, tmp, webgl=True):
    """The engine started with `url` open; its profile and the like go under `tmp`."""
    if engine == "chromium":
        browser = Browser(url, downloads, os.path.join(tmp, "profile"), webgl=webgl)
        return browser
    kind = {"firefox": Firefox, "webkit": WebKit}[engine]
    browser = kind(downloads, tmp, webgl)
    try:
        browser.open(url)
    except BaseException:
        browser.close()
        raise
    return browser


class Display:
    """A private X server, 24 bits deep as WebKit needs, at 96 dpi: one CSS pixel to one
    screen pixel."""

    def __init__(self, tmp):
        read_end, write_end = os.pipe()
        try:
            with open(os.path.join(tmp, "xvfb.log"), "wb") as log:
                self.process = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                     f"{SCREEN[0]}x{SCREEN[1]}x24", "-dpi", "96", "-nolisten", "tcp",
                     "-noreset"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                    stdout=subprocess.DEVNULL, stderr=log, preexec_fn=_die_with_parent)
            os.close(write_end)
            write_end = None
            text = b""
            while not text.endswith(b"\n"):
                if not select.select([read_end], [], [], TIMEOUT)[0]:
                    raise Failure("Xvfb did not start")
                chunk = os.read(read_end, 64)
                if not chunk:
                    raise Failure("Xvfb exited: is xvfb installed? (scripts/web installs it)")
                text += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.name = ":" + text.decode().strip()

    def close(self):
        self.process.kill()
        self.process.wait()


def _environment(tmp, display):
    """A home of the browser's own, in English (the page's dates are the browser's locale's)."""
    home = os.path.join(tmp, "home")
    runtime = os.path.join(tmp, "runtime")
    os.makedirs(os.path.join(home, ".config"), exist_ok=True)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    return {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": home,
        "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        "XDG_CACHE_HOME": os.path.join(home, ".cache"),
        "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
        "XDG_RUNTIME_DIR": runtime,
        "DISPLAY": display.name,
        "LANG": "en_US.UTF-8",
        "NO_AT_BRIDGE": "1",  # no accessibility bus to look for
    }


def _open_anywhere(path):
    """Whether some process has the file open."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            for fd in os.listdir(f"/proc/{pid}/fd"):
                if os.readlink(f"/proc/{pid}/fd/{fd}") == path:
                    return True
        except OSError:  # gone meanwhile, or not ours to look at
            continue
    return False


class Firefox:
    """Firefox ESR in an X server of its own, driven by its built-in WebDriver BiDi."""

    name = "Firefox"

    # WebDriver's codes of the keys named in the interface.
    KEYS = {"ArrowDown": "\ue015", "Enter": "\ue007", "Control": "\ue009", "Shift": "\ue008",
            "Alt": "\ue00a"}
    BUTTONS = {"left": 0, "middle": 1, "right": 2}

    def __init__(self, downloads, tmp, webgl=True):
        if websocket is None:
            raise Failure("python3-websocket is missing: run scripts/web")
        firefox = shutil.which("firefox-esr") or shutil.which("firefox")
        if not firefox:
            raise Failure("firefox-esr is missing: run scripts/web")
        self.downloads = downloads
        self.process = None
        self.socket = None
        self.next_id = 0
        self.events = []
        self.display = Display(tmp)
        try:
            profile = os.path.join(tmp, "firefox-profile")
            os.makedirs(profile)
            prefs = {
                "webgl.disabled": not webgl,
                "intl.accept_languages": "en-US",
                "intl.locale.requested": "en-US",
                "layout.css.devPixelsPerPx": "1.0",
                "browser.shell.checkDefaultBrowser": False,
                "datareporting.policy.dataSubmissionEnabled": False,
                "toolkit.telemetry.reportingpolicy.firstRun": False,
            }
            with open(os.path.join(profile, "user.js"), "w") as f:
                for key, value in prefs.items():
                    f.write(f"user_pref({json.dumps(key)}, {json.dumps(value)});\n")
            self.process = subprocess.Popen(
                [firefox, "--no-remote", "--new-instance", "--profile", profile,
                 "--remote-debugging-port=0", "--width", str(SCREEN[0] - 100),
                 "--height", str(SCREEN[1] - 50), "about:blank"],
                env=_environment(tmp, self.display), stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                preexec_fn=_die_with_parent)
            address = None
            deadline = time.monotonic() + TIMEOUT
            while address is None and time.monotonic() < deadline:
                line = self.process.stderr.readline()
                if not line and self.process.poll() is not None:
                    break
                found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
                address = found.group(1) if found else None
            if address is None:
                raise Failure("firefox gave no WebDriver BiDi address")
            drain(self.process.stderr)
            # The browser turns away connections that bring a web page's origin.
            self.socket = websocket.create_connection(f"{address}/session", timeout=TIMEOUT,
                                                      suppress_origin=True)
            # Firefox's own dialogs (a file picker) are left to the test to answer.
            self.version = self.call("session.new", capabilities={"alwaysMatch": {
                "unhandledPromptBehavior": {"file": "ignore"}}})["capabilities"]["browserVersion"]
            self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
            self.call("session.subscribe", events=[
                "browsingContext.downloadWillBegin", "browsingContext.downloadEnd",
                "log.entryAdded", "input.fileDialogOpened"])
            self.call("browser.setDownloadBehavior", downloadBehavior={
                "type": "allowed", "destinationFolder": downloads})
            self.call("browsingContext.setViewport", context=self.context,
                      viewport={"width": VIEWPORT[0], "height": VIEWPORT[1]},
                      devicePixelRatio=1)
        except BaseException:
            self.close()
            raise

    # -- the protocol ----------------------------------------------------------------------

    def _receive(self, timeout):
        self.socket.settimeout(timeout)
        try:
            message = json.loads(self.socket.recv())
        except websocket.WebSocketTimeoutException:
            return None
        finally:
            self.socket.settimeout(TIMEOUT)
        if message.get("type") == "event":
            self.events.append(message)
        return message

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = self._receive(TIMEOUT)
            if message is None:
                raise Failure(f"{method}: no answer in {TIMEOUT} s")
            if message.get("id") == self.next_id:
                if message.get("type") == "error":
                    raise Failure(f"{method}: {message.get('error')}: {message.get('message')}")
                return message.get("result", {})

    def event(self, method, timeout=TIMEOUT):
        """The next event of this kind, waiting for it."""
        deadline = time.monotonic() + timeout
        while True:
            for i, message in enumerate(self.events):
                if message.get("method") == method:
                    return self.events.pop(i)["params"]
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure(f"no {method} in {timeout} s")
            self._receive(max(0.05, left))

    def _perform(self, *sources):
        self.call("input.performActions", context=self.context, actions=list(sources))

    # -- the interface ---------------------------------------------------------------------

    def open(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def evaluate(self, expression):
        result = self.call("script.evaluate", expression=expression, awaitPromise=False,
                           target={"context": self.context})
        if result.get("type") == "exception":
            raise Failure(f"{expression}: {result['exceptionDetails'].get('text')}")
        return result["result"].get("value")

    def png(self):
        return base64.b64decode(self.call("browsingContext.captureScreenshot",
                                          context=self.context, origin="viewport")["data"])

    def shot(self):
        return Screenshot(self.png())

    def press(self, x, y, button="left"):
        number = self.BUTTONS[button]
        self._perform({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                       "actions": [{"type": "pointerMove", "x": x, "y": y, "origin": "viewport"},
                                   {"type": "pointerDown", "button": number},
                                   {"type": "pointerUp", "button": number}]})

    def key(self, key, modifiers=()):
        held = [self.KEYS[m] for m in modifiers]
        value = self.KEYS.get(key, key)
        actions = ([{"type": "keyDown", "value": m} for m in held]
                   + [{"type": "keyDown", "value": value}, {"type": "keyUp", "value": value}]
                   + [{"type": "keyUp", "value": m} for m in reversed(held)])
        self._perform({"type": "key", "id": "keyboard", "actions": actions})

    def download(self, name, action, timeout=TIMEOUT):
        self.events = [e for e in self.events if not e["method"].startswith(
            "browsingContext.download")]
        action()
        begun = self.event("browsingContext.downloadWillBegin", timeout)
        if begun.get("suggestedFilename") not in (None, name):
            raise Failure(f"the page downloaded {begun['suggestedFilename']}, not {name}")
        end = self.event("browsingContext.downloadEnd", TIMEOUT)
        if end.get("status") != "complete":
            raise Failure(f"the download of {name} ended {end.get('status')}")
        with open(end["filepath"], "rb") as f:
            data = f.read()
        os.remove(end["filepath"])  # the next one of that name gets it again
        return data

    def choose_file(self, path, action):
        action()
        dialog = self.event("input.fileDialogOpened")
        self.call("input.setFiles", context=dialog["context"], element=dialog["element"],
                  files=[path])

    def messages(self):
        while self._receive(0.05):
            pass
        return [f"{e['params'].get('level')}: {e['params'].get('text')}" for e in self.events
                if e["method"] == "log.entryAdded"]

    def close(self):
        try:
            if self.socket:
                try:
                    self.call("browser.close")
                except Exception:
                    pass  # it goes anyway, below
                self.socket.close()
        finally:
            if self.process:
                self.process.kill()
                self.process.wait()
            self.display.close()


class WebKit:
    """WebKitGTK's MiniBrowser in an X server of its own, through WebKitWebDriver with
    Selenium's WebDriver client. Middle and right presses go in as real X presses: through
    WebKitWebDriver their release comes as the left button's, and the button stays held for
    the page."""

    name = "WebKit"

    def __init__(self, downloads, tmp, webgl=True):
        if not webgl:
            raise Failure("WebKit is run with its WebGL only")
        try:
            from selenium import webdriver
            from selenium.webdriver.common.actions.action_builder import ActionBuilder
            from selenium.webdriver.common.actions.mouse_button import MouseButton
            from selenium.webdriver.common.keys import Keys
            from selenium.webdriver.webkitgtk.options import Options
        except ImportError:
            raise Failure("python3-selenium is missing: run scripts/web")
        for tool, package in (("WebKitWebDriver", "webkit2gtk-driver"), ("xdotool", "xdotool")):
            if not shutil.which(tool):
                raise Failure(f"{tool} is missing (Debian package {package}): run scripts/web")
        if not os.access(MINIBROWSER, os.X_OK):
            raise Failure(f"{MINIBROWSER} is missing: run scripts/web")
        self.ActionBuilder, self.MouseButton, self.Keys = ActionBuilder, MouseButton, Keys
        self.downloads = downloads
        self.driver = None
        self.service = None
        self.offset = None  # from viewport to screen, once a real press has found it
        self.earlier = []
        self.display = Display(tmp)
        try:
            self.env = _environment(tmp, self.display)
            # WebKit saves where the desktop's download folder is.
            with open(os.path.join(self.env["XDG_CONFIG_HOME"], "user-dirs.dirs"), "w") as f:
                f.write(f'XDG_DOWNLOAD_DIR="{downloads}"\n')
            port = free_port()
            self.service = subprocess.Popen(
                ["WebKitWebDriver", f"--port={port}"], env=self.env, stdin=subprocess.DEVNULL,
                stdout=open(os.path.join(tmp, "webkitwebdriver.log"), "wb"),
                stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
            import socket
            wait_for("WebKitWebDriver",
                     lambda: socket.socket().connect_ex(("127.0.0.1", port)) == 0)
            options = Options()
            options.binary_location = MINIBROWSER
            options.add_argument("--automation")  # without it no session starts
            self.driver = webdriver.Remote(command_executor=f"http://127.0.0.1:{port}",
                                           options=options)
            # The driver runs here, as with Selenium's own WebKitGTK class (which cannot be
            # given the environment above): files go to it by path, not uploaded.
            self.driver._is_remote = False
            self.version = self.driver.capabilities.get("browserVersion", "")
            self._viewport()
        except BaseException:
            self.close()
            raise

    def _viewport(self):
        """Sizes the window so that its page is the viewport's size."""
        self.driver.set_window_rect(0, 0, VIEWPORT[0], VIEWPORT[1] + 100)
        for _ in range(3):
            inner = self.driver.execute_script("return [innerWidth, innerHeight]")
            if tuple(inner) == VIEWPORT:
                return
            rect = self.driver.get_window_rect()
            self.driver.set_window_rect(0, 0, rect["width"] + VIEWPORT[0] - inner[0],
                                        rect["height"] + VIEWPORT[1] - inner[1])
        raise Failure(f"MiniBrowser's page is {inner[0]}x{inner[1]}, not {VIEWPORT}")

    def open(self, url):
        self.earlier = self.messages()
        self.driver.get(url)
        self.offset = None
        # The console's messages from here on, for messages(): WebKitWebDriver has no way to
        # them, and MiniBrowser writes them nowhere, so those of the page's loading are lost.
        self.driver.execute_script("""
            const seen = window.__messages = [];
            for (const level of ['error', 'warn', 'log', 'info']) {
              const original = console[level];
              console[level] = (...args) => { seen.push(level + ': ' + args.join(' '));
                                               original.apply(console, args); };
            }
            addEventListener('error', (e) => seen.push('exception: ' + e.message));
            addEventListener('securitypolicyviolation', (e) => seen.push(
              'error: Content Security Policy blocked ' + e.blockedURI + ' (' +
              e.violatedDirective + ')'));""")

    def evaluate(self, expression):
        return self.driver.execute_script(f"return ({expression});")

    def png(self):
        return self.driver.get_screenshot_as_png()

    def shot(self):
        return Screenshot(self.png())

    def _x(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, capture_output=True,
                       timeout=TIMEOUT)

    def _screen_point(self, x, y):
        """Where a viewport point is on the X screen: found by moving the real pointer and
        reading where the page saw it."""
        if self.offset is None:
            self.driver.execute_script("""
                addEventListener('mousemove', (e) => { window.__pointer = [e.clientX, e.clientY]; },
                                 {capture: true});
                window.__pointer = null;""")
            guess = (x, y + 40)
            self._x("mousemove", str(guess[0]), str(guess[1]))
            seen = wait_for("the page to see the X pointer",
                            lambda: self.driver.execute_script("return window.__pointer"))
            self.offset = (guess[0] - seen[0], guess[1] - seen[1])
        return x + self.offset[0], y + self.offset[1]

    def press(self, x, y, button="left"):
        if button != "left":
            sx, sy = self._screen_point(x, y)
            self._x("mousemove", str(sx), str(sy), "click", {"middle": "2", "right": "3"}[button])
            return
        actions = self.ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(x, y)
        actions.pointer_action.pointer_down(self.MouseButton.LEFT)
        actions.pointer_action.pointer_up(self.MouseButton.LEFT)
        actions.perform()

    def key(self, key, modifiers=()):
        names = {"ArrowDown": self.Keys.ARROW_DOWN, "Enter": self.Keys.ENTER,
                 "Control": self.Keys.CONTROL, "Shift": self.Keys.SHIFT, "Alt": self.Keys.ALT}
        held = [names[m] for m in modifiers]
        actions = self.ActionBuilder(self.driver)
        for m in held:
            actions.key_action.key_down(m)
        actions.key_action.key_down(names.get(key, key))
        actions.key_action.key_up(names.get(key, key))
        for m in reversed(held):
            actions.key_action.key_up(m)
        actions.perform()

    def download(self, name, action, timeout=TIMEOUT):
        """WebKit writes the file under its own name from the start, and tells no one when it
        is done: the file is complete once no process has it open any more."""
        path = os.path.join(self.downloads, name)
        if os.path.exists(path):
            os.remove(path)
        action()
        wait_for(f"{name} to download",
                 lambda: os.path.exists(path) and not _open_anywhere(os.path.realpath(path)),
                 timeout)
        with open(path, "rb") as f:
            data = f.read()
        os.remove(path)
        return data

    def choose_file(self, path, action):
        """WebKitWebDriver cannot answer the browser's own file picker: the page's file input
        is caught as the page opens it, put back in the document if the page took it out, and
        given the file there as WebDriver gives any file input one (with the input and change
        events a pick brings)."""
        self.driver.execute_script("""
            const click = HTMLInputElement.prototype.click;
            window.__picker = null;
            HTMLInputElement.prototype.click = function () {
              if (this.type !== 'file')
                return click.call(this);
              HTMLInputElement.prototype.click = click;
              window.__picker = this;
            };""")
        action()
        picker = wait_for("the page's file picker", lambda: self.driver.execute_script("""
            const picker = window.__picker;
            if (picker && !picker.isConnected)
              document.body.appendChild(picker);
            return picker;"""))
        picker.send_keys(path)
        self.driver.execute_script("arguments[0].remove(); window.__picker = null;", picker)

    def messages(self):
        """Those of the pages before this one, and of this one since it loaded."""
        try:
            return self.earlier + self.driver.execute_script("return window.__messages || []")
        except Exception as error:
            return self.earlier + [f"(the page's messages could not be read: {error})"]

    def close(self):
        try:
            if self.driver:
                try:
                    self.driver.quit()
                except Exception:
                    pass  # the processes are ended below anyway
        finally:
            if self.service:
                self.service.kill()
                self.service.wait()
            self.display.close()
