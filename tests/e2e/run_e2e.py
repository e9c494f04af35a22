#!/usr/bin/python3
"""End-to-end scenarios: the real study-proposal program in a real X server, driven by mouse
and keyboard like a student, checked on the screen and in the saved StudyProposal.txt.

    run_e2e.py --binary build/study-proposal [--scenario NAME ...]
"""

import datetime
import os
import re
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

from harness import Failure, program  # noqa: E402
from harness.program import (CLIENT_SIZE, CUE, FUTURE, GO_TO_FUTURE, GO_TO_IMPACTS,  # noqa: E402
                             HORIZON_BOX, IMPACTS, MARKED, MASS, PROBABLE_FUTURE, PROPOSAL,
                             RESET_ALL, SAVE, cell_centre, column_button, press_cells, row_reset)
from harness.xsession import TALLY, Checked, Detail, main, wait_for  # noqa: E402

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")
OPEN_DIALOG = "Open Study"  # the file dialog of File > Open Study...
QUESTION = "Study proposal"  # the question before unsaved marks are replaced
NON_LATIN_HORIZON = "\u0413\u043e\u04342050"  # "year" in Cyrillic letters, then 2050


def short_date(day):
    """The date as the program's locale (C) writes it in its short format, e.g. 8 Dec 2026."""
    months = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()
    return f"{day.day} {months[day.month - 1]} {day.year}"


class Program(program.Program):
    """A run of the program whose saves are checked: against the golden documents, and a
    refused save against the file it must leave alone."""

    refusal = None  # how the refusal looks in the status line, once seen

    def file_state(self):
        try:
            st = os.stat(self.proposal)
        except FileNotFoundError:
            return None
        with open(self.proposal, "rb") as f:
            return st.st_ino, st.st_mtime_ns, f.read()

    def save(self, golden):
        """Clicks the save button and compares the new file with the golden document."""
        before = self.file_state()
        first_day = datetime.date.today()
        self.future.press(*SAVE)

        def written():
            self.alive()
            now = self.file_state()
            return now if now and now != before else Detail("no new file")

        state = wait_for(f"{PROPOSAL} to be written", written)
        compare_document(state[2], golden, {first_day, datetime.date.today()})
        return state

    def refused_save(self):
        """Clicks the save button while frame or grain is missing: the status line shows the
        refusal (the same look every time), and the file is neither created nor touched."""
        before = self.file_state()
        self.future.press(*SAVE)
        if self.refusal is None:
            self.refusal = self.expect_status(self.future, empty=False)
        else:
            self.expect_status(self.future, equal=self.refusal)
        after = self.file_state()
        if after != before:
            raise Failure(f"a refused save changed {PROPOSAL}: " +
                          ("created it" if before is None else "it was rewritten"))
        if after is not None:
            TALLY.bytes += len(after[2])


def compare_document(data, golden, days):
    """Byte for byte against a golden file (a name in DATA, or its bytes); only the date of
    the title line is put in."""
    if isinstance(golden, bytes):
        expected, golden = golden, "the study opened"
    else:
        with open(os.path.join(DATA, golden), "rb") as f:
            expected = f.read()
    title = re.compile(rb"^<author's last name, first name or initials and prefix>\(([^()\r\n]*)\)"
                       rb"<TITLE> \(Vennmark\) HSO Faculty of Architecture\r$", re.M)
    found = title.search(data)
    if not found:
        raise Failure(f"{PROPOSAL} has no title line of the expected form")
    date = found.group(1).decode("ascii", "replace")
    if date not in {short_date(day) for day in days}:
        raise Failure(f"the title line holds the date {date!r}, not today's "
                      f"{sorted(short_date(day) for day in days)}")
    expected = expected.replace(b"{{DATE}}", found.group(1), 1)
    TALLY.bytes += len(expected)
    if data == expected:
        return
    got_lines, want_lines = data.split(b"\r\n"), expected.split(b"\r\n")
    for number, (got, want) in enumerate(zip(got_lines, want_lines), 1):
        if got != want:
            raise Failure(f"{PROPOSAL} differs from {golden} at line {number}:\n"
                          f"  expected {want!r}\n  got      {got!r}")
    raise Failure(f"{PROPOSAL} has {len(got_lines)} lines, {golden} {len(want_lines)} "
                  f"(each line ends with CR LF; {len(data)} against {len(expected)} bytes)")

