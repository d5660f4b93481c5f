#!/usr/bin/env python3
"""Peak resident memory of a check of a big mailbox: starts the private Dovecot fixture, fills
the "bench" user's Maildir with N small messages (written directly, so filling takes seconds),
points a fresh data folder at it and runs `tarnwick-cli check` on it, measuring the program's
peak resident set (the kernel's ru_maxrss of the finished child). Not a test: it prints the
figure and how it compares with the 100 MB goal.
    mailbox_memory.py [BUILD_DIR] [MESSAGES]     (defaults: build, 10000)"""
import grp
import os
import pwd
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
source = os.path.dirname(os.path.dirname(here))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(source, "build"))
count = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
cli = os.path.join(build, "src", "tools", "tarnwick-cli")
fixture = os.path.join(source, "tests", "fixtures", "dovecot_fixture.py")
if not os.access(cli, os.X_OK):
    sys.exit(f"no {cli}: build tarnwick-cli first")

def measure(command, env, tmp):
    """Runs command; its own peak resident set in KiB (waited for by wait4, so no other
    child's figure mixes in)."""
    with open(os.path.join(tmp, "out"), "w+") as out, open(os.path.join(tmp, "err"), "w+") as err:
        proc = subprocess.Popen(command, env=env, stdout=out, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
        out.seek(0)
        err.seek(0)
        return (subprocess.CompletedProcess(command, os.waitstatus_to_exitcode(status), out.read(),
                                            err.read()), usage.ru_maxrss)


SENDERS = ["deals@shop.example", "mom@family.example", "news@letters.example", "123456@numbers.example"]
SUBJECTS = ["Get FREE stuff!", "Dinner on Sunday", "BIG NEWS TODAY", "hello"]

with tempfile.TemporaryDirectory(prefix="tarnwick-bench-") as tmp:
    os.chmod(tmp, 0o755)  # Dovecot's processes run as nobody and must reach the folder
    dove = os.path.join(tmp, "dovecot")
    subprocess.run([sys.executable, fixture, "start", dove], check=True, stdout=subprocess.DEVNULL)
    try:
        ini = dict(line.strip().split("=", 1) for line in open(os.path.join(dove, "dovecot.ini"))
                   if "=" in line)
        port = ini["pop3_port"]
        uid, gid = pwd.getpwnam("nobody").pw_uid, grp.getgrnam("nogroup").gr_gid
        maildir = os.path.join(dove, "mail", "bench")
        started = time.monotonic()
        for sub in ("", "new", "cur", "tmp"):
            os.makedirs(os.path.join(maildir, sub), exist_ok=True)
            os.chown(os.path.join(maildir, sub), uid, gid)
        for i in range(count):
            body = (f"From: {SENDERS[i % 4]}\r\nTo: bench@example.org\r\n"
                    f"Subject: {SUBJECTS[i % 4]} {i}\r\nDate: Mon, 7 Dec 2026 10:00:00 +0000\r\n"
                    f"Message-ID: <{i}@bench.example>\r\n\r\nMessage number {i}.\r\n")
            name = os.path.join(maildir, "cur", f"{1700000000 + i}.M{i}P1.bench:2,")
            with open(name, "w", newline="") as f:
                f.write(body)
            os.chown(name, uid, gid)
        filled = time.monotonic() - started

        home = os.path.join(tmp, "home")
        os.makedirs(home)
        env = dict(os.environ, TARNWICK_HOME=home, QT_QPA_PLATFORM="offscreen")
        subprocess.run([cli, "--data", home, "mailbox", "set", "1", "--server", f"127.0.0.1:{port}",
                        "--user", "bench", "--tls", "none", "--password-stdin", "--store", "file"],
                       input="secret\n", text=True, env=env, check=True, stdout=subprocess.DEVNULL)
        started = time.monotonic()
        run, peak_kb = measure([cli, "--data", home, "check", "--slot", "1"], env, tmp)
        seconds = time.monotonic() - started
        # The window program lists the same mailbox in its message list and saves a picture.
        window = os.path.join(build, "src", "ui", "tarnwick")
        window_run = None
        if os.access(window, os.X_OK):
            started = time.monotonic()
            window_run, window_kb = measure([window, "--demo-screenshot", os.path.join(tmp, "shot.png")],
                                            env, tmp)
            window_seconds = time.monotonic() - started
    finally:
        subprocess.run([sys.executable, fixture, "stop", dove], stdout=subprocess.DEVNULL)

listed = len(run.stdout.splitlines())
print(f"mailbox of {count} messages written in {filled:.1f} s")
print(f"tarnwick-cli check: exit {run.returncode}, {listed} messages listed, {seconds:.1f} s")
if run.returncode != 0:
    print(run.stderr.strip())
print(f"peak resident memory: {peak_kb / 1024:.1f} MB "
      f"({'under' if peak_kb < 100 * 1024 else 'OVER'} the 100 MB goal)")
if window_run is not None:
    print(f"tarnwick (window, offscreen) listing the mailbox: exit {window_run.returncode}, "
          f"{window_seconds:.1f} s, peak resident memory {window_kb / 1024:.1f} MB "
          f"({'under' if window_kb < 100 * 1024 else 'OVER'} the 100 MB goal)")
    if window_run.returncode != 0:
        print(window_run.stderr.strip()[-500:])
