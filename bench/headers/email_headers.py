#!/usr/bin/python3
"""The same header work as bench_headers, done by Python's email package: each block of the
corpus is parsed into a message (headers only), then its subject, sender address and date are
read.  email_headers.py DIR PASSES  prints "messages/s <rate>"."""
import email.parser
import email.policy
import email.utils
import os
import sys
import time


def main():
    d, passes = sys.argv[1], max(1, int(sys.argv[2]))
    blocks = []
    for name in sorted(os.listdir(d)):
        if name.endswith(".txt"):
            with open(os.path.join(d, name), "rb") as f:
                blocks.append(f.read())
    parser = email.parser.BytesHeaderParser(policy=email.policy.compat32)
    checksum = 0
    start = time.perf_counter()
    for _ in range(passes):
        for block in blocks:
            msg = parser.parsebytes(block)
            subject = msg.get("Subject", "")
            sender = email.utils.parseaddr(msg.get("From", ""))[1]
            date = email.utils.parsedate_tz(msg.get("Date", ""))
            checksum += len(subject) + len(sender) + (1 if date else 0)
    seconds = time.perf_counter() - start
    print("messages/s %.0f (checksum %d)" % (len(blocks) * passes / seconds, checksum))


if __name__ == "__main__":
    main()