# -- scenarios -----------------------------------------------------------------------------

def keyword_index(session):
    """The worked example of the key-word index, built by clicks; the black cue; switching."""
    p = Program(session)
    future = p.future
    # Economy: Town(3km) growing, District(1km) declining (middle button), Building(10m) growing.
    press_cells(future, [(3, 7, 1), (3, 8, 2), (3, 8, 2), (3, 12, 1)])
    trends = {(3, 7): MARKED, (3, 8): MARKED, (3, 12): MARKED}
    p.expect_matrix(future, trends)
    p.expect_status(future, empty=False)

    impacts = p.switch(future, GO_TO_IMPACTS, 1, IMPACTS)
    p.expect_matrix(impacts, {})
    p.expect_status(impacts, empty=True)  # nothing pressed there yet: no impact reading
    # Frame at Town(3km), grain at Building(10m); economy P at District(1km), I at
    # Neighbourhood(300m); ecology P at Town(3km).
    press_cells(impacts, [(MASS, 7, 1), (MASS, 12, 1), (3, 8, 1), (3, 8, 2), (3, 9, 1),
                          (5, 7, 1), (5, 7, 1)])
    p.expect_matrix(impacts, {(MASS, 7): MARKED, (MASS, 12): MARKED, (3, 8): MARKED,
                              (3, 9): MARKED, (5, 7): MARKED})
    p.expect_status(impacts, empty=False)

    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    # Black where an impact met no trend; District(1km) of economy has one and keeps its colour.
    cues = {(MASS, 7): CUE, (MASS, 12): CUE, (3, 9): CUE, (5, 7): CUE}
    p.expect_matrix(future, {**trends, **cues})
    # The next left press takes the cue away, whatever mark it steps to; two more step the
    # trend back to none.
    future.press(*cell_centre(5, 7))
    del cues[(5, 7)]
    p.expect_matrix(future, {**trends, **cues, (5, 7): MARKED})
    press_cells(future, [(5, 7, 2), (5, 7, 1)])
    p.expect_matrix(future, {**trends, **cues})

    # "Go to Impacts" now reads the last impact back into the status line of Impacts and
    # empties the one of Future; "Probable future until" shows Impacts and writes nothing.
    impacts = p.switch(future, GO_TO_IMPACTS, 1, IMPACTS)
    p.expect_status(impacts, empty=False)
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    p.expect_status(future, empty=True)
    impacts = p.switch(future, PROBABLE_FUTURE, 1, IMPACTS)
    p.expect_status(impacts, empty=True)  # the blank "Go to Future" left
    p.expect_matrix(impacts, {(MASS, 7): MARKED, (MASS, 12): MARKED, (3, 8): MARKED,
                              (3, 9): MARKED, (5, 7): MARKED})
    # A right press on a cell switches and marks nothing (the saved file proves the model).
    future = p.switch(impacts, cell_centre(1, 0), 3, FUTURE)
    impacts = p.switch(future, cell_centre(2, 2), 3, IMPACTS)
    future = p.switch(impacts, cell_centre(4, 4), 3, FUTURE)
    p.expect_matrix(future, {**trends, **cues})

    p.save("worked_example.txt")
    p.close(p.front(FUTURE))
    p.still_running()
    p.close(p.front(IMPACTS))
    p.expect_exit()


