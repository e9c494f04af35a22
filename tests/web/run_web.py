#!/usr/bin/python3
"""The program in a browser: the web folder served on localhost and driven in one of three
engines with real mouse and key events on the page: Debian's Chromium, headless, through the
DevTools protocol; Firefox ESR through its WebDriver BiDi; WebKitGTK's MiniBrowser through
WebKitWebDriver (harness.drivers). The presses of the desktop's end-to-end scenarios are
replayed, the downloaded StudyProposal.txt is compared with the same golden files, the six
row colours are read off a screenshot, the exported documents (Word and OpenDocument) are
compared with the ones the Linux program writes, and a saved study is opened through the
file picker and from the page's address. The study the page keeps in the browser's storage
comes back after a reload exactly as it was left, a damaged one starts the page with a new
study, and File > New Study clears the windows and the storage. Throughout, the page's Content-Security-Policy
refuses nothing, and the windows' titles are in the page's face; in Chromium, what keeps the
program from starting (no WebAssembly, a part of the site missing) is said on the page, and
the compressed copies beside the page's files are those files, the .wasm arriving as one.

    run_web.py --folder build-web/study-proposal-VERSION-web --program build/study-proposal
               [--engine chromium|firefox|webkit] [--no-webgl] [--keep DIR]

--no-webgl runs the page in a browser without WebGL (Chromium, Firefox), as some machines'
browsers are.
--keep DIR leaves there pictures of the page with each window in front, after the presses
(the README's docs/web.png and docs/web-impacts.png).
"""

import argparse
import datetime
import gzip
import io
import os
import re
import subprocess
import sys
import time
import zipfile

sys.dont_write_bytecode = True  # keep the source tree clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", ".."), os.path.join(HERE, "..", "e2e")]

import run_e2e  # noqa: E402
from harness import Failure  # noqa: E402
from harness import drivers  # noqa: E402
from harness.browser import (TIMEOUT, Browser, Server, check_policy, checked_run,  # noqa: E402
                             page_site, wait_for)
from harness.program import (FUTURE, GO_TO_IMPACTS, MASS, ROW_COLOURS, SAVE,  # noqa: E402
                             STATUS_BOX, cell_centre, cell_origin)
from harness.xsession import BACKGROUND  # noqa: E402
from run_e2e import compare_document  # noqa: E402

LINUX_DATE = run_e2e.short_date  # the Linux program's, in the C locale


def browser_date(day):
    """The short date of the browser's locale (English, United States, in each engine as
    started here)."""
    return f"{day.month}/{day.day}/{day.year % 100:02d}"


class Page:
    """The program in the page: the window in front addressed in client-area pixels, the
    layout's coordinates below its menu bar, as on the desktop."""

    def __init__(self, browser, downloads):
        self.browser = browser
        self.downloads = downloads
        state = wait_for("the program to start",
                         lambda: self.browser.evaluate("document.body.dataset.program"))
        if state != "running":
            raise Failure("the page says: " + self.browser.evaluate(
                "document.getElementById('status').textContent").strip())
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
        return self.browser.download(name, action, timeout)

    def keys(self, key, modifiers=()):
        """A key pressed and released on the page, with modifiers such as "Control"."""
        self.browser.key(key, modifiers)


# The marks of the desktop's keyword_index scenario, whose saved file is worked_example.txt:
# (aspect, index, 1 left or 2 middle), in Future, in Impacts, then in Future again.
WORKED_EXAMPLE = (
    [(3, 7, 1), (3, 8, 2), (3, 8, 2), (3, 12, 1)],
    [(MASS, 7, 1), (MASS, 12, 1), (3, 8, 1), (3, 8, 2), (3, 9, 1), (5, 7, 1), (5, 7, 1)],
    [(5, 7, 1), (5, 7, 2), (5, 7, 1)],
)


def keep_picture(browser, keep, name):
    if keep:
        with open(os.path.join(keep, name), "wb") as f:
            f.write(browser.png())


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


def settled(browser):
    """Waits until two pictures of the page in a row are the same."""
    last = [browser.shot().data]

    def same():
        now = browser.shot().data
        same, last[0] = now == last[0], now
        return same

    wait_for("the page to settle", same)


