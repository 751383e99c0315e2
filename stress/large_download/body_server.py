#!/usr/bin/env python3
"""A generated body of any size, streamed from 127.0.0.1 or hashed locally.

  body_server.py digest SIZE   print the SHA-256 of the body
  body_server.py serve SIZE    serve it; prints the port, then serves until killed
      GET /length   with Content-Length
      GET /chunked  with Transfer-Encoding: chunked, one chunk per block
      GET /close    with neither: the body ends when the server closes

The body is 1 MiB blocks of one fixed pseudo-random block, each with its
index in its first 8 bytes, so a lost, repeated or reordered block changes
the digest. Nothing is stored: each block is made as it is sent.
"""
import hashlib
import http.server
import socketserver
import struct
import sys

BLOCK = 1 << 20
SEED = b"hovrel large download v1"
BASE = hashlib.shake_256(SEED).digest(BLOCK)


def blocks(size):
    """Yields memoryviews of the body, block by block, over one reused buffer."""
    buffer = bytearray(BASE)
    view = memoryview(buffer)
    index = 0
    offset = 0
    while offset < size:
        struct.pack_into("<Q", buffer, 0, index)
        n = min(BLOCK, size - offset)
        yield view[:n]
        index += 1
        offset += n


def digest(size):
    h = hashlib.sha256()
    for block in blocks(size):
        h.update(block)
    return h.hexdigest()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    size = 0

    def do_GET(self):
        if self.path not in ("/length", "/chunked", "/close"):
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if self.path == "/length":
            self.send_header("Content-Length", str(self.size))
        elif self.path == "/chunked":
            self.send_header("Transfer-Encoding", "chunked")
        else:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        sock = self.connection
        try:
            for block in blocks(self.size):
                if self.path == "/chunked":
                    sock.sendall(b"%x\r\n" % len(block))
                    sock.sendall(block)
                    sock.sendall(b"\r\n")
                else:
                    sock.sendall(block)
            if self.path == "/chunked":
                sock.sendall(b"0\r\n\r\n")
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def log_message(self, format, *args):
        sys.stderr.write("%s\n" % (format % args))


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("digest", "serve"):
        sys.exit(__doc__)
    size = int(sys.argv[2])
    if sys.argv[1] == "digest":
        print(digest(size))
        return
    Handler.size = size
    server = Server(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