def save_refused(session):
    """Saving waits for frame and grain: refused with nothing, with a frame only and with a
    grain only, leaving an earlier file alone; resets on both windows; then a save that
    replaces the earlier file, and a refusal that leaves the new one alone."""
    p = Program(session)
    future = p.future
    # Marks made and taken back by a row reset, a column reset and the reset of everything.
    press_cells(future, [(1, 0, 1), (1, 1, 1), (1, 2, 2), (2, 3, 1), (5, 3, 2)])
    p.expect_matrix(future, {(1, 0): MARKED, (1, 1): MARKED, (1, 2): MARKED, (2, 3): MARKED,
                             (5, 3): MARKED})
    future.press(*row_reset(0))
    p.expect_matrix(future, {(2, 3): MARKED, (5, 3): MARKED})
    p.expect_status(future, empty=True)
    press_cells(future, [(4, 10, 1)])
    p.expect_status(future, empty=False)
    future.press(*column_button(3))
    p.expect_matrix(future, {(4, 10): MARKED})
    p.expect_status(future, empty=True)
    press_cells(future, [(6, 21, 1), (3, 0, 2)])
    p.expect_matrix(future, {(4, 10): MARKED, (6, 21): MARKED, (3, 0): MARKED})
    future.press(*RESET_ALL)
    p.expect_matrix(future, {})
    p.expect_status(future, empty=True)

    # Nothing marked: refused, and no file appears.
    p.refused_save()
    # An earlier file, which refusals must leave as it is.
    with open(p.proposal, "wb") as f:
        f.write(b"an earlier proposal\r\n")
    os.utime(p.proposal, ns=(1_000_000_000, 1_000_000_000))

    # A frame only. An I on economy is taken back by the row reset of Impacts, which leaves
    # its black cue in Future.
    impacts = p.switch(future, GO_TO_IMPACTS, 1, IMPACTS)
    press_cells(impacts, [(MASS, 0, 1), (3, 5, 1)])
    p.expect_matrix(impacts, {(MASS, 0): MARKED, (3, 5): MARKED})
    impacts.press(*row_reset(2))
    p.expect_matrix(impacts, {(MASS, 0): MARKED})
    p.expect_status(impacts, empty=True)
    future = p.switch(impacts, cell_centre(3, 15), 3, FUTURE)
    cues = {(MASS, 0): CUE, (3, 5): CUE}
    p.expect_matrix(future, cues)
    p.refused_save()

    # A grain only: the grain at Submaterial(<1mm), then the frame pressed away (it turns I).
    impacts = p.switch(future, cell_centre(2, 20), 3, IMPACTS)
    press_cells(impacts, [(MASS, 21, 1), (MASS, 0, 1)])
    p.expect_matrix(impacts, {(MASS, 0): MARKED, (MASS, 21): MARKED})
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    cues[(MASS, 21)] = CUE
    p.expect_matrix(future, cues)  # the right press on culture marked nothing
    p.refused_save()

    # Trends: culture traditional at Town(3km), innovative at District(1km); technique
    # combining at Buildingcomponent(300mm) (shown "X", written "x" in the table).
    press_cells(future, [(2, 7, 1), (2, 7, 1), (2, 8, 1), (4, 15, 2), (4, 15, 2)])
    trends = {(2, 7): MARKED, (2, 8): MARKED, (4, 15): MARKED}
    p.expect_matrix(future, {**cues, **trends})
    # Frame at Continental(3000km) in front of the grain, P on the I at Global(10000km),
    # P on technique where it has a trend (no cue), I on management.
    impacts = p.switch(future, PROBABLE_FUTURE, 1, IMPACTS)
    press_cells(impacts, [(MASS, 1, 1), (MASS, 0, 1), (4, 15, 1), (4, 15, 1), (1, 3, 2)])
    p.expect_matrix(impacts, {(MASS, 0): MARKED, (MASS, 1): MARKED, (MASS, 21): MARKED,
                              (4, 15): MARKED, (1, 3): MARKED})
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    cues.update({(MASS, 1): CUE, (1, 3): CUE})
    p.expect_matrix(future, {**cues, **trends})
    saved = p.save("save_after_refusals.txt")

    # The grain pressed away: refused again, the file just written stays as it is.
    impacts = p.switch(future, GO_TO_IMPACTS, 1, IMPACTS)
    press_cells(impacts, [(MASS, 21, 1)])
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    p.refused_save()
    if p.file_state() != saved:
        raise Failure(f"{PROPOSAL} changed after a refused save")

    p.close(future)
    p.still_running()
    p.close(p.front(IMPACTS))
    p.expect_exit()


