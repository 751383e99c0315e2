#!/usr/bin/env python3
"""The HTTP(S) server for tests, benchmarks and stress runs of whole programs.

  test_server.py static --root DIR --port-file FILE [--tls CERT KEY] [--lifetime S]
                        [--rate BYTES_PER_SECOND] [--slow-path PATH --slow-rate BYTES_PER_SECOND]
                        [--reset-first K [--reset-path PATH]] [--stale-first K]
                        [--request-log LOG]
      serves the files under DIR, at most --rate bytes a second when given;
      with --request-log, appends "GET /path" to LOG for each request;
      the bodies of --slow-path (may repeat) at --slow-rate (may be below 1)
      --reset-first K  resets the first K connections without an answer; with
                       --reset-path (may repeat) only those for that path
      --stale-first K  the first K requests for a path whose file has a
                       FILE.stale beside it get FILE.stale instead, as a
                       cache that has not caught up yet would
  test_server.py body --size N --port-file FILE [--lifetime S]
      serves a generated body of N bytes, made as it is sent:
      GET /length   with Content-Length
      GET /chunked  with Transfer-Encoding: chunked, one chunk per block
      GET /close    with neither: the body ends when the server closes
  test_server.py digest --size N
      prints the SHA-256 of that body

The server binds port 0 on 127.0.0.1 itself and writes the port it got to
FILE (whole, through a rename), so no other process can take the port between
choosing and binding it. It exits by itself after --lifetime seconds, so a run
that dies cannot leave it running for long.

The generated body is 1 MiB blocks of one fixed pseudo-random block, each with
its index in its first 8 bytes, so a lost, repeated or reordered block changes
the digest.
"""
import argparse
import functools
import hashlib
import http.server
import os
import socket
import ssl
import struct
import threading
import time

BLOCK = 1 << 20
BASE_BLOCK = hashlib.shake_256(b"hovrel large download v1").digest(BLOCK)


def body_blocks(size):
    """Yields the body block by block, over one reused buffer."""
    buffer = bytearray(BASE_BLOCK)
    view = memoryview(buffer)
    index = 0
    offset = 0
    while offset < size:
        struct.pack_into("<Q", buffer, 0, index)
        n = min(BLOCK, size - offset)
        yield view[:n]
        index += 1
        offset += n


def body_digest(size):
    hash = hashlib.sha256()
    for block in body_blocks(size):
        hash.update(block)
    return hash.hexdigest()


class Countdown:
    """Says yes the first K times it is asked, for each key apart."""

    def __init__(self, k):
        self.k = k
        self.taken = {}
        self.lock = threading.Lock()

    def take(self, key=None):
        with self.lock:
            n = self.taken.get(key, 0)
            if n >= self.k:
                return False
            self.taken[key] = n + 1
            return True


class QuietStaticHandler(http.server.SimpleHTTPRequestHandler):
    rate = 0  # bytes per second of a response body; 0: as fast as it goes
    request_log = None  # a file to append each request line to
    log_lock = threading.Lock()
    slow_paths = ()  # URL paths whose bodies go at slow_rate
    slow_rate = 1.0
    resets = Countdown(0)
    reset_paths = ()  # empty: every request counts toward --reset-first
    stale = Countdown(0)

    def log_message(self, format, *args):
        pass

    # A network failure: the connection reset before any answer. Every
    # request is logged, reset or not.
    def do_GET(self):
        if self.request_log:
            with self.log_lock, open(self.request_log, "a") as log:
                log.write("%s %s\n" % (self.command, self.path))
        counted = not self.reset_paths or self.path.split("?")[0] in self.reset_paths
        if counted and self.resets.take():
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
            self.close_connection = True
            return
        super().do_GET()

    def translate_path(self, path):
        local = super().translate_path(path)
        if os.path.isfile(local + ".stale") and self.stale.take(local):
            return local + ".stale"
        return local

    # A slow server, so a window's progress can be watched.
    def copyfile(self, source, outputfile):
        if self.path.split("?")[0] in self.slow_paths:
            return self.trickle(source, outputfile)
        if not self.rate:
            return super().copyfile(source, outputfile)
        while chunk := source.read(max(1, self.rate // 10)):
            outputfile.write(chunk)
            time.sleep(0.1)

    # Below a byte a second too: one small piece at a time.
    def trickle(self, source, outputfile):
        piece = max(1, int(self.slow_rate / 10))
        try:
            while chunk := source.read(piece):
                outputfile.write(chunk)
                outputfile.flush()
                time.sleep(len(chunk) / self.slow_rate)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True


class BodyHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    size = 0

    def do_GET(self):
        if self.path not in ("/length", "/chunked", "/close"):
            self.send_error(404)
            return
        chunked = self.path == "/chunked"
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if self.path == "/length":
            self.send_header("Content-Length", str(self.size))
        elif chunked:
            self.send_header("Transfer-Encoding", "chunked")
        else:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        try:
            for block in body_blocks(self.size):
                if chunked:
                    self.connection.sendall(b"%x\r\n" % len(block))
                self.connection.sendall(block)
                if chunked:
                    self.connection.sendall(b"\r\n")
            if chunked:
                self.connection.sendall(b"0\r\n\r\n")
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def log_message(self, format, *args):
        pass


def write_port(port_file, port):
    with open(port_file + ".tmp", "w") as out:
        out.write("%d\n" % port)
    os.replace(port_file + ".tmp", port_file)


def start(handler, tls):
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
    static.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    body = modes.add_parser("body")
    digest = modes.add_parser("digest")
    for mode in (body, digest):
        mode.add_argument("--size", type=int, required=True)
    static.add_argument("--rate", type=int, default=0)
    static.add_argument("--request-log")
    static.add_argument("--slow-path", action="append", default=[])
    static.add_argument("--slow-rate", type=float, default=1.0)
    static.add_argument("--reset-first", type=int, default=0)
    static.add_argument("--reset-path", action="append", default=[])
    static.add_argument("--stale-first", type=int, default=0)
    for mode in (static, body):
        mode.add_argument("--port-file", required=True)
        mode.add_argument("--lifetime", type=float, default=900)
    arguments = parser.parse_args()

    if arguments.mode == "digest":
        print(body_digest(arguments.size))
        return
    if arguments.mode == "static":
        QuietStaticHandler.rate = arguments.rate
        QuietStaticHandler.request_log = arguments.request_log
        QuietStaticHandler.slow_paths = tuple(arguments.slow_path)
        QuietStaticHandler.slow_rate = arguments.slow_rate
        QuietStaticHandler.resets = Countdown(arguments.reset_first)
        QuietStaticHandler.reset_paths = tuple(arguments.reset_path)
        QuietStaticHandler.stale = Countdown(arguments.stale_first)
        handler = functools.partial(QuietStaticHandler, directory=os.path.abspath(arguments.root))
        port = start(handler, arguments.tls)
    else:
        BodyHandler.size = arguments.size
        port = start(BodyHandler, None)
    write_port(arguments.port_file, port)
    threading.Event().wait(arguments.lifetime)
    os._exit(0)


if __name__ == "__main__":
    main()
