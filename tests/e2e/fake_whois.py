#!/usr/bin/env python3
"""A small WHOIS server for end-to-end runs and the demo, on a loopback address only.

It answers each query line with a canned text: names containing "free" get the registries'
"not found" answers, every other name a registered record with registrar, dates and WHOIS server.
It serves a bounded number of connections and stops by itself after its lifetime.
"""
import argparse
import ipaddress
import socket
import sys
import time

FREE_ANSWER = (
    'No match for "{name}".\r\n'
    "NOT FOUND\r\n"
    ">>> Last update of whois database: 2026-01-01T00:00:00Z <<<\r\n"
)

TAKEN_ANSWER = (
    "   Domain Name: {upper}\r\n"
    "   Registrar: Loopback Names Registrar, Inc.\r\n"
    "   Whois Server: whois.loopback-names.test\r\n"
    "   Updated Date: 2024-06-01\r\n"
    "   Creation Date: 2001-03-14\r\n"
    "   Expiration Date: 2031-03-14\r\n"
    "   Name Server: NS1.LOOPBACK-NAMES.TEST\r\n"
)

MAX_QUERY_BYTES = 1024


def answer_for(query: str) -> str:
    # The query is "domain NAME" for .com/.net/.edu and "NAME" otherwise: the name is the last word.
    words = query.split()
    name = words[-1].lower() if words else ""
    if "free" in name:
        return FREE_ANSWER.format(name=name.upper())
    return TAKEN_ANSWER.format(upper=name.upper())


def read_query(conn: socket.socket) -> str:
    data = b""
    while b"\n" not in data and len(data) < MAX_QUERY_BYTES:
        chunk = conn.recv(MAX_QUERY_BYTES - len(data))
        if not chunk:
            break
        data += chunk
    return data.split(b"\n", 1)[0].decode("latin-1").strip()


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--host", default="127.0.0.60")
    parser.add_argument("--port", type=int, default=43)
    parser.add_argument("--max-connections", type=int, default=200)
    parser.add_argument("--lifetime", type=float, default=120.0, help="seconds before stopping")
    parser.add_argument("--delay", type=float, default=0.0, help="seconds before each answer")
    parser.add_argument("--log", help="file that receives one line per query")
    parser.add_argument("--ready", help="file written once the server listens")
    args = parser.parse_args()

    if not ipaddress.ip_address(args.host).is_loopback:
        print("fake_whois: refusing to listen on a non-loopback address", file=sys.stderr)
        return 2

    deadline = time.monotonic() + args.lifetime
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind((args.host, args.port))
    server.listen(16)
    if args.ready:
        with open(args.ready, "w") as f:
            f.write("%s:%d\n" % (args.host, args.port))
    log = open(args.log, "a", buffering=1) if args.log else None

    served = 0
    try:
        while served < args.max_connections:
            left = deadline - time.monotonic()
            if left <= 0:
                break
            server.settimeout(min(left, 1.0))
            try:
                conn, _ = server.accept()
            except socket.timeout:
                continue
            served += 1
            with conn:
                conn.settimeout(5.0)
                try:
                    query = read_query(conn)
                    if log:
                        log.write(query + "\n")
                    if args.delay > 0:
                        time.sleep(args.delay)
                    conn.sendall(answer_for(query).encode("latin-1"))
                except OSError:
                    pass
    finally:
        server.close()
        if log:
            log.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
