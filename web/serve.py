"""Serves a folder on 127.0.0.1 with Python's http.server.

    python3 web/serve.py FOLDER [PORT]

Port 0 (the default) takes a free one. The first line on standard output
is the address; requests are not logged.
"""
import functools
import http.server
import sys


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    # Browsers compile a program while it loads only when it comes as wasm.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json"}

    def log_message(self, format, *args):
        pass


folder = sys.argv[1]
port = int(sys.argv[2]) if len(sys.argv) > 2 else 0
server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", port), functools.partial(QuietHandler, directory=folder))
print(f"http://127.0.0.1:{server.server_address[1]}/", flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
