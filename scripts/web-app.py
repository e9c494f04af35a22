#!/usr/bin/env python3
"""Makes the page's folder an app that browsers install and start without a network: puts in
the manifest and the icons it names, then the service worker (assets/web/service-worker.js)
with the names of the page's files and a hash of them. A rebuilt page so has a worker of
other bytes, by which browsers learn of the new build.

    web-app.py FOLDER

scripts/web runs it once every other file of the page is in FOLDER; run it again after
changing one.
"""

import hashlib
import json
import os
import shutil
import sys

ASSETS = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "assets")
MANIFEST = "manifest.webmanifest"
WORKER = "service-worker.js"


def page_files(folder):
    """What the page loads: the files beside index.html; not the licences' folder, not the
    worker, nor the compressed copies a server hands out for the originals."""
    return sorted(name for name in os.listdir(folder)
                  if os.path.isfile(os.path.join(folder, name)) and not name.startswith(".")
                  and name != WORKER and not name.endswith((".br", ".gz")))


def build_hash(folder, names):
    digest = hashlib.sha256()
    for name in names:
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        digest.update(f"{name}\0{len(data)}\0".encode())
        digest.update(data)
    return digest.hexdigest()[:16]


def main():
    if len(sys.argv) != 2 or not os.path.isfile(os.path.join(sys.argv[1], "index.html")):
        sys.exit("usage: web-app.py FOLDER   (the page's folder, with its index.html)")
    folder = sys.argv[1]
    with open(os.path.join(ASSETS, "web", MANIFEST), encoding="utf-8") as f:
        icons = [icon["src"] for icon in json.load(f)["icons"]]
    shutil.copyfile(os.path.join(ASSETS, "web", MANIFEST), os.path.join(folder, MANIFEST))
    for icon in icons:
        shutil.copyfile(os.path.join(ASSETS, icon), os.path.join(folder, icon))
    names = page_files(folder)
    with open(os.path.join(ASSETS, "web", WORKER), encoding="utf-8") as f:
        worker = f.read()
    filled = (worker.replace("'SP_BUILD_HASH'", json.dumps(build_hash(folder, names)))
              .replace("['SP_BUILD_FILES']", json.dumps(names)))
    if filled.count("SP_BUILD_") or filled == worker:
        sys.exit(f"web-app.py: {WORKER} has not the places for the build's hash and files")
    with open(os.path.join(folder, WORKER), "w", encoding="utf-8", newline="\n") as f:
        f.write(filled)


if __name__ == "__main__":
    main()