def open_study(page, study, golden):
    """File > Open Study (Ctrl+O) through the browser's file picker: the study's marks and
    horizon replace the others, as the next download shows."""
    before = page.browser.shot().data
    page.browser.choose_file(study, lambda: page.keys("o", ("Control",)))
    wait_for("the study to show", lambda: page.browser.shot().data != before)
    settled(page.browser)  # both windows updated
    first_day = datetime.date.today()
    data = page.download("StudyProposal.txt", lambda: page.press(SAVE))
    compare_document(data, golden, {first_day, datetime.date.today()})


# The File menu's entries below the menu bar: New Study, Open Study, Save, Export Word
# Document, Export OpenDocument Text. The exports' by the document each exports.
NEW_STUDY = 1
EXPORTS = {"docx": 4, "odt": 5}
# What stands either side of the title line's date in each document: a run of its own in the
# Word document, in brackets in the OpenDocument text.
DATE_BOUNDS = {"docx": (b">", b"<"), "odt": (b"(", b")")}
# When a document was written, in its properties: the one part of it that is not the study's.
WRITTEN = re.compile(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d+)?Z?")


def same_document(web, linux, kind):
    """The browser's document against the Linux program's from the same study: the same
    parts in the same order, each byte for byte but for the title line's date (each system
    writes its own short date) and the time of writing; the pictures, drawn with each
    system's fonts, of the same size."""
    today = datetime.date.today()
    before, after = DATE_BOUNDS[kind]
    dates = (before + browser_date(today).encode() + after,
             before + LINUX_DATE(today).encode() + after)
    with zipfile.ZipFile(linux) as a, zipfile.ZipFile(io.BytesIO(web)) as b:
        if a.namelist() != b.namelist():
            raise Failure(f"the browser's .{kind} has the parts {b.namelist()}, the Linux "
                          f"program's {a.namelist()}")
        for part in a.namelist():
            ours, theirs = a.read(part), b.read(part)
            if part.endswith(".png"):
                if theirs[:24] != ours[:24]:  # signature and size
                    raise Failure(f"the browser's {part} is not the Linux program's size")
            elif WRITTEN.sub(b"", ours) != WRITTEN.sub(b"", theirs.replace(*dates)):
                raise Failure(f"the browser's .{kind} differs from the Linux program's in "
                              f"{part}")


def file_menu(page, entry):
    """Chooses the File menu's entry by keys: the first is 1."""
    page.press((18, -10))  # "File" on the menu bar above the client area
    for _ in range(entry):
        page.keys("ArrowDown")
    page.keys("Enter")


