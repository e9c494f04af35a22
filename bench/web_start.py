#!/usr/bin/python3
"""Start-up in a browser: from the page's navigation until the first frame that shows the
window, in Debian's Chromium, headless, the program against a bare Qt window built the same
way, in alternating pairs, with the browser's cache off (every load fetches and compiles the
.wasm, as a first visit does); then, in as many pairs, a later visit, each page from its
service worker's cache (as an installed app or an offline page starts). Frames are the
browser's own screencast frames with their timestamps, so looking at them costs nothing of
what is measured. Also prints the size of the download, raw and compressed (gzip, and
brotli where the tool is installed).

    web_start.py --program FOLDER --bare FOLDER [--pairs N]
"""

import argparse
import base64
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zlib

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from harness import Failure  # noqa: E402
from harness.browser import Browser, Screenshot, Server, wait_for  # noqa: E402

# A window's client area, seen as a run this wide of one colour: the program's layout grey,
# the bare window's palette grey.
RUN = 500
PROGRAM_GREY = (192, 192, 192)
TIMEOUT = 30


def shows_window(png, colour):
    shot = Screenshot(png)
    run = bytes(colour) * RUN
    for y in range(0, shot.height, 4):
        at = shot.row(y).find(run)
        while at >= 0 and at % 3:
            at = shot.row(y).find(run, at + 1)
        if at >= 0:
            return True
    return False


def first_frame(browser, url, colour):
    """Seconds from navigation to the first painted frame showing the window."""
    browser.call("Page.navigate", url="about:blank")
    time.sleep(0.3)
    browser.events.clear()
    browser.call("Page.startScreencast", format="png", everyNthFrame=1)
    start = time.time()
    browser.call("Page.navigate", url=url)
    frames = []
    deadline = time.monotonic() + TIMEOUT
    checked = time.monotonic()
    while True:
        try:
            frame = browser.event("Page.screencastFrame", timeout=0.5)
            browser.call("Page.screencastFrameAck", sessionId=frame["sessionId"])
            frames.append((frame["metadata"]["timestamp"], frame["data"]))
        except Failure:  # nothing painted for a while: look at the last frame now
            checked = 0
        # Decoding is slow: look at the latest frame now and then, the earlier ones once
        # the window is there.
        if frames and time.monotonic() - checked > 0.5:
            if shows_window(base64.b64decode(frames[-1][1]), colour):
                break
            checked = time.monotonic()
        if time.monotonic() > deadline:
            raise Failure(f"{url} showed no window in {TIMEOUT} s")
    browser.call("Page.stopScreencast")
    for stamp, data in frames:
        if shows_window(base64.b64decode(data), colour):
            return stamp - start
    raise Failure("the window's frame was lost")


def bare_colour(browser, url):
    """The bare window's client colour: the commonest colour of its page once it is up."""
    browser.call("Page.navigate", url=url)
    time.sleep(0.5)

    def settled():
        shot = browser.shot()
        middle = shot.row(shot.height // 2)
        pixels = [tuple(middle[i:i + 3]) for i in range(0, len(middle), 3)]
        common = max(set(pixels), key=pixels.count)
        return common if pixels.count(common) > RUN and common != (0, 128, 128) else None
    return wait_for("the bare window", settled)


def kept_by_worker(browser, url):
    """Loads the page until its service worker is active, as the first visit leaves it."""
    browser.call("Page.navigate", url=url)
    wait_for(f"the service worker of {url}", lambda: browser.evaluate(
        "navigator.serviceWorker.getRegistration()"
        ".then((r) => r && r.active && r.active.state === 'activated')"), TIMEOUT)


def sizes(folder, name):
    wasm = open(os.path.join(folder, f"{name}.wasm"), "rb").read()
    scripts = b"".join(open(os.path.join(folder, f), "rb").read()
                       for f in (f"{name}.js", "qtloader.js", "index.html"))
    row = {"raw": len(wasm) + len(scripts),
           "gzip": len(zlib.compress(wasm, 9)) + len(zlib.compress(scripts, 9))}
    if shutil.which("brotli"):
        def brotli(data):
            return len(subprocess.run(["brotli", "-c", "-q", "11"], input=data,
                                      capture_output=True, check=True).stdout)
        row["brotli"] = brotli(wasm) + brotli(scripts)
    return row


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--pairs", type=int, default=7)
    args = parser.parse_args()
    tmp = tempfile.mkdtemp(prefix="sp-web-bench-")
    root = os.path.commonpath([os.path.abspath(args.program), os.path.abspath(args.bare)])
    browser = None
    try:
        with Server(root) as server:
            def url(folder):
                return f"{server.url}{os.path.relpath(folder, root)}/index.html"
            browser = Browser("about:blank", tmp, os.path.join(tmp, "profile"))
            browser.call("Network.enable")
            browser.call("Network.setCacheDisabled", cacheDisabled=True)
            # Nor the pages' service workers, which keep them after a first load.
            browser.call("Network.setBypassServiceWorker", bypass=True)
            targets = {"program": (url(args.program), PROGRAM_GREY),
                       "bare": (url(args.bare), bare_colour(browser, url(args.bare)))}
            times = {"program": [], "bare": []}
            first_frame(browser, *targets["bare"])  # the browser's own start-up out of the way
            for _ in range(args.pairs):
                for name in ("program", "bare"):
                    times[name].append(first_frame(browser, *targets[name]))
            browser.call("Network.setBypassServiceWorker", bypass=False)
            for name in ("program", "bare"):
                kept_by_worker(browser, targets[name][0])
            kept = {"program": [], "bare": []}
            for _ in range(args.pairs):
                for name in ("program", "bare"):
                    kept[name].append(first_frame(browser, *targets[name]))
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        if browser:
            browser.close()
        shutil.rmtree(tmp, ignore_errors=True)
    for what, runs in (("cache off", times), ("from the service worker's cache", kept)):
        program, bare = (statistics.median(runs[n]) * 1000 for n in ("program", "bare"))
        ratios = statistics.median(p / b for p, b in zip(runs["program"], runs["bare"]))
        print(f"Page load to first frame, headless Chromium, {what}, {args.pairs} pairs: "
              f"program {program:.0f} ms, bare Qt window {bare:.0f} ms, "
              f"{program / bare:.2f}x (median of pair ratios {ratios:.2f}x)")
    first = statistics.median(times["program"])
    later = statistics.median(kept["program"])
    print(f"The program's later visit from its worker against a first visit: "
          f"{later * 1000:.0f} ms against {first * 1000:.0f} ms, {later / first:.2f}x")
    for name, folder, module in (("program", args.program, "study-proposal"),
                                 ("bare Qt window", args.bare, "bare_window")):
        row = sizes(folder, module)
        print(f"Download of the {name} (.wasm, .js, loader, page): "
              + ", ".join(f"{kind} {size / 1e6:.2f} MB" for kind, size in row.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
