#!/usr/bin/python3
"""The program in a browser by touch: the web folder served on localhost and driven in
Debian's Chromium, headless, playing a 1024 x 768 tablet through the DevTools protocol, with
taps of a finger. The desktop's worked example is tapped (each middle press as the left press
it equals, the right press that switches as "Go to Future"), the cells' captions, the
black cues and the status line are read off screenshots, and the save downloads the desktop's
golden file. After every tap the element the page has focused must not raise an on-screen
keyboard; after a tap on the time horizon it must, and what is typed there is saved. A tap on
"Probable future until" shows Impacts.

    run_touch.py --folder build-web/study-proposal-VERSION-web
"""

import argparse
import datetime
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", ".."), os.path.join(HERE, "..", "e2e"), HERE]

import run_e2e  # noqa: E402
from harness import Failure  # noqa: E402
from harness.browser import Browser, Server, checked_run, wait_for  # noqa: E402
from harness.program import (CUE, FUTURE, GO_TO_FUTURE, GO_TO_IMPACTS, HORIZON,  # noqa: E402
                             IMPACTS, MARKED, MASS, PROBABLE_FUTURE, SAVE, STATUS_BOX,
                             TITLE_BOX, Program, cell_centre)
from harness.xsession import BACKGROUND, Checked, Detail, count_colour  # noqa: E402
from run_e2e import compare_document  # noqa: E402
from run_web import WORKED_EXAMPLE, Page, browser_date, keep_picture  # noqa: E402

TABLET = (1024, 768)

# The element that has the keys, looked for through shadow roots, and whether a phone or
# tablet would raise its keyboard for it: a text input, a text area or an editable element,
# unless read-only or marked inputmode="none".
FOCUSED = """(() => {
    let element = document.activeElement;
    while (element && element.shadowRoot && element.shadowRoot.activeElement)
        element = element.shadowRoot.activeElement;
    if (!element)
        return null;
    const untyped = ['button', 'checkbox', 'color', 'file', 'hidden', 'image', 'radio', 'range',
                     'reset', 'submit'];
    const typed = element.tagName === 'TEXTAREA' || element.isContentEditable ||
        (element.tagName === 'INPUT' && !untyped.includes(element.type));
    return {tag: element.tagName.toLowerCase(), inputMode: element.inputMode || '',
            keyboard: typed && !element.readOnly && element.inputMode !== 'none'};
})()"""


class TouchPage(Page):
    """The program in the page, pressed with a finger; every press is a tap."""

    def press(self, point, button="left"):
        if button != "left":
            raise Failure(f"a finger has no {button} button")
        self.browser.tap(self.left + point[0], self.top + point[1])

    def focused(self):
        return self.browser.evaluate(FOCUSED)

    def tap(self, point, what, keyboard=False):
        """A tap, then the on-screen keyboard as it should be for what was tapped."""
        self.press(point)
        element = self.focused()
        if bool(element and element["keyboard"]) != keyboard:
            raise Failure(f"after a tap on {what} the page focuses {element}, which "
                          f"{'raises no' if keyboard else 'raises an on-screen'} keyboard")

    def tap_cells(self, presses):
        """The desktop's presses by touch: a middle press steps a cell as a left one does."""
        for aspect, index, _ in presses:
            self.tap(cell_centre(aspect, index), f"the cell of row {aspect} at {index}")


class Front:
    """The window in front of the page, addressed as harness.program addresses a window."""

    def __init__(self, page, name):
        self.page, self.name = page, name

    def pixel(self, shot, x, y):
        return shot.pixel(self.page.left + x, self.page.top + y)

    def region(self, shot, x, y, w, h):
        left = (self.page.left + x) * 3
        return b"".join(shot.row(self.page.top + y + i)[left:left + 3 * w] for i in range(h))


def expect_front(page, name):
    """The window named in front: its title, grey "Probable future until" or blue "Object",
    as harness.program tells them apart."""
    def seen():
        page.left, page.top = page.client_corner() or (page.left, page.top)
        title = Front(page, name).region(page.browser.shot(), *TITLE_BOX)
        blue = count_colour(title, (0, 0, 192))
        grey = count_colour(title, (128, 128, 128))
        front = IMPACTS if blue >= 40 else FUTURE if blue == 0 and grey >= 100 else None
        return front == name

    wait_for(f"{name!r} in front", seen)
    return Front(page, name)


