"""The program's two windows as a user meets them on the screen: where their controls are,
how their cells and status lines look, and one run of the program driven through them by
mouse and keyboard in an X session (xsession).
"""

import os
import tempfile
import time

from harness import Failure
from harness.xsession import BACKGROUND, BLACK, Checked, Detail, Window, count_colour, wait_for

FUTURE = "Future"
IMPACTS = "Object and impact"
PROPOSAL = "StudyProposal.txt"

ROW_COLOURS = {1: (211, 0, 0), 2: (255, 139, 0), 3: (244, 202, 0),
               4: (230, 247, 23), 5: (154, 196, 45), 6: (3, 102, 192)}
MASS = 6
CLIENT_SIZE = (762, 568)  # of either window, below its menu bar

# Client-area pixel positions of the controls, the same on both windows unless named.
GO_TO_IMPACTS = (25 + 60, 458 + 12)        # Future, "Go to Impacts"
SAVE = (24 + 60, 488 + 32)                 # Future, the save button
PROBABLE_FUTURE = (24 + 150, 5 + 20)       # Future, "Probable future until", between the letters
HORIZON = (24 + 64, 42 + 31)               # Future, the time horizon
HORIZON_BOX = (24, 42, 129, 62)
GO_TO_FUTURE = (28 + 59, 458 + 12)         # Impacts, "Go to Future"
STATUS_BOX = {FUTURE: (155, 489, 580, 57), IMPACTS: (155, 489, 579, 57)}  # the status lines
TITLE_BOX = (24, 5, 326, 44)               # the title of either window


def cell_origin(aspect, index):
    return 157 + 24 * index, 313 + 24 * (aspect - 1)


def cell_centre(aspect, index):
    x, y = cell_origin(aspect, index)
    return x + 12, y + 12


def row_reset(index):
    return 685 + 24, 313 + 24 * index + 12


def column_button(index):
    return 157 + 24 * index + 12, 457 + 12


RESET_ALL = (685 + 24, 457 + 12)

# How a cell should look: its fill (None: the row colour) and whether it shows a caption.
PLAIN = (None, False)
MARKED = (None, True)
CUE = (BLACK, False)


