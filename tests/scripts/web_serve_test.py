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
# The folder: each file with the copies beside it; a copy without its file (gone.js.gz).
FILES = {"page.js": (SCRIPT, ("br", "gz")), "app.wasm": (WASM, ("gz",)),
         "page.css": (STYLE, ()), "gone.js": (None, ("gz",))}

# (path, Accept-Encoding, the status and encoding sent, its Content-Type)
CASES = [
    ("/page.js", "gzip, deflate, br, zstd", 200, "br", "text/javascript"),
    ("/page.js", "gzip, deflate", 200, "gzip", "text/javascript"),
    ("/page.js", "br;q=1.0, gzip;q=0.8", 200, "br", "text/javascript"),
    ("/page.js", "", 200, None, "text/javascript"),
    ("/page.js", "identity", 200, None, "text/javascript"),
    ("/page.js", "brotli, xgzip", 200, None, "text/javascript"),  # whole names only
    ("/page.js", "br;q=0, gzip", 200, "gzip", "text/javascript"),  # q=0 refuses one
    ("/app.wasm", "gzip, br", 200, "gzip", "application/wasm"),
    ("/page.css", "gzip, br", 200, None, "text/css"),
    ("/gone.js", "gzip", 404, None, None),
]


def compress(data, kind):
    if kind == "gz":
        return gzip.compress(data, 9)
    return subprocess.run(["brotli", "-c"], input=data, capture_output=True, check=True).stdout


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


def check(port, failures):
    for path, accepted, status, encoding, kind in CASES:
        case = f"{path} for Accept-Encoding {accepted!r}"
        response, body = get(port, path, {"Accept-Encoding": accepted})
        sent = response.getheader("Content-Encoding")
        if (response.status, sent) != (status, encoding):
            failures.append(f"{case}: {response.status} {sent}, not {status} {encoding}")
        elif status == 200 and (response.getheader("Content-Type") != kind
                                or decoded(body, encoding) != FILES[path[1:]][0]):
            failures.append(f"{case}: not the file, once decoded, as {kind}")
        elif encoding and response.getheader("Vary") != "Accept-Encoding":
            failures.append(f"{case}: no Vary: Accept-Encoding, which caches need")
    # A browser's second visit: the compressed copy is revalidated like the file.
    stamp = time.strftime("%a, %d %b %Y %H:%M:%S GMT", time.gmtime(time.time() + 60))
    response, _ = get(port, "/page.js", {"Accept-Encoding": "br", "If-Modified-Since": stamp})
    if response.status != 304:
        failures.append(f"a revalidated compressed copy: {response.status}, not 304")


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
        for name, (data, copies) in FILES.items():
            for suffix, content in [("", data)] + [(f".{k}", compress(data or SCRIPT, k))
                                                   for k in copies]:
                if content is not None:
                    with open(os.path.join(tmp, name + suffix), "wb") as f:
                        f.write(content)
        server = subprocess.Popen([sys.executable, SERVER, tmp, str(port)],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not started(port):
            failures.append("web-serve.py did not start")
        else:
            check(port, failures)
    finally:
        if server:
            server.kill()
            server.wait()
        shutil.rmtree(tmp, ignore_errors=True)
    for failure in failures:
        print(f"FAIL: {failure}")
    if not failures:
        print(f"web-serve: {len(CASES) + 1} cases passed")
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
