#!/usr/bin/python3
"""What a screen reader gets from the program in a browser: the web folder served on
localhost in Debian's Chromium, headless, and the page's accessibility tree as Chromium
hands it to a screen reader, read through the DevTools protocol. Qt's page keeps its
accessibility off until the user activates its "Enable Screen Reader" button, which only a
screen reader finds, and the page tells of it. Activated as a screen reader does, the
windows' controls must be read with the texts they show: the buttons, the row captions, the
time horizon's field, the status line after a press and the cells with their captions, each
cell with its row and scale as its description, and Impacts' controls once the screen reader
has activated "Go to Impacts". What is shown but not read is printed as notes.

    run_accessibility.py --folder build-web/study-proposal-VERSION-web [--tree FILE]

--tree FILE writes there the tree as read at the end, one node a line.
"""

import argparse
import os
import re
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", ".."), os.path.join(HERE, "..", "e2e"), HERE]

from harness import Failure  # noqa: E402
from harness.browser import Browser, Server, checked_run, wait_for  # noqa: E402
from harness.program import cell_centre  # noqa: E402
from run_web import Page  # noqa: E402

ENABLE = "Enable Screen Reader"


class Node:
    """A node of Chromium's accessibility tree, as a screen reader meets it."""

    def __init__(self, raw):
        def text(field):
            return str(raw.get(field, {}).get("value", "") or "").strip()

        self.role, self.name = text("role"), text("name")
        self.value, self.description = text("value"), text("description")
        self.dom = raw.get("backendDOMNodeId")
        self.readonly = any(p["name"] == "readonly" and p["value"].get("value")
                            for p in raw.get("properties", []))

    def __repr__(self):
        said = [self.role, repr(self.name)]
        said += [f"value {self.value!r}"] if self.value else []
        said += [f"description {self.description!r}"] if self.description else []
        said += ["read-only"] if self.readonly else []
        return " ".join(said)


def tree(browser):
    """The nodes a screen reader reads, without the words of each line of text."""
    nodes = [Node(raw) for raw in browser.ax_nodes() if not raw.get("ignored")]
    return [node for node in nodes if node.role != "InlineTextBox"]


def find(nodes, role, name=None, value=None):
    return [n for n in nodes if n.role == role and (name is None or n.name == name)
            and (value is None or n.value == value)]


def read(browser, what, condition, timeout=20):
    """Waits until the tree holds what `condition` finds in it, and returns that."""
    last = []

    def look():
        last[:] = tree(browser)
        return condition(last)

    try:
        return wait_for(what, look, timeout)
    except Failure:
        raise Failure(f"the accessibility tree lacks {what}; it reads:\n  " +
                      "\n  ".join(map(repr, last)))


def activate(browser, name):
    """A button activated where a screen reader finds it, as it activates one."""
    button = read(browser, f"a button {name!r}", lambda nodes: find(nodes, "button", name))[0]
    target = browser.call("DOM.resolveNode", backendNodeId=button.dom)["object"]["objectId"]
    browser.call("Runtime.callFunctionOn", objectId=target,
                 functionDeclaration="function() { this.click(); }")


# A cell's description: its row and its scale.
CELL = re.compile(r"(Administration|Culture|Economy|Technique|Ecology|Mass\|space\|time) at "
                  r"[A-Za-z]+\([<0-9]+k?m*\)")


def horizon(browser, nodes):
    """The node of the time horizon's field: Qt's element for it carries its object's name."""
    for node in find(nodes, "textbox"):
        if node.readonly or node.dom is None:
            continue
        attributes = browser.call("DOM.describeNode", backendNodeId=node.dom)["node"]
        attributes = attributes.get("attributes", [])
        named = dict(zip(attributes[::2], attributes[1::2]))
        if named.get("id", "").endswith("horizonEdit"):
            return node
    return None


def future_read(browser, page):
    """Future's controls with the texts they show; a press's caption and status read back."""
    def controls(nodes):
        found = (find(nodes, "button", "Go to Impacts") and find(nodes, "button", "reset")
                 and [n for n in nodes if n.name == "Administration"
                      or n.value == "Administration"]
                 and [n for n in nodes if "Probable future until" in (n.name, n.value)])
        return found and nodes

    nodes = read(browser, "Future's buttons and labels", controls)
    if not [n for n in find(nodes, "button", "reset") if n.description == "Clear the whole matrix"]:
        raise Failure("no reset button is described as clearing the whole matrix")
    cells = [n for n in find(nodes, "button") if CELL.fullmatch(n.description)]
    if len(cells) != 6 * 22:
        raise Failure(f"{len(cells)} buttons are described as a cell of a row at a scale, "
                      f"not Future's {6 * 22}")
    if not horizon(browser, nodes):
        raise Failure("the time horizon's field is not read as a text field")

    status = "Town(3km) economy will be growing (+)"
    page.press(cell_centre(3, 7))
    read(browser, f"the status line reading {status!r} and the cell's caption",
         lambda nodes: [n for n in nodes if status in (n.name, n.value)]
         and [n for n in find(nodes, "button", "+") if n.description == "Economy at Town(3km)"])


def impacts_read(browser):
    """"Go to Impacts" activated by the screen reader shows Impacts, whose controls are read."""
    activate(browser, "Go to Impacts")
    read(browser, "Impacts' buttons once it is shown",
         lambda nodes: find(nodes, "button", "Go to Future") and find(nodes, "button", "reset")
         and [n for n in nodes if "Locate frame (O) and grain (o)" in n.value])


def gaps(browser, nodes):
    """What a screen reader does not get, though the screen shows it."""
    missing = []
    field = horizon(browser, nodes)
    if field.value != "2030":
        missing.append(f"the time horizon's field is read with the value {field.value!r}, "
                       f"not its text 2030")
    if field.name != "Time horizon":
        missing.append(f"the time horizon's field is read with the name {field.name!r}, "
                       f"not its accessible name 'Time horizon'")
    labels = [n for n in find(nodes, "textbox") if n.readonly]
    if labels:
        missing.append(f"{len(labels)} labels are read as read-only text boxes without names "
                       f"(their text is their value)")
    unnamed = [n for n in find(nodes, "textbox", "") if not n.readonly and n is not field]
    if unnamed:
        missing.append(f"{len(unnamed)} editable text box without name or text, outside the "
                       f"windows (Qt's input that takes the keys)")
    return missing


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--tree")
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.folder, "index.html")):
        print(f"FAIL set-up: {args.folder} holds no index.html; build it with scripts/web")
        return 1

    def checks(tmp, opened):
        with Server(args.folder) as server:
            downloads = os.path.join(tmp, "downloads")
            os.makedirs(downloads)
            browser = Browser(f"{server.url}index.html", downloads, os.path.join(tmp, "profile"))
            opened(browser)
            page = Page(browser, downloads)
            read(browser, "the page's word on how to have the windows read",
                 lambda nodes: [n for n in nodes if ENABLE in n.name and n.name != ENABLE])
            before = tree(browser)
            if find(before, "button", "Go to Impacts"):
                raise Failure("the windows are read before the screen reader is turned on")
            activate(browser, ENABLE)
            future_read(browser, page)
            impacts_read(browser)
            nodes = tree(browser)
            if args.tree:
                with open(args.tree, "w", encoding="utf-8") as f:
                    f.write("".join(f"{node!r}\n" for node in nodes))
            for gap in gaps(browser, nodes):
                print(f"note: {gap}")
        return ("web accessibility: with Qt's screen reader support turned on, both windows' "
                "controls are read with the texts they show")

    return checked_run(checks, "sp-ax-")


if __name__ == "__main__":
    sys.exit(main())
