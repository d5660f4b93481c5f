#!/usr/bin/env python3
"""The headers-only check with Python's poplib, for bench/run: log in, STAT, then TOP n 0 for
each message, one command at a time (poplib waits for every reply), QUIT.

    poplib_check.py HOST:PORT USER PASSWORD

prints "check <s> messages <n>"."""
import poplib
import sys
import time


def main():
    host, port = sys.argv[1].rsplit(":", 1)
    start = time.perf_counter()
    pop = poplib.POP3(host, int(port), timeout=120)
    pop.user(sys.argv[2])
    pop.pass_(sys.argv[3])
    count, _ = pop.stat()
    headers = 0
    for n in range(1, count + 1):
        _, lines, _ = pop.top(n, 0)
        headers += len(lines)
    pop.quit()
    print("check %.3f messages %d" % (time.perf_counter() - start, count))
    return 0 if headers > 0 or count == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
