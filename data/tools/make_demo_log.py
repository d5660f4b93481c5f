#!/usr/bin/env python3
"""Writes data/demo/logfile.txt, the activity log of the demo: ten weeks of two mailboxes
checked through the day, busier on weekdays, with deletions of spam from a handful of
senders, and the odd error and automatic-mode switch. The same seed gives the same file.
Run it again only to change the demo; the result is committed."""
import datetime
import random
import sys

DAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]
MAILBOXES = [("alice", "127.0.0.1"), ("bob", "pop.example.net")]
SENDERS = [
    ("offers@cheap-pills.example", 9), ("news@cheap-pills.example", 5),
    ("winner@lottery.example", 6), ("claims@lottery.example", 3),
    ("deals@bargain.example", 5), ("info@bargain.example", 2),
    ("prince@royal-funds.example", 4), ("noreply@crypto-gains.example", 4),
    ("support@fake-bank.example", 3), ("team@seo-boost.example", 2),
    ("hello@dating-now.example", 2), ("ads@megastore.example", 1),
]
SUBJECTS = ["Cheap pills", "You have won", "Last chance!", "Your account", "Invest now"]


def stamp(when):
    return f"{DAYS[when.weekday()]} {when:%Y-%m-%d %H:%M}"


def main(path):
    rng = random.Random(1998)
    start = datetime.datetime(2026, 9, 28)
    lines = [f"Automatic mode enabled at {stamp(start + datetime.timedelta(hours=7))}"]
    senders = [s for s, weight in SENDERS for _ in range(weight)]
    for day in range(70):
        date = start + datetime.timedelta(days=day)
        weekend = date.weekday() >= 5
        if rng.random() < 0.05:
            continue  # a day away from the computer
        for user, server in MAILBOXES:
            checks = rng.randint(1, 3) if weekend else rng.randint(3, 8)
            times = sorted(rng.sample(range(7 * 60, 23 * 60), checks))
            for minutes in times:
                when = date + datetime.timedelta(minutes=minutes)
                waiting = rng.randint(0, 4) + (2 if 9 * 60 <= minutes <= 12 * 60 else 0)
                if rng.random() < 0.03:
                    lines.append(f"ERROR Operation timed out FOR {user} ON {server} AT {stamp(when)}")
                    continue
                lines.append(f'MAIL CHECK {waiting} msg(s) for "{user}" on server {server} at {stamp(when)}')
                spam = sum(1 for _ in range(waiting) if rng.random() < 0.45)
                for n in range(spam):
                    deleted = when + datetime.timedelta(minutes=1)
                    sender = rng.choice(senders)
                    lines += [
                        f"DELETE SPAM on {stamp(deleted)}",
                        f"   Server:  {server} Mailbox: {user}",
                        f"   Subject: {rng.choice(SUBJECTS)}",
                        f"   Sender:  {sender}",
                        f"   Size:    {rng.randint(900, 40000)}  Date: {deleted:%d %b %Y}",
                    ]
    with open(path, "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data/demo/logfile.txt")
