"""Runs the real study-proposal binary in a private X server under a window manager and
drives it the way a user does: mouse presses at pixel positions, typing, closing windows
through the window manager. Screenshots are read pixel by pixel.

Everything started here dies with this process (PR_SET_PDEATHSIG) and is stopped in
`Session.close()`, also when a check fails.
"""

import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from harness import Failure

# The tools the suite drives, with the Debian package that brings each. A missing tool is a
# failure, never a skip: the suite must not pass by not running.
TOOLS = {
    "Xvfb": "xvfb",
    "xauth": "xauth",
    "openbox": "openbox",
    "xdotool": "xdotool",
    "wmctrl": "wmctrl",
    "xwininfo": "x11-utils",
    "dbus-daemon": "dbus-daemon",
    "/usr/bin/import": "imagemagick",
}
IMPORT = "/usr/bin/import"  # ImageMagick's own; a "convert" earlier on PATH may be a stand-in
SCREEN = (1024, 768)
POLL = 0.1

BACKGROUND = (192, 192, 192)
BLACK = (0, 0, 0)


class Tally:
    """What the suite has checked, for the closing summary."""

    def __init__(self):
        self.scenarios = 0
        self.pixels = 0
        self.bytes = 0


TALLY = Tally()


def require_tools():
    missing = [f"{tool} (Debian package {package})" for tool, package in TOOLS.items()
               if not shutil.which(tool)]
    if missing:
        raise Failure("missing tools: " + ", ".join(missing) +
                      "; install them with scripts/setup --test")


_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    _libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG: no stray X server if we are killed


