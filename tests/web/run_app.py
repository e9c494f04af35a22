#!/usr/bin/python3
"""The page as an app, in Debian's Chromium, headless, through the DevTools protocol. The
page's folder is copied into a site (SITE/app/) beside other pages and a study, and served
on localhost:

- Chromium finds the page installable, and after one visit the service worker holds every
  file the page loaded;
- the site's other pages, outside the page's scope or inside it, and the study named in the
  page's address come from the network, never from the worker;
- with the server stopped, the page starts from its folder's address (as the installed app
  opens it) and with a study in its address, and a save downloads StudyProposal.txt;
- rebuilt (a file of the copy changed, the worker made again by scripts/web-app.py as
  scripts/web makes it), the page is the new build at a following load, the earlier
  build's cache is gone, and the caches of other pages of the site are left.

Throughout, the page's Content-Security-Policy refuses nothing.

    run_app.py --folder build-web/study-proposal-VERSION-web
"""

import argparse
import datetime
import json
import os
import re
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path[:0] = [ROOT, os.path.join(HERE, "..", "e2e"), HERE]

import run_e2e  # noqa: E402
from harness import Failure  # noqa: E402
from harness.browser import Browser, Server, check_policy, checked_run, wait_for  # noqa: E402
from harness.program import GO_TO_FUTURE, GO_TO_IMPACTS, MASS, SAVE  # noqa: E402
from run_web import Page, browser_date  # noqa: E402

WORKER = "service-worker.js"
REBUILT_TITLE = "Study proposal, rebuilt"
# The frame at Continental(3000km), the grain at Submaterial(<1mm), as the saved file says.
FRAME_AND_GRAIN = [(MASS, 1, 1), (MASS, 21, 1)]
RESOLUTION = (b"The object of study will be elaborated on several scales for 2030 on "
              b"Continental(3000km) scale with smallest details on Submaterial(<1mm) level.")
# Pages of the site that are not the program's: (path, title).
OTHER_PAGES = [("index.html", "Another page of the site"),
               ("app/notes/index.html", "Notes beside the program")]

# The page's worker and the site's caches, each with the addresses it holds.
KEPT = """(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    const kept = {};
    for (const name of await caches.keys())
        kept[name] = (await (await caches.open(name)).keys()).map((r) => r.url);
    return {scope: registration?.scope, state: registration?.active?.state, caches: kept};
})()"""


def build_of(app):
    with open(os.path.join(app, WORKER), encoding="utf-8") as f:
        return re.search(r'const BUILD = "([0-9a-f]+)";', f.read()).group(1)


def responses(browser):
    """The responses the page has had since the last call: {address: from the worker}."""
    browser.poll()
    found = {e["params"]["response"]["url"]: e["params"]["response"].get("fromServiceWorker")
             for e in browser.events if e.get("method") == "Network.responseReceived"}
    browser.events = [e for e in browser.events
                      if e.get("method") != "Network.responseReceived"]
    return found


def kept_build(browser, scope, build):
    """Waits for the worker of `build` to be active with its cache, the only one of the page;
    returns what it holds and the site's caches."""
    name = f"study-proposal {scope} {build}"

    def ready():
        kept = browser.evaluate(KEPT) or {"caches": {}}
        ours = [n for n in kept["caches"] if n.startswith(f"study-proposal {scope} ")]
        return kept if kept.get("state") == "activated" and ours == [name] else None

    kept = wait_for(f"the worker of build {build} with its cache alone", ready)
    if kept["scope"] != scope:
        raise Failure(f"the worker's scope is {kept['scope']}, not {scope}")
    return kept["caches"][name], kept["caches"]


def first_visit(browser, downloads, url, app):
    """One visit: the page runs, is installable, and its worker then holds all it loaded."""
    responses(browser)
    browser.open(f"{url}app/index.html")
    Page(browser, downloads)
    errors = browser.call("Page.getInstallabilityErrors")["installabilityErrors"]
    if errors:
        raise Failure(f"Chromium finds the page not installable: {errors}")
    manifest = browser.call("Page.getAppManifest")
    if manifest.get("errors") or manifest.get("url") != f"{url}app/manifest.webmanifest":
        raise Failure(f"the page's manifest: {manifest.get('url')}, {manifest.get('errors')}")
    loaded = {address for address in responses(browser) if address.startswith(f"{url}app/")}
    cached, _ = kept_build(browser, f"{url}app/", build_of(app))
    missing = sorted(loaded - set(cached) - {f"{url}app/{WORKER}"})
    if missing or f"{url}app/study-proposal.wasm" not in cached:
        raise Failure(f"the worker keeps {sorted(cached)}, not {missing}")
    return len(cached)


