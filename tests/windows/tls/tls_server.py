"""Serves a folder over HTTPS on 127.0.0.1 with two certificates, one port
each, and exits by itself after a bounded lifetime."""

import argparse
import functools
import http.server
import os
import ssl
import threading


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass


def start(certificate, key, folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--www", required=True)
    parser.add_argument("--ports", required=True)
    parser.add_argument("--lifetime", type=float, required=True)
    parser.add_argument("--trusted", nargs=2, required=True)
    parser.add_argument("--untrusted", nargs=2, required=True)
    arguments = parser.parse_args()
    folder = os.path.abspath(arguments.www)
    ports = [start(*arguments.trusted, folder), start(*arguments.untrusted, folder)]
    # Written whole under another name first: the reader never sees half a file.
    with open(arguments.ports + ".tmp", "w") as out:
        out.write("\n".join(str(port) for port in ports) + "\n")
    os.replace(arguments.ports + ".tmp", arguments.ports)
    threading.Event().wait(arguments.lifetime)
    os._exit(0)


if __name__ == "__main__":
    main()
