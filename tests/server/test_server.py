#!/usr/bin/env python3
"""The tests' HTTP(S) server for whole programs run under Wine.

  test_server.py static --root DIR --port-file FILE [--tls CERT KEY] [--lifetime S]
                        [--rate BYTES_PER_SECOND]

Serves the files under DIR on 127.0.0.1. The server binds port 0 itself and
writes the port it got to FILE (whole, through a rename), so no other process
can take the port between choosing and binding it. It exits by itself after
--lifetime seconds, so a test that dies cannot leave it running for long.
"""
import argparse
import functools
import http.server
import os
import ssl
import threading
import time


class QuietStaticHandler(http.server.SimpleHTTPRequestHandler):
    rate = 0  # bytes per second of a response body; 0: as fast as it goes

    def log_message(self, format, *args):
        pass

    # A slow server, so a window's progress can be watched.
    def copyfile(self, source, outputfile):
        if not self.rate:
            return super().copyfile(source, outputfile)
        while chunk := source.read(max(1, self.rate // 10)):
            outputfile.write(chunk)
            time.sleep(0.1)


def write_port(port_file, ports):
    with open(port_file + ".tmp", "w") as out:
        out.write("\n".join(str(port) for port in ports) + "\n")
    os.replace(port_file + ".tmp", port_file)


def serve_static(root, tls):
    handler = functools.partial(QuietStaticHandler, directory=root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    if tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*tls)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    parser = argparse.ArgumentParser()
    modes = parser.add_subparsers(dest="mode", required=True)
    static = modes.add_parser("static")
    static.add_argument("--root", required=True)
    static.add_argument("--port-file", required=True)
    static.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    static.add_argument("--lifetime", type=float, default=900)
    static.add_argument("--rate", type=int, default=0)
    arguments = parser.parse_args()

    QuietStaticHandler.rate = arguments.rate
    port = serve_static(os.path.abspath(arguments.root), arguments.tls)
    write_port(arguments.port_file, [port])
    threading.Event().wait(arguments.lifetime)
    os._exit(0)


if __name__ == "__main__":
    main()
