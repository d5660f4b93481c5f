#!/usr/bin/python3
"""Servers elsewhere, for part 8 of bench/run: POP3 servers that answer with the replies a real
server gave, recorded before the pass, so that the pass does not share this machine's
processors with twelve server sessions (as it does when Dovecot runs beside it).

    recorded_pop3.py SERVER PASSWORD MAILBOXES ONE_WAY_MS HOST...

First it logs in to SERVER ("host:port", the benchmark's Dovecot) as conc01 ... concNN and
records the replies to CAPA, STAT, UIDL, LIST and TOP n 1 of every message, byte for byte.
Then it listens on port 0 of each HOST (one port for all, printed as "ready PORT") and plays
the recorded server: the greeting comes ONE_WAY_MS after the connect, and the replies to the
commands of one read come twice ONE_WAY_MS after they arrived, as over a link with that delay
each way. AUTH PLAIN (with or without an initial response) and USER/PASS log in with the
recorded mailbox's name and PASSWORD; a command it has no reply for gets "-ERR". It runs until
it is killed."""
import asyncio
import base64
import os
import socket
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pipeline"))
from delay_proxy import deliver  # noqa: E402


def record(server, password, user):
    host, port = server.rsplit(":", 1)
    with socket.create_connection((host, int(port))) as s:
        f = s.makefile("rb")

        def line():
            text = f.readline()
            if not text.startswith(b"+OK"):
                raise SystemExit(f"recorded_pop3.py: {user}: {text!r}")
            return text

        def block():
            text = [line()]
            while text[-1] != b".\r\n":
                text.append(f.readline())
            return b"".join(text)

        # The greeting goes under None, which no command is.
        replies = {None: line()}
        s.sendall(b"CAPA\r\n")
        replies[b"CAPA"] = block()
        s.sendall(b"USER " + user.encode() + b"\r\nPASS " + password.encode() + b"\r\n")
        line()
        line()
        s.sendall(b"STAT\r\n")
        replies[b"STAT"] = line()
        count = int(replies[b"STAT"].split()[1])
        s.sendall(b"UIDL\r\nLIST\r\n")
        replies[b"UIDL"] = block()
        replies[b"LIST"] = block()
        s.sendall(b"".join(b"TOP %d 1\r\n" % n for n in range(1, count + 1)))
        for n in range(1, count + 1):
            replies[b"TOP %d 1" % n] = block()
        s.sendall(b"QUIT\r\n")
        replies[b"QUIT"] = line()
        return replies


FAILED = b"-ERR [AUTH] Authentication failed.\r\n"


class Session:
    def __init__(self, mailboxes, shared, password):
        self.mailboxes = mailboxes
        self.shared = shared  # the replies that do not depend on the mailbox
        self.password = password
        self.user = None
        self.named = None
        self.auth_pending = False
        self.queue = asyncio.Queue()
        self.done = False

    def login(self, user, password):
        if user in self.mailboxes and password == self.password:
            self.user = user
            return b"+OK Logged in.\r\n"
        return FAILED

    def plain(self, response):
        parts = base64.b64decode(response).split(b"\0")
        if len(parts) != 3:
            return FAILED
        return self.login(parts[1].decode(errors="replace"), parts[2].decode(errors="replace"))

    def reply(self, command):
        if self.auth_pending:
            self.auth_pending = False
            return self.plain(command)
        word, _, rest = command.partition(b" ")
        word = word.upper()
        if word in (b"QUIT", b"CAPA"):
            self.done = word == b"QUIT"
            return self.shared[word]
        if self.user is None:
            if word == b"USER":
                self.named = rest.decode(errors="replace")
                return b"+OK\r\n"
            if word == b"PASS" and self.named is not None:
                return self.login(self.named, rest.decode(errors="replace"))
            if word == b"AUTH" and rest.upper().startswith(b"PLAIN"):
                initial = rest[5:].strip()
                if initial:
                    return self.plain(initial)
                self.auth_pending = True
                return b"+ \r\n"
            return b"-ERR Unknown command.\r\n"
        return self.mailboxes[self.user].get(word + (b" " + rest if rest else b""), b"-ERR Unknown command.\r\n")


async def serve(mailboxes, shared, password, delay, reader, writer):
    loop = asyncio.get_running_loop()
    session = Session(mailboxes, shared, password)

    async def send():
        await deliver(session.queue, writer)
        writer.close()

    task = asyncio.create_task(send())
    session.queue.put_nowait((loop.time() + delay, shared[None]))
    pending = b""
    try:
        while not session.done:
            data = await reader.read(65536)
            if not data:
                break
            arrived = loop.time()
            pending += data
            *lines, pending = pending.split(b"\r\n")
            out = b"".join(session.reply(line) for line in lines)
            if out:
                session.queue.put_nowait((arrived + 2 * delay, out))
            if len(pending) > 4096:
                break
    except (OSError, ValueError, IndexError):
        pass
    session.queue.put_nowait((loop.time() + 2 * delay, None))
    await task


async def main():
    server, password, count, ms = sys.argv[1], sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
    hosts = sys.argv[5:]
    mailboxes = {}
    for n in range(1, count + 1):
        user = "conc%02d" % n
        mailboxes[user] = record(server, password, user)
    shared = next(iter(mailboxes.values()))
    delay = ms / 1000.0
    port = 0
    servers = []
    for host in hosts:
        s = await asyncio.start_server(lambda r, w: serve(mailboxes, shared, password, delay, r, w), host, port)
        port = s.sockets[0].getsockname()[1]
        servers.append(s)
    print("ready", port, flush=True)
    await asyncio.gather(*(s.serve_forever() for s in servers))


if __name__ == "__main__":
    asyncio.run(main())