def expect_matrix(page, window, expected):
    """Every cell of the window in front as `expected` says, captions and cues included."""
    def look():
        return Program.matrix_look(None, window, page.browser.shot(), expected)

    try:
        wait_for(f"the matrix of {window.name!r}", look, timeout=10)
    except Failure:
        raise Failure(look())


def expect_status(page, window, empty):
    box = STATUS_BOX[window.name]

    def look():
        region = window.region(page.browser.shot(), *box)
        blank = region == bytes(BACKGROUND) * (box[2] * box[3])
        return Checked(len(region)) if blank == empty else Detail(
            f"the status line of {window.name!r} is {'not ' if empty else ''}empty")

    wait_for(f"the status line of {window.name!r}", look, timeout=10)


def worked_example(page):
    """The worked example by taps on both windows, switched by their Go-to buttons; what the
    screen shows on the way, and the saved file, are the desktop's."""
    future_presses, impacts_presses, again = WORKED_EXAMPLE
    future = expect_front(page, FUTURE)
    expect_status(page, future, empty=True)
    page.tap_cells(future_presses)
    trends = {(3, 7): MARKED, (3, 8): MARKED, (3, 12): MARKED}
    expect_matrix(page, future, trends)
    expect_status(page, future, empty=False)

    page.tap(GO_TO_IMPACTS, '"Go to Impacts"')
    impacts = expect_front(page, IMPACTS)
    page.tap_cells(impacts_presses)
    expect_matrix(page, impacts, {(MASS, 7): MARKED, (MASS, 12): MARKED, (3, 8): MARKED,
                                  (3, 9): MARKED, (5, 7): MARKED})
    expect_status(page, impacts, empty=False)

    page.tap(GO_TO_FUTURE, '"Go to Future"')
    future = expect_front(page, FUTURE)
    cues = {(MASS, 7): CUE, (MASS, 12): CUE, (3, 9): CUE, (5, 7): CUE}
    expect_matrix(page, future, {**trends, **cues})
    page.tap_cells(again)
    del cues[(5, 7)]
    expect_matrix(page, future, {**trends, **cues})

    first_day = datetime.date.today()
    data = page.download("StudyProposal.txt", lambda: page.tap(SAVE, "the save button"))
    compare_document(data, "worked_example.txt", {first_day, datetime.date.today()})


def typed_horizon(page):
    """A tap on the time horizon raises the keyboard; what it types is saved; the next tap on
    a cell drops it again (three taps leave the cell as it was)."""
    page.tap(HORIZON, "the time horizon", keyboard=True)
    for key, code, virtual in (("End", "End", 35),) + (("Backspace", "Backspace", 8),) * 4:
        for kind in ("keyDown", "keyUp"):
            page.browser.call("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                              windowsVirtualKeyCode=virtual)
    page.browser.call("Input.insertText", text="2045")
    page.tap_cells([(1, 0, 1)] * 3)
    data = page.download("StudyProposal.txt", lambda: page.tap(SAVE, "the save button"))
    if b"blue print for 2045 on" not in data:
        raise Failure("the horizon typed on the page's keyboard is not the one saved")


def title_switch(page):
    """A tap on "Probable future until" shows Impacts, as a click does."""
    page.tap(PROBABLE_FUTURE, '"Probable future until"')
    expect_front(page, IMPACTS)
    page.tap(GO_TO_FUTURE, '"Go to Future"')
    expect_front(page, FUTURE)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--keep", help="leave there a picture of the page at the end")
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.folder, "index.html")):
        print(f"FAIL set-up: {args.folder} holds no index.html; build it with scripts/web")
        return 1
    run_e2e.short_date = browser_date

    def checks(tmp, opened):
        with Server(args.folder) as server:
            downloads = os.path.join(tmp, "downloads")
            os.makedirs(downloads)
            browser = Browser(f"{server.url}index.html", downloads, os.path.join(tmp, "profile"),
                              touch=TABLET)
            opened(browser)
            if not browser.evaluate("navigator.maxTouchPoints > 0 && "
                                    "matchMedia('(pointer: coarse)').matches"):
                raise Failure("the browser does not present a touch screen")
            page = TouchPage(browser, downloads)
            worked_example(page)
            typed_horizon(page)
            title_switch(page)
            keep_picture(browser, args.keep, "web-touch.png")
        return ("web touch: taps marked, switched and saved as the mouse does, with the "
                "on-screen keyboard for the time horizon only")

    return checked_run(checks, "sp-touch-")


if __name__ == "__main__":
    sys.exit(main())