def wait_for(what, condition, timeout=20.0):
    """Polls `condition` until it returns a true value, which is returned. On timeout the
    last false value (a detail of what was seen) goes into the failure. Pixels are counted
    once, for the look that passed."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            if isinstance(result, Checked):
                TALLY.pixels += int(result)
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}" +
                          (f": {result}" if isinstance(result, Detail) else ""))
        time.sleep(POLL)


class Detail(str):
    """A false condition result that says why."""

    def __bool__(self):
        return False


class Checked(int):
    """A condition on the screen that held, with the number of pixels it compared."""

    def __bool__(self):
        return True


class Shot:
    """One screenshot of the whole screen, read from a binary PPM."""

    def __init__(self, data):
        tokens, at = [], 0
        while len(tokens) < 4:
            while data[at:at + 1].isspace():
                at += 1
            if data[at:at + 1] == b"#":
                at = data.index(b"\n", at)
                continue
            end = at
            while not data[end:end + 1].isspace():
                end += 1
            tokens.append(data[at:end])
            at = end
        if tokens[0] != b"P6" or tokens[3] != b"255":
            raise Failure(f"unexpected screenshot format {tokens!r}")
        self.width, self.height = int(tokens[1]), int(tokens[2])
        self.data = data[at + 1:]
        if len(self.data) < self.width * self.height * 3:
            raise Failure("truncated screenshot")

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region(self, x, y, w, h):
        """The pixels of a box, row by row, as bytes (3 per pixel)."""
        rows = []
        for yy in range(y, y + h):
            i = (yy * self.width + x) * 3
            rows.append(self.data[i:i + 3 * w])
        return b"".join(rows)


def count_colour(region_bytes, colour):
    target = bytes(colour)
    return sum(1 for i in range(0, len(region_bytes), 3) if region_bytes[i:i + 3] == target)


class Window:
    """A top-level window of the program, addressed in client-area pixels: the layout's
    coordinates start below the menu bar, which the window holds above its client area."""

    def __init__(self, session, window_id, name):
        self.session = session
        self.id = window_id
        self.name = name
        info = session.run(["xwininfo", "-id", window_id]).stdout

        def number(key):
            return int(re.search(rf"{key}:\s+(-?\d+)", info).group(1))

        self.left = number("Absolute upper-left X")
        self.top = number("Absolute upper-left Y")
        if not re.search(r"Map State:\s+IsViewable", info):
            raise Failure(f"window {name} ({window_id}) is not viewable")
        self.menu_height = self._menu_height(session.shot(), number("Width"), number("Height"))
        self.top += self.menu_height
        self.client_size = (number("Width"), number("Height") - self.menu_height)

    def _menu_height(self, shot, width, height):
        """The menu bar is drawn in a colour of its own; the client area starts with the first
        row of the grey background, which both windows show at the right of their top edge."""
        x = self.left + width - 4
        for row in range(height // 4):
            if shot.pixel(x, self.top + row) == BACKGROUND:
                return row
        raise Failure(f"window {self.name} shows no grey client area (not drawn yet?)")

    def screen_point(self, x, y):
        return self.left + x, self.top + y

    def press(self, x, y, button=1):
        """Mouse button down and up at a client position (the cells act on the down)."""
        sx, sy = self.screen_point(x, y)
        # No --sync: it waits long when the pointer is already there; the server takes the
        # move before the click anyway.
        self.session.xdotool("mousemove", str(sx), str(sy), "click", str(button))

    def pixel(self, shot, x, y):
        return shot.pixel(self.left + x, self.top + y)

    def region(self, shot, x, y, w, h):
        return shot.region(self.left + x, self.top + y, w, h)


class Session:
    """A private X server with a window manager, and the program under test in a fresh
    working directory."""

    def __init__(self, binary, artefacts, extra_keys=""):
        self.binary = binary
        self.extra_keys = extra_keys
        self.artefacts = artefacts
        self.tmp = tempfile.mkdtemp(prefix="sp-e2e-")
        self.home = os.path.join(self.tmp, "home")
        runtime = os.path.join(self.tmp, "runtime")
        os.makedirs(self.home)
        os.makedirs(runtime, mode=0o700)
        self.processes = []
        self.app = None
        self.app_log_name = None
        self.last_shot = None
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        }
        try:
            self._start_session_bus()
            self._start_x()
            self._start_window_manager()
            self._bind_keys(extra_keys)
        except BaseException:
            self.close()
            raise

    # -- processes ---------------------------------------------------------------------

    def run(self, args, check=True, timeout=30):
        result = subprocess.run(args, env=self.env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed ({result.returncode}): {result.stderr.strip()}")
        return result

    def xdotool(self, *args):
        return self.run(["xdotool", *args])

    def _spawn(self, args, log_name, **kwargs):
        log = open(os.path.join(self.tmp, log_name), "wb")
        process = subprocess.Popen(args, env=kwargs.pop("env", self.env), stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=subprocess.STDOUT,
                                   preexec_fn=_die_with_parent, **kwargs)
        log.close()
        self.processes.append(process)
        return process

    def _start_server(self, what, args, log_name):
        """Starts a server that writes a line to the file descriptor put in for "{fd}" in
        `args` once it is ready (an address, a display number), and returns that line."""
        read_end, write_end = os.pipe()
        try:
            self._spawn([arg.replace("{fd}", str(write_end)) for arg in args], log_name,
                        pass_fds=(write_end,))
            os.close(write_end)
            write_end = None
            text = b""
            deadline = time.monotonic() + 30
            while not text.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise Failure(f"{what} did not get ready: " + self.log(log_name))
                chunk = os.read(read_end, 256)
                if not chunk:
                    raise Failure(f"{what} exited: " + self.log(log_name))
                text += chunk
            return text.decode().strip()
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)

    def _start_session_bus(self):
        # As on a desktop. Without a session bus the toolkit tries to launch one, and the
        # D-Bus client library leaks on that failed path, which a leak-checking build reports.
        address = "unix:path=" + os.path.join(self.tmp, "bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._start_server(
            "dbus-daemon", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                            "--address=" + address, "--print-address={fd}"], "dbus.log")

    def _start_x(self):
        cookie = os.urandom(16).hex()
        server_auth = os.path.join(self.tmp, "server.xauth")
        client_auth = os.path.join(self.tmp, "client.xauth")
        # The server takes every cookie of its file, whatever display it names.
        self.run(["xauth", "-q", "-f", server_auth, "add", ":0", "MIT-MAGIC-COOKIE-1", cookie])
        number = self._start_server(
            "Xvfb", ["Xvfb", "-displayfd", "{fd}", "-auth", server_auth,
                     "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-dpi", "96",
                     "-nolisten", "tcp", "-noreset"], "xvfb.log")
        self.display = ":" + number
        self.env["DISPLAY"] = self.display
        self.env["XAUTHORITY"] = client_auth
        self.run(["xauth", "-q", "-f", client_auth, "add", self.display, "MIT-MAGIC-COOKIE-1",
                  cookie])

    def _start_window_manager(self):
        wm = self._spawn(["openbox", "--sm-disable"], "openbox.log")

        def ready():
            if wm.poll() is not None:
                raise Failure("openbox exited: " + self.log("openbox.log"))
            return self.run(["wmctrl", "-m"], check=False).returncode == 0

        wait_for("the window manager", ready)

    def _bind_keys(self, characters):
        """Puts characters that the keyboard map lacks on spare keycodes, before the program
        starts. Left to itself, xdotool binds such a character just for the key press and
        takes it away again, and a loaded program then often reads the key with the map
        already restored and loses the character."""
        if not characters:
            return
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_int)]
        x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                            ctypes.POINTER(ctypes.c_int)]
        x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                               ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
        x11.XFree.argtypes = [ctypes.c_void_p]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        saved = os.environ.get("XAUTHORITY")
        os.environ["XAUTHORITY"] = self.env["XAUTHORITY"]
        try:
            display = x11.XOpenDisplay(self.display.encode())
        finally:
            if saved is None:
                del os.environ["XAUTHORITY"]
            else:
                os.environ["XAUTHORITY"] = saved
        if not display:
            raise Failure(f"cannot open the display {self.display} to set keys")
        try:
            low, high = ctypes.c_int(), ctypes.c_int()
            x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
            per, count = ctypes.c_int(), high.value - low.value + 1
            keymap = x11.XGetKeyboardMapping(display, low.value, count, ctypes.byref(per))
            spare = [low.value + i for i in range(count) if low.value + i > 8 and
                     not any(keymap[i * per.value + k] for k in range(per.value))]
            x11.XFree(keymap)
            unique = sorted(set(characters))
            if len(spare) < len(unique):
                raise Failure(f"only {len(spare)} spare keycodes for {len(unique)} characters")
            for character, keycode in zip(unique, spare):
                keysym = (ctypes.c_ulong * 1)(0x1000000 + ord(character))  # Unicode keysym
                x11.XChangeKeyboardMapping(display, keycode, 1, keysym, 1)
            x11.XSync(display, 0)
        finally:
            x11.XCloseDisplay(display)

    def start_app(self, workdir, args=()):
        """Starts the program in `workdir` with `args` after its name."""
        env = dict(self.env)
        env["QT_QPA_PLATFORM"] = "xcb"
        env["NO_AT_BRIDGE"] = "1"
        for name, value in os.environ.items():
            if name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TZ"):
                env[name] = value
        self.app_log_name = f"app-{len(self.processes)}.log"
        self.app = self._spawn([self.binary, *args], self.app_log_name, cwd=workdir, env=env)
        return self.app

    def app_log(self):
        return self.log(self.app_log_name) if self.app_log_name else ""

    def log(self, name):
        try:
            with open(os.path.join(self.tmp, name), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def wait_app_exit(self, timeout=30):
        try:
            return self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout} s")

    def stop_app(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
            self.app.wait()

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
        for process in reversed(self.processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # -- the screen --------------------------------------------------------------------

    def shot(self):
        path = os.path.join(self.tmp, "shot.ppm")
        self.run([IMPORT, "-silent", "-window", "root", "-depth", "8", "ppm:" + path])
        with open(path, "rb") as f:
            self.last_shot = Shot(f.read())
        return self.last_shot

    def save_failure_shot(self, label):
        """Keeps the screen as it was at a failure, for the person who reads the log."""
        if not self.artefacts:
            return None
        os.makedirs(self.artefacts, exist_ok=True)
        path = os.path.join(self.artefacts, f"e2e-failure-{label}.png")
        result = self.run([IMPORT, "-silent", "-window", "root", path], check=False)
        return path if result.returncode == 0 else None

    # -- windows -----------------------------------------------------------------------

    def window_ids(self, name, visible=True):
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + \
            ["--name", f"^{re.escape(name)}$"]
        result = self.run(args, check=False)
        return result.stdout.split()

    def wait_gone(self, name, timeout=20):
        wait_for(f"no visible window {name!r}",
                 lambda: not self.window_ids(name) or Detail("still mapped"), timeout)

    def active_name(self):
        result = self.run(["xdotool", "getactivewindow", "getwindowname"], check=False)
        return result.stdout.strip() if result.returncode == 0 else ""

    def close_window(self, window):
        """The close box path: the window manager asks the program to close the window."""
        self.run(["wmctrl", "-i", "-c", window.id])

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, text):
        unbound = {c for c in text if ord(c) > 0x7e and c not in self.extra_keys}
        if unbound:
            raise Failure(f"characters {sorted(unbound)} must be among the extra keys")
        self.xdotool("type", "--clearmodifiers", "--delay", "80", "--", text)


def report_failure(session, label, failure):
    """The failure, the screen at that moment and what the program printed."""
    print(f"FAIL {label}: {failure}", file=sys.stderr)
    if session:
        shot = session.save_failure_shot(label)
        if shot:
            print(f"screen at the failure: {shot}", file=sys.stderr)
        log = session.app_log()
        if log:
            print("program output:\n" + log, file=sys.stderr)


def main(scenarios, argv, extra_keys=""):
    """Runs the named scenarios (all when none is named) and prints the summary line.
    `extra_keys`: the characters outside the US keyboard that the scenarios type."""
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--binary", required=True, help="the study-proposal executable")
    parser.add_argument("--scenario", action="append", choices=sorted(scenarios),
                        help="run only this scenario (repeatable)")
    parser.add_argument("--artefacts", default=os.getcwd(),
                        help="where a screenshot of a failure is kept")
    args = parser.parse_args(argv)

    def interrupted(signum, _frame):
        raise SystemExit(f"stopped by signal {signum}")

    signal.signal(signal.SIGTERM, interrupted)
    started = time.monotonic()
    names = args.scenario or sorted(scenarios)
    session = None
    current = None
    try:
        require_tools()
        if not os.access(args.binary, os.X_OK):
            raise Failure(f"no executable program at {args.binary}")
        session = Session(os.path.abspath(args.binary), args.artefacts, extra_keys)
        for current in names:
            print(f"-- {current}", flush=True)
            scenarios[current](session)
            TALLY.scenarios += 1
    except (Failure, OSError, subprocess.SubprocessError) as failure:
        report_failure(session, current or "set-up", failure)
        return 1
    finally:
        if session:
            session.stop_app()
            session.close()
    print(f"e2e: {TALLY.scenarios} scenarios run, {TALLY.pixels} pixels checked, "
          f"{TALLY.bytes} bytes compared in {time.monotonic() - started:.1f} s")
    return 0