def exported_document(page, program, study, tmp, kind):
    """Export Word Document or Export OpenDocument Text from the File menu, by keys,
    downloads the document the Linux program exports from the same study."""
    web = page.download(f"StudyProposal.{kind}", lambda: file_menu(page, EXPORTS[kind]))
    with open(os.path.join(tmp, f"web.{kind}"), "wb") as f:  # kept with a failure
        f.write(web)
    linux = os.path.join(tmp, f"linux.{kind}")
    subprocess.run([program, "--export", linux, study], check=True, capture_output=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    same_document(web, linux, kind)


def study_from_address(browser, downloads, site, study):
    """index.html?study=NAME opens that file of the same site at start, as Open Study does:
    the first save gives back its bytes."""
    name = os.path.basename(study)
    browser.open(f"{site}index.html?study={name}")  # the old page gone when it returns
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


# The study the page keeps, as its storage holds it: under the page's folder.
KEPT = "'study-proposal:' + new URL('.', location.href).pathname"


# The one question, a window of its own titled with the program's name.
QUESTION = """(() => {
    const host = document.getElementById('qt-shadow-container');
    return !!host && [...host.shadowRoot.querySelectorAll('.window-name')]
        .some((title) => title.textContent === 'Study proposal'); })()"""


def picture(page, box):
    """The pixels of a box of the window in front, at the layout's coordinates."""
    settled(page.browser)
    x, y, width, height = box
    return page.browser.shot().region(page.left + x, page.top + y, width, height)


def matrix_box():
    (left, top), (right, bottom) = cell_origin(1, 0), cell_origin(MASS, 21)
    return left, top, right + 24 - left, bottom + 24 - top


def kept_across_reloads(browser, downloads, url, new):
    """The study is kept as it changes: a reload shows the marks as they were left, saved or
    not, and saves the very file saved before it; File > New Study asks about unsaved marks
    (Enter: Save), then clears the windows and the storage; a stored study that cannot be
    read back starts the page with a new study, says so and is forgotten. `new` is the
    matrix and the status line of a new study."""
    page = Page(browser, downloads)
    page.press_cells([(1, 3, 1), (4, 10, 2)])
    saved = page.download("StudyProposal.txt", lambda: page.press(SAVE))
    page.press_cells([(2, 5, 1)])  # unsaved
    left = picture(page, matrix_box())
    browser.open(url)
    page = Page(browser, downloads)
    if picture(page, matrix_box()) != left:
        raise Failure("after a reload the matrix is not as it was left")
    page.press_cells([(2, 5, 1), (2, 5, 1)])  # through the second trend back to none
    if page.download("StudyProposal.txt", lambda: page.press(SAVE)) != saved:
        raise Failure("after a reload the same marks save another file")

    page.press_cells([(3, 3, 1)])
    def new_study_saving():
        file_menu(page, NEW_STUDY)
        wait_for("the question about unsaved marks", lambda: browser.evaluate(QUESTION))
        page.keys("Enter")

    page.download("StudyProposal.txt", new_study_saving)
    for when in ("after New Study", "after New Study and a reload"):
        if picture(page, matrix_box()) != new[0]:
            raise Failure(f"the matrix is not empty {when}")
        if browser.evaluate(f"localStorage.getItem({KEPT})") is not None:
            raise Failure(f"the browser still keeps a study {when}")
        browser.open(url)
        page = Page(browser, downloads)

    browser.evaluate(f"localStorage.setItem({KEPT}, 'study-proposal kept study 1\\nhorizon 20')")
    browser.open(url)
    page = Page(browser, downloads)
    if picture(page, matrix_box()) != new[0]:
        raise Failure("a damaged stored study does not start the page empty")
    if picture(page, STATUS_BOX[FUTURE]) == new[1]:
        raise Failure("a damaged stored study starts the page without a word")
    if browser.evaluate(f"localStorage.getItem({KEPT})") is not None:
        raise Failure("the damaged stored study is kept still")

# What the page needs to start, each of which a server may send compressed.
STARTING = ("index.html", "page.js", "page.css", "qtloader.js", "study-proposal.js",
            "study-proposal.wasm")
ALREADY_COMPRESSED = (".br", ".gz", ".zip", ".png", ".ico", ".webp")


def compressed_copies(browser, folder):
    """Beside the page's files their brotli and gzip copies, each the file's very bytes once
    decoded (a stale copy would send browsers another program); and the page running here
    got its .wasm compressed from the server, which sends those copies."""
    for here, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(here, name)
            if name.endswith(ALREADY_COMPRESSED):
                continue
            with open(path, "rb") as f:
                data = f.read()
            copies = [s for s in (".br", ".gz") if os.path.exists(path + s)]
            if here == folder and name in STARTING and len(copies) < 2:
                raise Failure(f"{name} has no {' and no '.join({'.br', '.gz'} - set(copies))} "
                              f"copy beside it")
            for suffix in copies:
                with open(path + suffix, "rb") as f:
                    copy = f.read()
                decoded = gzip.decompress(copy) if suffix == ".gz" else subprocess.run(
                    ["brotli", "-d", "-c"], input=copy, capture_output=True, check=True).stdout
                if decoded != data:
                    raise Failure(f"{name}{suffix} is not {name} compressed")
    sizes = browser.evaluate("""(() => {
        const wasm = performance.getEntriesByType('resource')
            .find(r => r.name.endsWith('/study-proposal.wasm'));
        return wasm && [wasm.encodedBodySize, wasm.decodedBodySize]; })()""")
    if not sizes or sizes[0] >= sizes[1]:
        raise Failure(f"the page got its .wasm uncompressed (sent, decoded: {sizes})")


def check_webgl(browser, webgl):
    """The page runs with WebGL as asked: a run meant without it proves nothing if the
    browser has it after all."""
    has = browser.evaluate(
        "!!document.createElement('canvas').getContext('webgl')")
    if has != webgl:
        raise Failure(f"{browser.name} has {'no ' if not has else ''}WebGL in this run")


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


def page_says(browser, url, words):
    """The page at `url` shows a message with these words instead of the program."""
    browser.open(url)
    wait_for(f"the page to say {words!r}",
             lambda: browser.evaluate("document.body.dataset.program") == "stopped")
    said = browser.evaluate("document.getElementById('status').innerText")
    if words not in said or not browser.evaluate(
            "document.getElementById('status').offsetHeight > 0"):
        raise Failure(f"{url} says {said!r}, not {words!r}")


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
    browser = Browser("about:blank", os.path.join(tmp, "downloads"),
                      os.path.join(tmp, "profile-nowasm"), flags=["--js-flags=--jitless"])
    try:
        page_says(browser, url, "runs on WebAssembly, which this browser lacks")
    finally:
        browser.close()


def run(args, tmp, site, server, opened):
    """Everything checked in one engine; returns the browser and what was checked."""
    downloads = os.path.join(tmp, "downloads")
    os.makedirs(downloads)
    webgl = not args.no_webgl
    browser = drivers.start(args.engine, f"{server.url}index.html", downloads, tmp, webgl)
    opened(browser)
    checked = []
    print(f"web: {browser.name} {browser.version}, WebGL {'on' if webgl else 'off'}",
          flush=True)
    check_webgl(browser, webgl)
    page = Page(browser, downloads)
    new = picture(page, matrix_box()), picture(page, STATUS_BOX[FUTURE])
    title_face(browser)
    checked.append("the titles' face")
    if args.engine == "chromium":
        compressed_copies(browser, args.folder)
        checked.append("the compressed copies")
    saved = worked_example(page, args.keep)
    checked.append("the worked example's StudyProposal.txt")
    row_colours(page)
    checked.append("the row colours")
    keep_picture(browser, args.keep, "web.png")
    study = os.path.join(tmp, "StudyProposal.txt")
    with open(study, "wb") as f:
        f.write(saved)
    for kind in EXPORTS:
        exported_document(page, args.program, study, tmp, kind)
        checked.append(f"the .{kind}")
    golden = os.path.join(run_e2e.DATA, "horizon_edited.txt")
    other = os.path.join(site, "other.txt")
    with open(golden, "rb") as f:
        data = f.read().replace(b"{{DATE}}", browser_date(datetime.date.today()).encode())
    with open(other, "wb") as f:
        f.write(data)
    open_study(page, other, "horizon_edited.txt")
    checked.append("Open Study")
    study_from_address(browser, downloads, server.url, other)
    checked.append("a study from the address")
    kept_across_reloads(browser, downloads, f"{server.url}index.html", new)
    checked.append("the study kept across reloads, New Study, a damaged stored study")
    if args.engine == "chromium" and webgl:
        without_parts(browser, args.folder, site, server.url)
        without_webassembly(f"{server.url}index.html", tmp)
        checked.append("the page's messages where the program cannot start")
    check_policy(browser)
    return browser, checked


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--engine", choices=drivers.ENGINES, default="chromium")
    parser.add_argument("--no-webgl", action="store_true")
    parser.add_argument("--keep")
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.folder, "index.html")):
        print(f"FAIL set-up: {args.folder} holds no index.html; build it with scripts/web")
        return 1
    if args.no_webgl and args.engine == "webkit":
        parser.error("WebKit is run with its WebGL only")
    run_e2e.short_date = browser_date
    started = time.monotonic()

    def checks(tmp, opened):
        site = page_site(args.folder, tmp)  # with room for a study file beside the page
        with Server(site) as server:
            browser, checked = run(args, tmp, site, server, opened)
        return (f"web: the program in {browser.name} {browser.version}"
                f"{'' if not args.no_webgl else ' without WebGL'} saved, exported and opened "
                f"as the Linux program does ({', '.join(checked)}) in "
                f"{time.monotonic() - started:.0f} s")

    return checked_run(checks, "sp-web-")


if __name__ == "__main__":
    sys.exit(main())
