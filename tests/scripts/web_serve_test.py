#!/usr/bin/python3
"""scripts/web-serve.py, the server of the page's tests and of `scripts/web --serve`: which
copy of a file it sends for which Accept-Encoding, with what headers, and that what it sends
is the file once decoded; in a temporary folder."""

import gzip
import http.client
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "..", "scripts", "web-serve.py")
SCRIPT = b"console.log('the page');\n" * 40
WASM = b"\0asm\1\0\0\0" + bytes(range(256)) * 8
STYLE = b"body { margin: 0; }\n"

# (path, Accept-Encoding, the encoding sent, its Content-Type); the folder has page.js with
# both copies, app.wasm with a gzip copy only, page.css with none.
CASES = [
    ("/page.js", "gzip, deflate, br, zstd", "br", "text/javascript"),
    ("/page.js", "gzip, deflate", "gzip", "text/javascript"),
    ("/page.js", "br;q=1.0, gzip;q=0.8", "br", "text/javascript"),
    ("/page.js", "", None, "text/javascript"),
    ("/page.js", "identity", None, "text/javascript"),
    ("/page.js", "brotli, xgzip", None, "text/javascript"),  # whole names only
    ("/page.js", "br;q=0, gzip", "gzip", "text/javascript"),  # q=0 refuses one
    ("/app.wasm", "gzip, br", "gzip", "application/wasm"),
    ("/page.css", "gzip, br", None, "text/css"),
]
ORIGINALS = {"/page.js": SCRIPT, "/app.wasm": WASM, "/page.css": STYLE}


def decoded(body, encoding):
    if encoding == "gzip":
        return gzip.decompress(body)
    if encoding == "br":
        return subprocess.run(["brotli", "-d", "-c"], input=body, capture_output=True,
                              check=True).stdout
    return body


def get(port, path, headers):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    connection.request("GET", path, headers=headers)
    response = connection.getresponse()
    body = response.read()
    connection.close()
    return response, body


def main():
    if not shutil.which("brotli"):
        print("FAIL set-up: brotli is missing: run scripts/setup --test")
        return 1
    failures = []
    tmp = tempfile.mkdtemp(prefix="sp-web-serve-")
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    server = None
    try:
        for name, data in (("page.js", SCRIPT), ("app.wasm", WASM), ("page.css", STYLE)):
            with open(os.path.join(tmp, name), "wb") as f:
                f.write(data)
        with open(os.path.join(tmp, "page.js.gz"), "wb") as f:
            f.write(gzip.compress(SCRIPT, 9))
        subprocess.run(["brotli", "-q", "11", "-o", os.path.join(tmp, "page.js.br"),
                        os.path.join(tmp, "page.js")], check=True)
        with open(os.path.join(tmp, "app.wasm.gz"), "wb") as f:
            f.write(gzip.compress(WASM, 9))
        # A copy without the file it stands for is not served in its place.
        with open(os.path.join(tmp, "gone.js.gz"), "wb") as f:
            f.write(gzip.compress(SCRIPT, 9))
        server = subprocess.Popen([sys.executable, SERVER, tmp, str(port)],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not started(port):
            print("FAIL set-up: web-serve.py did not start")
            return 1

        for path, accepted, encoding, kind in CASES:
            case = f"{path} for Accept-Encoding {accepted!r}"
            response, body = get(port, path, {"Accept-Encoding": accepted})
            sent = response.getheader("Content-Encoding")
            if response.status != 200 or sent != encoding:
                failures.append(f"{case}: {response.status}, encoding {sent}, not {encoding}")
                continue
            if response.getheader("Content-Type") != kind:
                failures.append(f"{case}: type {response.getheader('Content-Type')}, not {kind}")
            if int(response.getheader("Content-Length")) != len(body):
                failures.append(f"{case}: a length other than the body's")
            if decoded(body, encoding) != ORIGINALS[path]:
                failures.append(f"{case}: the body is not the file once decoded")
            if encoding and response.getheader("Vary") != "Accept-Encoding":
                failures.append(f"{case}: no Vary: Accept-Encoding, which caches need")

        response, _ = get(port, "/gone.js", {"Accept-Encoding": "gzip"})
        if response.status != 404:
            failures.append(f"a copy without its file: {response.status}, not 404")
        # A browser's second visit: the compressed copy is revalidated like the file.
        stamp = time.strftime("%a, %d %b %Y %H:%M:%S GMT", time.gmtime(time.time() + 60))
        response, _ = get(port, "/page.js", {"Accept-Encoding": "br", "If-Modified-Since": stamp})
        if response.status != 304:
            failures.append(f"a revalidated compressed copy: {response.status}, not 304")
        response, body = get(port, "/", {"Accept-Encoding": "gzip, br"})
        if response.status != 200 or b"page.js" not in body:
            failures.append("the folder's listing is not served")
    finally:
        if server:
            server.kill()
            server.wait()
        shutil.rmtree(tmp, ignore_errors=True)
    for failure in failures:
        print(f"FAIL: {failure}")
    if not failures:
        print(f"web-serve: {len(CASES) + 3} cases passed")
    return 1 if failures else 0


def started(port):
    for _ in range(100):
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", port)) == 0:
                return True
        time.sleep(0.1)
    return False


if __name__ == "__main__":
    sys.exit(main())