def horizon_reopen(session):
    """An edited horizon is saved as typed; Future closed and shown again from Impacts comes
    back with the typed horizon, its marks and its cues; the program runs on while a
    window is visible and ends with the last one."""
    p = Program(session)
    future = p.future
    p.type_horizon("2045")
    press_cells(future, [(1, 7, 1), (MASS, 21, 2)])
    horizon_typed = p.region(future, HORIZON_BOX)  # the left press took the focus and cursor
    trends = {(1, 7): MARKED, (MASS, 21): MARKED}
    p.expect_matrix(future, trends)
    status = p.expect_status(future, empty=False)

    impacts = p.switch(future, PROBABLE_FUTURE, 1, IMPACTS)
    press_cells(impacts, [(MASS, 9, 1), (MASS, 12, 1)])  # frame and grain: a sketch
    p.expect_matrix(impacts, {(MASS, 9): MARKED, (MASS, 12): MARKED})
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    p.expect_status(future, equal=status)  # "Probable future until" left it alone
    p.expect_matrix(future, {**trends, (MASS, 9): CUE, (MASS, 12): CUE})
    p.save("horizon_edited.txt")

    p.close(future)
    p.still_running()
    impacts = p.front(IMPACTS)
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    # Built anew, it shows what it showed: the typed horizon, the trends and the cues.
    wait_for("the horizon of the reopened Future to read as typed",
             lambda: (p.region(future, HORIZON_BOX) == horizon_typed and
                      Checked(HORIZON_BOX[2] * HORIZON_BOX[3])) or Detail("it differs"))
    p.expect_matrix(future, {**trends, (MASS, 9): CUE, (MASS, 12): CUE})
    p.expect_status(future, empty=True)
    # The kept trend steps on: initiating becomes executing.
    press_cells(future, [(1, 7, 1)])
    p.expect_matrix(future, {**trends, (MASS, 9): CUE, (MASS, 12): CUE})
    p.save("horizon_reopened.txt")

    p.close(future)
    p.still_running()
    p.close(p.front(IMPACTS))
    p.expect_exit()


def impacts_closed(session):
    """A non-Latin horizon (written "?" per character) and Impacts closed before saving: the
    save reads the statement from a hidden Impacts, which never shows, and closing Future
    then ends the program."""
    p = Program(session)
    future = p.future
    p.type_horizon(NON_LATIN_HORIZON)
    press_cells(future, [(5, 4, 1), (5, 5, 1), (5, 5, 2)])
    trends = {(5, 4): MARKED, (5, 5): MARKED}
    p.expect_matrix(future, trends)

    impacts = p.switch(future, cell_centre(1, 0), 3, IMPACTS)
    # Frame at Town(3km), grain at District(1km): a very rough sketch. I on economy at
    # Ensemble(100m); P on ecology at Regional(30km), which has a trend (no cue).
    press_cells(impacts, [(MASS, 7, 1), (MASS, 8, 1), (3, 10, 1), (5, 5, 1), (5, 5, 2)])
    p.expect_matrix(impacts, {(MASS, 7): MARKED, (MASS, 8): MARKED, (3, 10): MARKED,
                              (5, 5): MARKED})
    future = p.switch(impacts, cell_centre(2, 2), 3, FUTURE)
    p.expect_matrix(future, {**trends, (MASS, 7): CUE, (MASS, 8): CUE, (3, 10): CUE})

    p.close(impacts)
    p.still_running()
    future = p.front(FUTURE)
    p.save("impacts_closed_non_latin.txt")
    # The save opened Impacts hidden to read its statement: it must not show up.
    deadline = time.monotonic() + 1.5
    while time.monotonic() < deadline:
        if session.window_ids(IMPACTS):
            raise Failure("saving showed the closed Impacts window")
        time.sleep(0.1)
    p.front(FUTURE)

    # Future is the last visible window; closing it ends the run, hidden Impacts or not.
    session.close_window(future)
    p.expect_exit()