def other_pages(browser, url):
    """The site's other pages, out of the page's scope and in it, are themselves, from the
    network; so is a study the page's address names."""
    for path, title in OTHER_PAGES:
        browser.open(f"{url}{path}")
        shown = browser.evaluate("document.title")
        served = responses(browser)
        if shown != title or served.get(f"{url}{path}", True):
            raise Failure(f"{url}{path} shows {shown!r}, from the worker: "
                          f"{served.get(f'{url}{path}')}")
    page = f"{url}app/index.html?study=other.txt"
    browser.open(page)
    seen = {}
    wait_for("the study to be fetched",
             lambda: seen.update(responses(browser)) or f"{url}app/other.txt" in seen)
    if seen.get(page) is not True or seen[f"{url}app/other.txt"]:
        raise Failure(f"from the worker: the page {seen.get(page)}, the study "
                      f"{seen[f'{url}app/other.txt']}")


def offline(browser, downloads, url):
    """The server stopped: the installed app's start and a page naming a study both run,
    from the worker, and the save downloads the study."""
    browser.open(f"{url}app/")
    Page(browser, downloads)
    served = responses(browser)
    if served.get(f"{url}app/") is not True:
        raise Failure(f"the page's folder was not answered by the worker: {served}")
    # The page keeps the study it opened online; this visit starts with a new one.
    browser.evaluate("localStorage.clear()")
    browser.open(f"{url}app/index.html?study=other.txt")  # which cannot be fetched now
    page = Page(browser, downloads)
    page.press(GO_TO_IMPACTS)
    page.locate()
    page.press_cells(FRAME_AND_GRAIN)
    page.press(GO_TO_FUTURE)
    page.locate()
    saved = page.download("StudyProposal.txt", lambda: page.press(SAVE))
    if RESOLUTION not in saved:
        raise Failure("the study saved without a network lacks its resolution statement")


def rebuilt(browser, downloads, url, app):
    """A file of the page changed and its worker made anew: a following load is the new
    build, whose cache replaces the earlier one; other pages' caches stay."""
    scope = f"{url}app/"
    before = build_of(app)
    others = [f"study-proposal {url}elsewhere/ {before}", "a cache of another page"]
    browser.evaluate(f"Promise.all({json.dumps(others)}.map((name) => caches.open(name)))")
    index = os.path.join(app, "index.html")
    with open(index, encoding="utf-8") as f:
        html = f.read()
    with open(index, "w", encoding="utf-8") as f:
        f.write(html.replace("<title>Study proposal</title>",
                             f"<title>{REBUILT_TITLE}</title>"))
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "web-app.py"), app],
                   check=True)
    # A build compresses its files anew; the changed ones' old copies go, so that the server
    # sends the files themselves.
    for name in ("index.html", WORKER):
        for suffix in (".br", ".gz"):
            if os.path.exists(os.path.join(app, name + suffix)):
                os.remove(os.path.join(app, name + suffix))
    after = build_of(app)
    if after == before:
        raise Failure("the rebuilt page has the same worker's build")
    loads = 0
    while browser.evaluate("document.title") != REBUILT_TITLE:
        loads += 1
        if loads > 3:
            raise Failure(f"the rebuilt page is not there after {loads - 1} loads")
        browser.open(f"{scope}index.html")
        Page(browser, downloads)
        _, caches = kept_build(browser, scope, after)
    if any(name not in caches for name in others):
        raise Failure(f"the rebuild removed other pages' caches: {sorted(caches)}")
    return loads


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.folder, WORKER)):
        print(f"FAIL set-up: {args.folder} holds no {WORKER}; build it with scripts/web")
        return 1
    started = time.monotonic()

    def checks(tmp, opened):
        site = os.path.join(tmp, "site")
        app = os.path.join(site, "app")
        shutil.copytree(args.folder, app)  # a copy: the test rebuilds it
        for path, title in OTHER_PAGES:
            write(os.path.join(site, path),
                  f"<!doctype html><title>{title}</title><p>{title}".encode())
        with open(os.path.join(run_e2e.DATA, "horizon_edited.txt"), "rb") as f:
            study = f.read().replace(b"{{DATE}}",
                                     browser_date(datetime.date.today()).encode())
        write(os.path.join(app, "other.txt"), study)
        downloads = os.path.join(tmp, "downloads")
        os.makedirs(downloads)
        browser = Browser("about:blank", downloads, os.path.join(tmp, "profile"))
        opened(browser)
        browser.call("Network.enable")
        with Server(site) as server:
            url, port = server.url, server.port
            files = first_visit(browser, downloads, url, app)
            other_pages(browser, url)
        offline(browser, downloads, url)
        with Server(site, port):
            loads = rebuilt(browser, downloads, url, app)
        check_policy(browser)
        return (f"web: the page in Chromium {browser.version} is installable, kept its "
                f"{files} files, started and saved with the server stopped, left the site's "
                f"other pages and the study to the network, and was the rebuilt page at load "
                f"{loads} after the rebuild, in {time.monotonic() - started:.0f} s")

    return checked_run(checks, "sp-web-app-")


if __name__ == "__main__":
    sys.exit(main())
