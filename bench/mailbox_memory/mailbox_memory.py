#!/usr/bin/env python3
"""Peak resident memory of a check of a big mailbox, by `tarnwick-cli check` and by the window
program (its check of the selected mailbox, run offscreen through --demo-screenshot), on a
mailbox bench/run filled: points a fresh data folder at SERVER and measures each program's
peak resident set (the kernel's ru_maxrss of the finished child). Not a test: it prints the
figures and how they compare with the 100 MB goal.
    mailbox_memory.py BUILD_DIR SERVER PASSWORD [USER]      (user: bench)"""
import os
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1])
server, password = sys.argv[2], sys.argv[3]
user = sys.argv[4] if len(sys.argv) > 4 else "bench"
cli = os.path.join(build, "src", "tools", "tarnwick-cli")
window = os.path.join(build, "src", "tarnwick")
if not os.access(cli, os.X_OK):
    sys.exit(f"no {cli}: build tarnwick-cli first")


def measure(command, env, tmp):
    """Runs command; its result, seconds and own peak resident set in KiB (waited for by
    wait4, so no other child's figure mixes in)."""
    with open(os.path.join(tmp, "out"), "w+") as out, open(os.path.join(tmp, "err"), "w+") as err:
        started = time.monotonic()
        proc = subprocess.Popen(command, env=env, stdout=out, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
        seconds = time.monotonic() - started
        out.seek(0)
        err.seek(0)
        return (subprocess.CompletedProcess(command, os.waitstatus_to_exitcode(status), out.read(), err.read()),
                seconds, usage.ru_maxrss)


def report(name, run, seconds, kb, listed=None):
    what = f", {listed} messages listed" if listed is not None else ""
    print(f"   {name:<34} exit {run.returncode}{what}, {seconds:.1f} s, peak resident memory {kb / 1024:.1f} MB "
          f"({'under' if kb < 100 * 1024 else 'OVER'} the 100 MB goal)")
    if run.returncode != 0:
        print("   " + run.stderr.strip()[-500:])


with tempfile.TemporaryDirectory(prefix="tarnwick-bench-") as tmp:
    home = os.path.join(tmp, "data")
    os.makedirs(home)
    env = dict(os.environ, HOME=tmp, TARNWICK_HOME=home, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=tmp)
    subprocess.run([cli, "--data", home, "mailbox", "set", "1", "--server", server, "--user", user, "--tls", "none",
                    "--password-stdin", "--store", "file"], input=password + "\n", text=True, env=env, check=True,
                   stdout=subprocess.DEVNULL)
    run, seconds, kb = measure([cli, "--data", home, "check", "--slot", "1"], env, tmp)
    report("tarnwick-cli check", run, seconds, kb, len(run.stdout.splitlines()))
    if os.access(window, os.X_OK):
        run, seconds, kb = measure([window, "--demo-screenshot", os.path.join(tmp, "shot.png")], env, tmp)
        report("tarnwick (window, offscreen)", run, seconds, kb)
    else:
        print(f"   no {window}: build tarnwick for the window's figure")