def saved_study(session):
    """A saved study opened from another directory: Future shows its horizon, marks and cues
    and Impacts its marks; a save right away writes it back into its own folder, the same
    apart from the date."""
    folder = tempfile.mkdtemp(prefix="study-", dir=session.tmp)
    study = os.path.join(folder, PROPOSAL)
    with open(os.path.join(DATA, "worked_example.txt"), "rb") as f:
        golden = f.read().replace(b"2030", b"1999")  # the horizon, wherever it stands
    with open(study, "wb") as f:
        f.write(golden.replace(b"{{DATE}}", b"1 Jan 2020", 1))
    trends = {(3, 7): MARKED, (3, 8): MARKED, (3, 12): MARKED}
    # Black wherever an impact meets no trend, also where a press had lifted the cue before
    # the save (ecology at Town(3km)).
    cues = {(MASS, 7): CUE, (MASS, 12): CUE, (3, 9): CUE, (5, 7): CUE}
    p = Program(session, study, {**trends, **cues})
    # The horizon box shows the year of the file, drawn as typing it draws it.
    shown = p.region(p.future, HORIZON_BOX)
    p.type_horizon("2031")
    p.type_horizon("1999")
    session.key("Tab")  # the focus, and the text cursor with it, to the save button
    session.xdotool("mousemove", "0", "0")  # no hover look (Windows' style has one)
    wait_for("the horizon read from the file",
             lambda: (p.region(p.future, HORIZON_BOX) == shown and
                      Checked(HORIZON_BOX[2] * HORIZON_BOX[3])) or Detail("it differs"))
    impacts = p.switch(p.future, GO_TO_IMPACTS, 1, IMPACTS)
    p.expect_status(impacts, empty=True)  # nothing pressed in this run: no reading
    p.expect_matrix(impacts, {(MASS, 7): MARKED, (MASS, 12): MARKED, (3, 8): MARKED,
                              (3, 9): MARKED, (5, 7): MARKED})
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    p.save(golden)
    if os.listdir(p.workdir):
        raise Failure(f"saving wrote into the working directory: {os.listdir(p.workdir)}")
    p.close(future)
    p.still_running()
    p.close(p.front(IMPACTS))
    p.expect_exit()


def open_study(session):
    """Open Study... in a running program: Ctrl+O, a path typed into the file dialog, and the
    marks appear; with unsaved marks the question comes first and Discard goes on. The save
    button then writes into the opened study's folder. Ctrl+Q ends the program."""
    with open(os.path.join(DATA, "worked_example.txt"), "rb") as f:
        golden = f.read()
    studies = []
    for horizon in (b"1999", b"2077"):
        folder = tempfile.mkdtemp(prefix="study-", dir=session.tmp)
        studies.append((os.path.join(folder, PROPOSAL), golden.replace(b"2030", horizon)))
        with open(studies[-1][0], "wb") as f:
            f.write(studies[-1][1].replace(b"{{DATE}}", b"1 Jan 2020", 1))
    shown = {(3, 7): MARKED, (3, 8): MARKED, (3, 12): MARKED,
             (MASS, 7): CUE, (MASS, 12): CUE, (3, 9): CUE, (5, 7): CUE}
    p = Program(session)

    def open_by_keys(path, question=False):
        session.key("ctrl+o")
        wait_for("the file dialog", lambda: session.window_ids(OPEN_DIALOG))
        session.type_text(path)
        session.key("Return")
        if question:
            wait_for("the question", lambda: session.window_ids(QUESTION))
            session.key("alt+d")  # Discard
            session.wait_gone(QUESTION)
        session.wait_gone(OPEN_DIALOG)
        p.front(FUTURE)

    open_by_keys(studies[0][0])
    p.expect_matrix(p.future, shown)
    press_cells(p.future, [(1, 0, 1)])  # unsaved
    p.expect_matrix(p.future, {**shown, (1, 0): MARKED})
    open_by_keys(studies[1][0], question=True)
    p.expect_matrix(p.future, shown)
    p.expect_status(p.future, empty=True)
    p.proposal = studies[1][0]  # the working folder moved with the study
    p.save(studies[1][1])
    session.key("ctrl+q")
    p.expect_exit()


def lifetime(session):
    """Closing the only window ends the program."""
    p = Program(session)
    session.close_window(p.future)
    p.expect_exit()


