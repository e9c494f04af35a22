#!/usr/bin/python3
"""Start-up in a browser: from the page's navigation until the first frame that shows the
window, in Debian's Chromium, headless, on localhost, the program against a bare Qt window
built the same way, in alternating pairs, twice: cold, with the browser's cache off (every
load fetches and compiles the .wasm, as a first visit does, past the pages' service
workers), and cached, each load after an earlier one of the same page, from the page's
service worker once the first load has installed it (as a second visit, an installed app or
an offline page starts). Frames are the browser's own screencast frames with their
timestamps, so looking at them costs nothing of what is measured.

Also the download of each: every file the page requested in a cold load (as the browser's
network log lists them), raw and compressed as a server sends it at its best level (the
precompressed copies beside a file where the folder has them, else gzip -9 and brotli
-q 11 here), the .wasm on its own, and what this server sent.

    web_start.py --program FOLDER --bare FOLDER [--pairs N]
"""

import argparse
import base64
import functools
import gzip
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.parse

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
    browser.open("about:blank")  # the last page gone, on a busy machine too
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


def requested(browser, url, colour):
    """The files of the site a cold load of the page fetches, by their paths under the
    site, and the bytes the server sent for them (compressed, where it sent them so)."""
    first_frame(browser, url, colour)
    time.sleep(1)  # what the page fetches once it is up (its icon)
    for _ in range(200):
        browser.poll()
    site = url[:url.index("/", len("http://")) + 1]
    sent = {}
    ids = {}
    for event in browser.events:
        params = event.get("params", {})
        if event.get("method") == "Network.responseReceived":
            if params["response"]["url"].startswith(site):
                ids[params["requestId"]] = urllib.parse.urlparse(params["response"]["url"]).path
        elif event.get("method") == "Network.loadingFinished" and params["requestId"] in ids:
            sent[ids[params["requestId"]]] = params["encodedDataLength"]
    return sent


@functools.cache
def compressed(path, kind):
    """The file's size as a server sends it compressed at its best level."""
    if os.path.exists(f"{path}.{kind}"):
        return os.path.getsize(f"{path}.{kind}")
    data = open(path, "rb").read()
    if kind == "gz":
        return len(gzip.compress(data, 9, mtime=0))
    return len(subprocess.run(["brotli", "-c", "-q", "11"], input=data, capture_output=True,
                              check=True).stdout)


def sizes(paths):
    """Raw, gzip and brotli sizes, summed over the files."""
    row = {"raw": sum(os.path.getsize(p) for p in paths),
           "gzip": sum(compressed(p, "gz") for p in paths)}
    if shutil.which("brotli"):
        row["brotli"] = sum(compressed(p, "br") for p in paths)
    return row


def megabytes(row):
    return ", ".join(f"{kind} {size / 1e6:.2f} MB" for kind, size in row.items())


def timed(browser, targets, pairs):
    """Milliseconds to the first frame of each target, in alternating pairs."""
    times = {name: [] for name in targets}
    for _ in range(pairs):
        for name in targets:
            times[name].append(first_frame(browser, *targets[name]))
    return times


def report(label, times):
    program, bare = (statistics.median(times[n]) * 1000 for n in ("program", "bare"))
    ratio = statistics.median(p / b for p, b in zip(times["program"], times["bare"]))
    print(f"  {label}: program {program:.0f} ms, bare Qt window {bare:.0f} ms, "
          f"{program / bare:.2f}x (median of pair ratios {ratio:.2f}x)")


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
            # The browser's own start-up out of the way, and what each page fetches.
            fetched = {name: requested(browser, *targets[name]) for name in targets}
            cold = timed(browser, targets, args.pairs)
            browser.call("Network.setCacheDisabled", cacheDisabled=False)
            browser.call("Network.setBypassServiceWorker", bypass=False)
            for name in targets:  # the first load that fills the cache is not timed
                kept_by_worker(browser, targets[name][0])
            cached = timed(browser, targets, args.pairs)
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        if browser:
            browser.close()
        shutil.rmtree(tmp, ignore_errors=True)
    print(f"Page load to first frame, headless Chromium on localhost, {args.pairs} pairs:")
    report("cold (cache off)", cold)
    report("cached (second load, from the service worker)", cached)
    for name, label, folder, module in (
            ("program", "program", args.program, "study-proposal"),
            ("bare", "bare Qt window", args.bare, "bare_window")):
        site = f"/{os.path.relpath(folder, root)}/"
        files = sorted(path[len(site):] for path in fetched[name] if path.startswith(site))
        if f"{module}.wasm" not in files:
            print(f"FAIL: the {label}'s page did not fetch {module}.wasm (it fetched {files})")
            return 1
        row = sizes([os.path.join(folder, f) for f in files])
        print(f"Download of the {label}, the {len(files)} files it fetches "
              f"({', '.join(files)}): {megabytes(row)}; "
              f"sent by this server {sum(fetched[name].values()) / 1e6:.2f} MB")
        print(f"  of which {module}.wasm: "
              f"{megabytes(sizes([os.path.join(folder, module + '.wasm')]))}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
