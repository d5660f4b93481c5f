#!/usr/bin/env python3
"""Kills crash_writer with SIGKILL at random moments, over and over, and has it check after
every kill that each file it saves is one whole version. Bounded by time and by a number of
kills; prints how many kills were made.
    crash_driver.py WRITER [SECONDS] [MAX_KILLS]"""
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

writer = sys.argv[1]
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60
max_kills = int(sys.argv[3]) if len(sys.argv) > 3 else 400
rng = random.Random(int(os.environ.get("CRASH_SEED", "0")) or None)

with tempfile.TemporaryDirectory(prefix="tarnwick-crash-") as folder:
    env = dict(os.environ, TARNWICK_HOME=folder, QT_QPA_PLATFORM="offscreen")
    kills = 0
    start = time.monotonic()
    while time.monotonic() - start < seconds and kills < max_kills:
        proc = subprocess.Popen([writer, folder], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        # The first moments check and start up; the kill lands anywhere in the saving after.
        time.sleep(rng.uniform(0.005, 0.25))
        if proc.poll() is None:
            proc.send_signal(signal.SIGKILL)
            kills += 1
        out, err = proc.communicate()
        if proc.returncode not in (-signal.SIGKILL,):
            sys.stderr.write(err.decode(errors="replace"))
            print(f"FAIL: the writer ended by itself with {proc.returncode} after {kills} kills")
            sys.exit(1)
    final = subprocess.run([writer, folder, "--check"], env=env, capture_output=True, text=True)
    print(final.stdout.strip())
    if final.returncode != 0:
        sys.stderr.write(final.stderr)
        print(f"FAIL after {kills} kills")
        sys.exit(1)
    # The check itself must see damage: a file cut short, a log entry cut in the middle.
    for name, cut in (("known.lst", 0.5), ("subj.lst", 0.5), ("activity.txt", 0.97), ("settings.ini", 0.0)):
        path = os.path.join(folder, name)
        with open(path, "rb") as f:
            whole = f.read()
        # A cut that lands just after a line break leaves whole lines: move it into the line.
        end = int(len(whole) * cut)
        end -= 1 if end and whole[end - 1 : end] == b"\n" else 0
        with open(path, "wb") as f:
            f.write(whole[:end] if cut else b"General\\Count")
        damaged = subprocess.run([writer, folder, "--check"], env=env, capture_output=True, text=True)
        with open(path, "wb") as f:
            f.write(whole)
        if damaged.returncode != 3:
            print(f"FAIL: a damaged {name} was not noticed")
            sys.exit(1)
    if kills < 20:
        print(f"FAIL: only {kills} kills in {seconds} s")
        sys.exit(1)
    print(f"{kills} kills in {time.monotonic() - start:.0f} s, every file whole after each")
