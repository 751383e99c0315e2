#!/usr/bin/env python3
"""The HTTP(S) server for tests, benchmarks and stress runs of whole programs.

  test_server.py static --root DIR --port-file FILE [--tls CERT KEY] [--lifetime S]
                        [--rate BYTES_PER_SECOND] [--request-log LOG]
      serves the files under DIR, at most --rate bytes a second when given;
      with --request-log, appends "GET /path" to LOG for each request
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


class QuietStaticHandler(http.server.SimpleHTTPRequestHandler):
    rate = 0  # bytes per second of a response body; 0: as fast as it goes
    request_log = None  # a file to append each request line to
    log_lock = threading.Lock()

    def do_GET(self):
        if self.request_log:
            with self.log_lock, open(self.request_log, "a") as log:
                log.write("%s %s\n" % (self.command, self.path))
        super().do_GET()

    def log_message(self, format, *args):
        pass

    # A slow server, so a window's progress can be watched.
    def copyfile(self, source, outputfile):
        if not self.rate:
            return super().copyfile(source, outputfile)
        while chunk := source.read(max(1, self.rate // 10)):
            outputfile.write(chunk)
            time.sleep(0.1)


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
