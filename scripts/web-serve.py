#!/usr/bin/env python3
"""Serves the program's web folder on localhost, `.wasm` as application/wasm, which browsers
need to compile it while it downloads. A file with a precompressed copy beside it (NAME.br,
NAME.gz) is sent as that copy to a browser that accepts its encoding, as a server set up
as the README says does.

    web-serve.py FOLDER [PORT]
"""
import functools
import http.server
import os
import re
import sys

# Preferred first: brotli is the smaller.
ENCODINGS = (("br", ".br"), ("gzip", ".gz"))


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}
    encoding = suffix = None

    def send_head(self):
        self.encoding = self.suffix = None
        path = super().translate_path(self.path)
        accepted = set()
        for part in self.headers.get("Accept-Encoding", "").split(","):
            name, _, parameters = part.partition(";")
            weight = re.search(r"q=([0-9.]+)", parameters)
            if not weight or float(weight.group(1)) > 0:  # q=0 refuses it
                accepted.add(name.strip())
        if os.path.isfile(path):
            for encoding, suffix in ENCODINGS:
                if encoding in accepted and os.path.isfile(path + suffix):
                    self.encoding, self.suffix = encoding, suffix
                    break
        return super().send_head()

    def translate_path(self, path):
        return super().translate_path(path) + (self.suffix or "")

    def guess_type(self, path):
        return super().guess_type(path[:-len(self.suffix)] if self.suffix else path)

    def end_headers(self):
        if self.encoding:
            self.send_header("Content-Encoding", self.encoding)
            self.send_header("Vary", "Accept-Encoding")
        super().end_headers()


def main():
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8000
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", port), functools.partial(Handler, directory=folder))
    print(f"Serving {folder} on http://localhost:{server.server_port}/ (Ctrl+C to stop)")
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