# Desktop themes that must not change a single pixel of either window: Qt's GTK platform
# theme with GNOME's light and dark look.
DESKTOP_THEMES = {
    "light": {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita"},
    "dark": {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"},
}


def themed_run(session, theme):
    """One run under `theme` (extra environment), with trends, frame, grain, P and I, cues
    and the status line of Impacts showing. Returns the menu bars and client areas of Impacts
    and Future, each taken in front with the pointer off the windows."""
    saved = dict(session.env)
    session.env.update(theme)
    try:
        p = Program(session)
    finally:
        session.env.clear()
        session.env.update(saved)
    # Qt leaves out a theme it cannot load without a word: the test must not pass by that.
    with open(f"/proc/{p.app.pid}/maps", encoding="utf-8") as f:
        loaded = "/libqgtk3.so" in f.read()
    if loaded != bool(theme):
        raise Failure(f"the GTK platform theme is {'' if loaded else 'not '}loaded "
                      "(Debian package qt6-gtk-platformtheme)")
    future = p.future
    press_cells(future, [(1, 3, 1), (3, 7, 1), (3, 8, 2), (5, 12, 1)])
    impacts = p.switch(future, GO_TO_IMPACTS, 1, IMPACTS)
    press_cells(impacts, [(MASS, 7, 1), (MASS, 12, 1), (3, 8, 1), (3, 8, 2), (2, 4, 1)])
    p.expect_status(impacts, empty=False)
    areas = {}

    def take(window):
        session.xdotool("mousemove", "0", "0")
        areas[window.name] = (window, wait_for(f"a steady look of {window.name!r}",
                                               lambda: steady(session, window)))

    take(impacts)
    future = p.switch(impacts, GO_TO_FUTURE, 1, FUTURE)
    take(future)
    p.close(future)
    p.close(p.front(IMPACTS))
    p.expect_exit()
    return areas


def steady(session, window):
    """The menu bar and the client area once two screenshots in a row agree (no hover
    fading, no repaint under way)."""
    box = (0, -window.menu_height, CLIENT_SIZE[0], window.menu_height + CLIENT_SIZE[1])
    first = window.region(session.shot(), *box)
    second = window.region(session.shot(), *box)
    return first if first == second else Detail("still changing")


def keep_image(session, label, area):
    """Writes a window's menu bar and client area as a PPM among the failure artefacts;
    returns its path."""
    if not session.artefacts:
        return None
    os.makedirs(session.artefacts, exist_ok=True)
    path = os.path.join(session.artefacts, f"e2e-theme-{label.replace(' ', '-')}.ppm")
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (CLIENT_SIZE[0], len(area) // 3 // CLIENT_SIZE[0]) + area)
    return path


def desktop_themes(session):
    """The windows fix every colour of their layout and their menu bars: under a light and a
    dark desktop theme both windows show the very pixels of a run without a theme."""
    plain = themed_run(session, {})
    differences = []
    for name, theme in DESKTOP_THEMES.items():
        for title, (window, area) in themed_run(session, theme).items():
            reference = plain[title][1]
            differing = sum(1 for i in range(0, len(area), 3)
                            if area[i:i + 3] != reference[i:i + 3])
            differing += abs(len(area) - len(reference)) // 3  # a menu bar of another height
            TALLY.pixels += len(area) // 3
            if differing:
                kept = keep_image(session, f"{name}-{window.name}", area)
                differences.append(f"{differing} pixels of {title!r} under the {name} theme" +
                                   (f" (kept in {kept})" if kept else ""))
    if differences:
        raise Failure("the look differs from the run without a theme: " + "; ".join(differences))


SCENARIOS = {
    "keyword_index": keyword_index,
    "save_refused": save_refused,
    "horizon_reopen": horizon_reopen,
    "impacts_closed": impacts_closed,
    "lifetime": lifetime,
    "saved_study": saved_study,
    "open_study": open_study,
    "desktop_themes": desktop_themes,
}

if __name__ == "__main__":
    sys.exit(main(SCENARIOS, sys.argv[1:], extra_keys=NON_LATIN_HORIZON[:3]))