class Program:
    """One run of the program in a fresh working directory, or with a study file whose
    folder is where it saves (then `matrix` is what Future shows at the start)."""

    def __init__(self, session, study=None, matrix=None):
        self.session = session
        self.workdir = tempfile.mkdtemp(prefix="work-", dir=session.tmp)
        folder = os.path.dirname(study) if study else self.workdir
        self.proposal = os.path.join(folder, PROPOSAL)
        self.app = session.start_app(self.workdir, [study] if study else [])
        self.future = self.front(FUTURE, timeout=60)  # a sanitizer build starts slowly
        self.expect_matrix(self.future, matrix or {})
        self.expect_status(self.future, empty=True)

    # -- windows -----------------------------------------------------------------------

    def alive(self):
        if self.app.poll() is not None:
            raise Failure(f"the program ended (exit code {self.app.returncode})")

    def front(self, name, timeout=20):
        """Waits until the window is visible, active and seen in front, and returns it."""
        found = []

        def in_front():
            self.alive()
            ids = self.session.window_ids(name)
            if len(ids) != 1:
                return Detail(f"{len(ids)} visible windows named {name!r}")
            active = self.session.active_name()
            if active != name:
                return Detail(f"the active window is {active!r}")
            try:
                window = Window(self.session, ids[0], name)  # where the window manager put it
            except Failure as failure:
                return Detail(str(failure))
            if window.client_size != CLIENT_SIZE:
                return Detail(f"the client area is {window.client_size[0]}x"
                              f"{window.client_size[1]}")
            title = window.region(self.session.shot(), *TITLE_BOX)
            blue = count_colour(title, (0, 0, 192))    # "Object" of Impacts
            grey = count_colour(title, (128, 128, 128))  # "Probable future until"
            seen = IMPACTS if blue >= 40 else FUTURE if blue == 0 and grey >= 100 else None
            if seen != name:
                return Detail(f"the title area shows {seen!r} ({blue} blue, {grey} grey pixels)")
            found[:] = [window]
            return Checked(TITLE_BOX[2] * TITLE_BOX[3])

        wait_for(f"{name!r} in front", in_front, timeout)
        return found[0]

    def switch(self, window, point, button, to):
        window.press(*point, button=button)
        return self.front(to)

    # -- what the screen shows -----------------------------------------------------------

    def matrix_look(self, window, shot, expected):
        """Every cell of the window against `expected` ({(aspect, index): (fill, caption)});
        unnamed cells in their row colour without caption. Looks at the inside of each cell,
        within its raised edge and focus frame, centre included."""
        checked = 0
        for aspect in range(1, 7):
            for index in range(22):
                fill, caption = expected.get((aspect, index), PLAIN)
                fill = fill or ROW_COLOURS[aspect]
                x, y = cell_origin(aspect, index)
                inside = window.region(shot, x + 4, y + 4, 17, 17)
                checked += 17 * 17
                centre = window.pixel(shot, x + 12, y + 12)
                if caption:
                    dark = sum(1 for i in range(0, len(inside), 3) if max(inside[i:i + 3]) <= 80)
                    ok = inside[:3] == bytes(fill) and dark >= 2
                else:
                    ok = inside == bytes(fill) * (17 * 17)
                if not ok:
                    return Detail(f"{window.name}: cell of row {aspect} at position {index} should "
                                  f"be {fill} {'with' if caption else 'without'} a caption; "
                                  f"corner {tuple(inside[:3])}, centre {centre}")
        return Checked(checked)

    def expect_matrix(self, window, expected):
        wait_for(f"the matrix of {window.name!r}",
                 lambda: self.matrix_look(window, self.session.shot(), expected))

    def status(self, window, shot):
        return window.region(shot, *STATUS_BOX[window.name])

    def expect_status(self, window, empty=None, equal=None):
        box = STATUS_BOX[window.name]

        def look():
            region = self.status(window, self.session.shot())
            blank = region == bytes(BACKGROUND) * (box[2] * box[3])
            if empty is not None and blank != empty:
                return Detail("the status line is " + ("empty" if blank else "not empty"))
            if equal is not None and region != equal:
                return Detail("the status line shows something else")
            return Checked(box[2] * box[3])

        wait_for(f"the status line of {window.name!r}", look)
        return self.status(window, self.session.last_shot)

    def region(self, window, box):
        return window.region(self.session.shot(), *box)

    # -- the time horizon ------------------------------------------------------------------

    def type_horizon(self, text):
        before = self.region(self.future, HORIZON_BOX)
        self.future.press(*HORIZON)
        self.session.key("ctrl+a", "BackSpace")
        self.session.type_text(text)
        wait_for("the typed horizon",
                 lambda: self.region(self.future, HORIZON_BOX) != before or Detail("unchanged"))

    # -- ending ----------------------------------------------------------------------------

    def close(self, window):
        self.session.close_window(window)
        self.session.wait_gone(window.name)

    def still_running(self, grace=1.0):
        """After a window has gone, the program must not end on its own: watch it a moment."""
        deadline = time.monotonic() + grace
        while time.monotonic() < deadline:
            self.alive()
            time.sleep(0.1)

    def expect_exit(self):
        code = self.session.wait_app_exit()
        output = self.session.app_log()
        if output.strip():
            print("program output:\n" + output.rstrip(), flush=True)
        if code != 0:
            raise Failure(f"the program ended with exit code {code}")
        for sign in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                     "Internal error:"):
            if sign in output:
                raise Failure(f"the program reported {sign!r}")


def press_cells(window, presses):
    """Presses in order: (aspect, index, button) with 1 left, 2 middle."""
    for aspect, index, button in presses:
        window.press(*cell_centre(aspect, index), button=button)
