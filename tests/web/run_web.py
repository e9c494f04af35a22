#!/usr/bin/python3
"""The program in a browser: the web folder served on localhost and driven in Debian's
Chromium, headless, through the DevTools protocol, with real mouse events on the page. The
presses of the desktop's end-to-end scenarios are replayed, the downloaded StudyProposal.txt
is compared with the same golden files, the six row colours are read off a screenshot, a
saved study is opened through the file picker and from the page's address, and the exported
document compared with the one the Linux program writes. Throughout, the page's
Content-Security-Policy refuses nothing and nothing asks for WebGL; the windows' titles are
in the page's face; and what keeps the program from starting is said on the page.

    run_web.py --folder build-web/study-proposal-VERSION-web --program build/study-proposal
               [--keep DIR] [--chromium-flag FLAG]...

--keep DIR leaves there pictures of the page with each window in front, after the presses
(the README's docs/web.png and docs/web-impacts.png). --chromium-flag passes a switch to
Chromium, e.g. --disable-webgl.
"""

import argparse
import base64
import datetime
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.dont_write_bytecode = True  # keep the source tree clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", ".."), os.path.join(HERE, "..", "e2e")]

import run_e2e  # noqa: E402
from harness import Failure  # noqa: E402
from harness.browser import TIMEOUT, Browser, Server, wait_for  # noqa: E402
from harness.program import GO_TO_IMPACTS, MASS, ROW_COLOURS, SAVE, cell_centre  # noqa: E402
from harness.xsession import BACKGROUND  # noqa: E402
from run_e2e import compare_document  # noqa: E402

LINUX_DATE = run_e2e.short_date  # the Linux program's, in the C locale


def browser_date(day):
    """The short date of the browser's locale (English, United States, in the headless
    Chromium here)."""
    return f"{day.month}/{day.day}/{day.year % 100:02d}"


class Page:
    """The program in the page: the window in front addressed in client-area pixels, the
    layout's coordinates below its menu bar, as on the desktop."""

    def __init__(self, browser, downloads):
        self.browser = browser
        self.downloads = downloads
        wait_for("the program to start",
                 lambda: self.browser.evaluate("document.body.dataset.program") == "running")
        self.left, self.top = wait_for("a window with its grey client area", self.client_corner)

    def client_corner(self):
        """The top-left corner of the client area of the window in front: the first row with a
        run of the layout's grey as wide as most of the window, where the run starts."""
        shot = self.browser.shot()
        grey = bytes(BACKGROUND) * 600
        for y in range(shot.height):
            at = shot.row(y).find(grey)
            while at >= 0 and at % 3:
                at = shot.row(y).find(grey, at + 1)
            if at >= 0:
                return at // 3, y
        return None

    def locate(self):
        self.left, self.top = wait_for("the window in front", self.client_corner)

    def press(self, point, button="left"):
        self.browser.press(self.left + point[0], self.top + point[1], button)

    def pixel(self, shot, point):
        return shot.pixel(self.left + point[0], self.top + point[1])

    def press_cells(self, presses):
        for aspect, index, button in presses:
            self.press(cell_centre(aspect, index), "middle" if button == 2 else "left")

    def download(self, name, action, timeout=TIMEOUT):
        """Runs `action` and returns the bytes of the file the page then downloads."""
        path = os.path.join(self.downloads, name)
        if os.path.exists(path):
            os.remove(path)
        action()
        self.browser.event("Browser.downloadWillBegin", timeout)
        done = wait_for(f"{name} to download", lambda: next(
            (e for e in self.browser.events if e.get("method") == "Browser.downloadProgress"
             and e["params"]["state"] == "completed"), None) or self.browser.poll())
        self.browser.events.remove(done)
        with open(path, "rb") as f:
            return f.read()

    def keys(self, key, code, modifiers=0, text=""):
        """A key pressed and released on the page: `modifiers` 2 for Ctrl, 10 Ctrl+Shift."""
        virtual = ord(key.upper()) if len(key) == 1 else {"ArrowDown": 40, "Enter": 13}[key]
        for kind in ("keyDown", "keyUp"):
            self.browser.call("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                              modifiers=modifiers, windowsVirtualKeyCode=virtual,
                              text=text if kind == "keyDown" else "")


# The marks of the desktop's keyword_index scenario, whose saved file is worked_example.txt:
# (aspect, index, 1 left or 2 middle), in Future, in Impacts, then in Future again.
WORKED_EXAMPLE = (
    [(3, 7, 1), (3, 8, 2), (3, 8, 2), (3, 12, 1)],
    [(MASS, 7, 1), (MASS, 12, 1), (3, 8, 1), (3, 8, 2), (3, 9, 1), (5, 7, 1), (5, 7, 1)],
    [(5, 7, 1), (5, 7, 2), (5, 7, 1)],
)


