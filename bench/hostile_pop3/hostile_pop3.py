#!/usr/bin/env python3
"""Peak resident memory of the POP3 client against hostile servers, next to an honest check of
the same size. Each case starts a POP3 server of its own on 127.0.0.1 that makes its replies up
as it sends them (so a 2 GiB listing costs this script nothing), runs bench_hostile_client
against it and reads the client's peak resident set (ru_maxrss of the finished child, by
wait4). Not a test: it prints the figures and the goal (at most 100 MB over the honest check).
    hostile_pop3.py [CLIENT]     (default: build/bench/hostile_pop3/bench_hostile_client)"""
import asyncio
import os
import subprocess
import sys
import threading
import time

here = os.path.dirname(os.path.abspath(__file__))
source = os.path.dirname(os.path.dirname(here))
client = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                         os.path.join(source, "build", "bench", "hostile_pop3", "bench_hostile_client"))
MESSAGES = 700
PAD = b"X-Pad: " + b"x" * (1000 * 1000) + b"\r\n"


def headers(n):
    return (f"From: sender{n}@example.com\r\nTo: you@example.org\r\nSubject: message {n}\r\n"
            f"Date: Mon, 7 Dec 2026 10:00:00 +0000\r\nMessage-ID: <{n}@example.com>\r\n").encode()


class Mailbox:
    """What the server answers; the hostile parts are switched on per case and session."""

    def __init__(self, count=MESSAGES, stat_count=None, endless_uidl=False, padded_sessions=(),
                 huge_retr=False):
        self.count = count
        self.stat_count = stat_count if stat_count is not None else count
        self.endless_uidl = endless_uidl
        self.padded_sessions = padded_sessions
        self.huge_retr = huge_retr
        self.sessions = 0

    async def serve(self, reader, writer):
        session = self.sessions
        self.sessions += 1
        padded = session in self.padded_sessions
        writer.write(b"+OK hostile POP3\r\n")
        try:
            while True:
                line = await reader.readline()
                if not line:
                    break
                words = line.decode("latin-1").split()
                if not words:
                    continue
                command, args = words[0].upper(), words[1:]
                n = int(args[0]) if args and args[0].isdigit() else 0
                if command == "CAPA":
                    writer.write(b"+OK\r\nTOP\r\nUSER\r\nUIDL\r\nPIPELINING\r\n.\r\n")
                elif command in ("USER", "PASS", "DELE", "NOOP"):
                    writer.write(b"+OK\r\n")
                elif command == "STAT":
                    writer.write(f"+OK {self.stat_count} {self.stat_count * 300}\r\n".encode())
                elif command == "UIDL" and not args:
                    writer.write(b"+OK\r\n")
                    k = 1
                    while self.endless_uidl or k <= self.count:
                        writer.write(b"".join(f"{i} id-{i:070d}\r\n".encode() for i in range(k, k + 1000)
                                              if self.endless_uidl or i <= self.count))
                        k += 1000
                        await writer.drain()
                    writer.write(b".\r\n")
                elif command == "UIDL":
                    writer.write(f"+OK {n} id-{n:070d}\r\n".encode())
                elif command == "LIST" and not args:
                    size = 10 ** 9 if self.huge_retr else 300
                    writer.write(b"+OK\r\n" + b"".join(f"{i} {size}\r\n".encode() for i in range(1, self.count + 1))
                                 + b".\r\n")
                elif command == "LIST" and 1 <= n <= self.count:
                    size = 10 ** 9 if self.huge_retr else 300
                    writer.write(f"+OK {n} {size}\r\n".encode())
                elif command == "TOP" and 1 <= n <= self.count:
                    writer.write(b"+OK\r\n" + headers(n) + (PAD if padded else b"") + b"\r\nbody\r\n.\r\n")
                elif command == "RETR" and 1 <= n <= self.count:
                    writer.write(b"+OK\r\n" + headers(n) + b"\r\n")
                    chunk = (b"x" * 998 + b"\r\n") * 1000
                    while self.huge_retr:
                        writer.write(chunk)
                        await writer.drain()
                    writer.write(b"body\r\n.\r\n")
                elif command == "QUIT":
                    writer.write(b"+OK bye\r\n")
                    await writer.drain()
                    break
                else:
                    writer.write(b"-ERR no such message\r\n")
                await writer.drain()
        except (ConnectionError, asyncio.IncompleteReadError):
            pass
        writer.close()


def start(mailbox):
    """Runs the server in a thread of its own; returns its port."""
    loop = asyncio.new_event_loop()
    ready = threading.Event()
    port = []

    async def main():
        server = await asyncio.start_server(mailbox.serve, "127.0.0.1", 0)
        port.append(server.sockets[0].getsockname()[1])
        ready.set()
        async with server:
            await server.serve_forever()

    threading.Thread(target=lambda: loop.run_until_complete(main()), daemon=True).start()
    ready.wait()
    return port[0]


def measure(mode, mailbox, pipelining):
    port = start(mailbox)
    started = time.monotonic()
    proc = subprocess.Popen([client, mode, f"127.0.0.1:{port}", "1" if pipelining else "0"],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    out = proc.stdout.read().decode(errors="replace").strip()
    _, _, usage = os.wait4(proc.pid, 0)
    return usage.ru_maxrss / 1024, time.monotonic() - started, out


if not os.access(client, os.X_OK):
    sys.exit(f"no {client}: build bench_hostile_client first")
cases = [
    ("honest check, 700 messages, pipelined", "list", Mailbox(), True),
    ("honest deletion of 700 messages, pipelined", "delete", Mailbox(), True),
    ("STAT 2,000,000,000 and an endless UIDL listing", "list", Mailbox(count=2, stat_count=2000000000,
                                                                         endless_uidl=True), True),
    ("listing of 700 TOP replies padded to 1 MB, pipelined", "list", Mailbox(padded_sessions=(0,)), True),
    ("deletion of 700, TOP padded to 1 MB, pipelined", "delete", Mailbox(padded_sessions=(1,)), True),
    ("deletion of 700, TOP padded to 1 MB, one at a time", "delete", Mailbox(padded_sessions=(1,)), False),
    ("RETR of a message said to be 1e9 bytes, endless", "retrieve", Mailbox(count=1, huge_retr=True), False),
]
print(f"{'case':58} {'peak MB':>8} {'s':>6}  outcome")
baseline = None
worst = 0.0
for name, mode, mailbox, pipelining in cases:
    peak, seconds, out = measure(mode, mailbox, pipelining)
    if baseline is None:
        baseline = peak
    else:
        worst = max(worst, peak - baseline)
    print(f"{name:58} {peak:8.1f} {seconds:6.1f}  {out[:110]}")
print(f"largest peak over the honest check: {worst:.1f} MB (goal: at most 100 MB)")
