#!/usr/bin/env python3
"""The program's folders are layers: each includes only the folders below it, and no two
units (a header with its source file) include each other, directly or round a cycle.

    check_layers.py --source DIR

Prints every include that breaks this and exits 1; exits 0 when there is none."""

import argparse
import pathlib
import re
import sys

# What each folder may include besides itself; everything else runs upward or sideways.
# core/ holds appinfo.h.in, which the build turns into appinfo.h.
ALLOWED = {
    "core": set(),
    "assets": set(),
    "rules": {"core"},
    "widgets": {"core", "assets"},
    "future": {"core", "assets", "rules", "widgets"},
    "impacts": {"core", "assets", "rules", "widgets"},
    "proposal": {"core", "assets", "rules"},
    "app": {"core", "assets", "rules", "widgets", "future", "impacts", "proposal"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
GENERATED = {"appinfo.h": "core"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True, type=pathlib.Path)
    root = parser.parse_args().source

    files = [path for folder in ALLOWED for path in sorted((root / folder).glob("*"))
             if path.suffix in (".h", ".cpp", ".inc")]
    where = dict(GENERATED)
    for path in files:
        if path.name in where and where[path.name] != path.parent.name:
            print(f"{path.name} stands in two folders, {where[path.name]} and {path.parent.name}")
            return 1
        where[path.name] = path.parent.name

    problems = []
    units = {}  # "folder/stem" -> the units it includes
    for path in files:
        folder = path.parent.name
        unit = f"{folder}/{path.stem}"
        units.setdefault(unit, set())
        for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target = where.get(name)
            if target is None:
                continue  # the build's own, such as a moc file
            if target != folder and target not in ALLOWED[folder]:
                problems.append(f"{path.relative_to(root)} includes {target}/{name}: "
                                f"{folder}/ may include only {sorted(ALLOWED[folder]) or 'itself'}")
            other = f"{target}/{pathlib.Path(name).stem}"
            if other != unit:
                units[unit].add(other)

    # Cycles between units, a header and its source file counting as one.
    state = {}

    def visit(unit, trail):
        state[unit] = "open"
        for other in sorted(units.get(unit, ())):
            if state.get(other) == "open":
                cycle = trail[trail.index(other):] + [other]
                problems.append("units include each other: " + " -> ".join(cycle))
            elif other not in state:
                visit(other, trail + [other])
        state[unit] = "done"

    for unit in sorted(units):
        if unit not in state:
            visit(unit, [unit])

    for problem in problems:
        print(problem)
    print(f"{len(files)} files in {len(ALLOWED)} folders, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