# Watched in every page from before its own scripts run: what its Content-Security-Policy
# refused, and whether anything asked for a WebGL context.
WATCH = """
window.spRefused = [];
document.addEventListener('securitypolicyviolation', (event) => window.spRefused.push(
    `${event.effectiveDirective} refused ${event.blockedURI || 'an inline one'}`));
window.spWebGL = 0;
for (const kind of [window.HTMLCanvasElement, window.OffscreenCanvas].filter(Boolean)) {
    const getContext = kind.prototype.getContext;
    kind.prototype.getContext = function (type, ...rest) {
        if (String(type).includes('webgl'))
            window.spWebGL += 1;
        return getContext.call(this, type, ...rest);
    };
}
"""


def open_page(url, downloads, profile, flags=()):
    browser = Browser("about:blank", downloads, profile, flags)
    browser.call("Page.addScriptToEvaluateOnNewDocument", source=WATCH)
    browser.call("Page.navigate", url=url)
    return browser


def nothing_refused(browser):
    """The page's Content-Security-Policy let through all the page did, and nothing asked
    for WebGL, which the page runs without."""
    refused = browser.evaluate("window.spRefused")
    if refused:
        raise Failure(f"the page's Content-Security-Policy refused: {'; '.join(refused)}")
    if browser.evaluate("window.spWebGL"):
        raise Failure("the page asked for a WebGL context")


def title_face(browser):
    """Qt's windows' titles, HTML in a shadow root, are in the page's face, not the browser's
    default one."""
    face = browser.evaluate("""(() => {
        const host = document.getElementById('qt-shadow-container');
        const title = host && host.shadowRoot.querySelector('.window-name');
        return title && getComputedStyle(title).fontFamily; })()""")
    page = browser.evaluate("getComputedStyle(document.body).fontFamily")
    if face != page:
        raise Failure(f"the windows' titles are in {face}, not in the page's {page}")


def keep_picture(browser, keep, name):
    if keep:
        with open(os.path.join(keep, name), "wb") as f:
            f.write(base64.b64decode(browser.call("Page.captureScreenshot")["data"]))


def worked_example(page, keep):
    """Presses on both windows through real mouse events, switching by the buttons and by a
    right press; the save button downloads the very bytes the desktop program writes."""
    future, impacts, again = WORKED_EXAMPLE
    page.press_cells(future)
    page.press(GO_TO_IMPACTS)
    page.locate()
    page.press_cells(impacts)
    keep_picture(page.browser, keep, "web-impacts.png")
    page.press(cell_centre(1, 0), "right")  # switches back, marks nothing
    page.locate()
    page.press_cells(again)
    first_day = datetime.date.today()
    data = page.download("StudyProposal.txt", lambda: page.press(SAVE))
    compare_document(data, "worked_example.txt", {first_day, datetime.date.today()})
    return data


def row_colours(page):
    """The six rows of Future in their colours, exact, read where no caption is drawn."""
    shot = page.browser.shot()
    for aspect, colour in ROW_COLOURS.items():
        x, y = cell_centre(aspect, 20)
        seen = page.pixel(shot, (x - 7, y - 7))
        if seen != colour:
            raise Failure(f"row {aspect} of Future is {seen} in the browser, not {colour}")


def open_study(page, study, golden):
    """File > Open Study (Ctrl+O) through the browser's file picker: the study's marks and
    horizon replace the others, as the next download shows."""
    page.keys("o", "KeyO", modifiers=2)
    chooser = page.browser.event("Page.fileChooserOpened")
    before = page.browser.shot().data
    page.browser.call("DOM.setFileInputFiles", files=[study],
                      backendNodeId=chooser["backendNodeId"])
    wait_for("the study to show", lambda: page.browser.shot().data != before)
    time.sleep(0.3)  # both windows updated
    first_day = datetime.date.today()
    data = page.download("StudyProposal.txt", lambda: page.press(SAVE))
    compare_document(data, golden, {first_day, datetime.date.today()})


def exported_document(page, program, study, tmp):
    """Export OpenDocument Text from the File menu downloads the document the Linux program
    exports from the same study: the same content and styles."""
    def choose():
        page.press((18, -10))  # "File" on the menu bar above the client area
        for _ in range(4):  # Open Study, Save, Export Word Document, Export OpenDocument Text
            page.keys("ArrowDown", "ArrowDown")
        page.keys("Enter", "Enter")

    web = page.download("StudyProposal.odt", choose)
    linux = os.path.join(tmp, "linux.odt")
    subprocess.run([program, "--export", linux, study], check=True, capture_output=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    # The date of the title line is each system's short date: the browser's for the Linux
    # program's, the one difference between them.
    today = datetime.date.today()
    dates = (f"({browser_date(today)})".encode(), f"({LINUX_DATE(today)})".encode())
    with zipfile.ZipFile(linux) as a, zipfile.ZipFile(io.BytesIO(web)) as b:
        for part in ("content.xml", "styles.xml", "META-INF/manifest.xml", "mimetype"):
            if a.read(part) != b.read(part).replace(*dates):
                raise Failure(f"the browser's document differs from the Linux program's in "
                              f"{part}")
        for picture in ("Pictures/future.png", "Pictures/impacts.png"):
            if b.read(picture)[:24] != a.read(picture)[:24]:  # signature and size
                raise Failure(f"the browser's {picture} is not the Linux program's size")


def study_from_address(browser, downloads, site, study):
    """index.html?study=NAME opens that file of the same site at start, as Open Study does:
    the first save gives back its bytes."""
    name = os.path.basename(study)
    nothing_refused(browser)  # of the page before
    browser.events = [e for e in browser.events if e.get("method") != "Page.loadEventFired"]
    browser.call("Page.navigate", url=f"{site}index.html?study={name}")
    browser.event("Page.loadEventFired")  # the old page gone before the new one is looked for
    page = Page(browser, downloads)
    first_day = datetime.date.today()
    # Until the page has fetched the study, the save is refused (no frame, no grain) and
    # downloads nothing: press again.
    for attempt in range(20):
        try:
            data = page.download("StudyProposal.txt", lambda: page.press(SAVE), timeout=3)
            break
        except Failure:
            if attempt == 19:
                raise
    compare_document(data, "horizon_edited.txt", {first_day, datetime.date.today()})
    nothing_refused(browser)


def page_says(browser, url, words):
    """The page at `url` shows a message with these words instead of the program."""
    browser.call("Page.navigate", url=url)
    wait_for(f"the page to say {words!r}",
             lambda: browser.evaluate("document.body.dataset.program") == "stopped")
    said = browser.evaluate("document.getElementById('status').innerText")
    if words not in said or not browser.evaluate(
            "document.getElementById('status').offsetHeight > 0"):
        raise Failure(f"{url} says {said!r}, not {words!r}")
    nothing_refused(browser)


def without_parts(browser, folder, site, url):
    """A site missing the .wasm or Qt's loader: the page says why the program cannot
    start, instead of staying empty or loading forever."""
    for missing, words in (("study-proposal.wasm", "Study proposal could not start"),
                           ("qtloader.js", "qtloader.js, is missing")):
        part = os.path.join(site, "without-" + missing)
        os.makedirs(part)
        for name in os.listdir(folder):
            if name != missing:
                os.symlink(os.path.abspath(os.path.join(folder, name)), os.path.join(part, name))
        page_says(browser, f"{url}without-{missing}/index.html", words)


def without_webassembly(url, tmp):
    """A browser without WebAssembly gets the page's message saying so: Chromium whose
    JavaScript engine runs without its compilers, as some browsers' stricter security modes
    do, has none."""
    browser = open_page(url, os.path.join(tmp, "downloads"), os.path.join(tmp, "profile-nowasm"),
                        ["--js-flags=--jitless"])
    try:
        page_says(browser, url, "runs on WebAssembly, which this browser lacks")
    finally:
        browser.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--keep")
    parser.add_argument("--chromium-flag", action="append", default=[])
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.folder, "index.html")):
        print(f"FAIL set-up: {args.folder} holds no index.html; build it with scripts/web")
        return 1
    run_e2e.short_date = browser_date
    tmp = tempfile.mkdtemp(prefix="sp-web-")
    # The folder as a site, with room for a study file beside the page.
    site = os.path.join(tmp, "site")
    os.makedirs(site)
    for name in os.listdir(args.folder):
        os.symlink(os.path.abspath(os.path.join(args.folder, name)), os.path.join(site, name))
    browser = None
    try:
        with Server(site) as server:
            downloads = os.path.join(tmp, "downloads")
            os.makedirs(downloads)
            browser = open_page(f"{server.url}index.html", downloads,
                                os.path.join(tmp, "profile"), args.chromium_flag)
            page = Page(browser, downloads)
            title_face(browser)
            saved = worked_example(page, args.keep)
            row_colours(page)
            keep_picture(browser, args.keep, "web.png")
            study = os.path.join(tmp, "StudyProposal.txt")
            with open(study, "wb") as f:
                f.write(saved)
            exported_document(page, args.program, study, tmp)
            golden = os.path.join(run_e2e.DATA, "horizon_edited.txt")
            other = os.path.join(site, "other.txt")
            with open(golden, "rb") as f:
                data = f.read().replace(b"{{DATE}}",
                                        browser_date(datetime.date.today()).encode())
            with open(other, "wb") as f:
                f.write(data)
            open_study(page, other, "horizon_edited.txt")
            study_from_address(browser, downloads, server.url, other)
            without_parts(browser, args.folder, site, server.url)
            without_webassembly(f"{server.url}index.html", tmp)
    except Failure as failure:
        print(f"FAIL: {failure}")
        if browser:
            refused = browser.evaluate("window.spRefused")
            if refused:
                print(f"the page's Content-Security-Policy refused: {'; '.join(refused)}")
            keep_picture(browser, tmp, "failure.png")
            print(f"the page as it was: {os.path.join(tmp, 'failure.png')}")
        return 1
    finally:
        if browser:
            browser.close()
    shutil.rmtree(tmp, ignore_errors=True)
    print("web: the program in Chromium saved, opened and exported as the Linux program does, "
          "within the page's Content-Security-Policy and without WebGL")
    return 0


if __name__ == "__main__":
    sys.exit(main())
