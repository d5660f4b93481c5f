#!/usr/bin/env python3
"""Start-up time of the window program: from starting `tarnwick` to its main window's first
paint, which the program reports when TARNWICK_EXIT_ON_FIRST_PAINT is set (it prints the
moment on the monotonic clock, the one read here just before the start, and ends).
The first start is in a fresh data folder (the shipped files are put in place); the others
reuse that folder, as a user's every later start does. Not a test: it prints the figures.
    startup.py BUILD_DIR [RUNS]      (default 10 runs after the first)
Runs on the Qt platform given by QT_QPA_PLATFORM (bench/run uses offscreen, and xcb under
xvfb-run when it is installed)."""
import os
import statistics
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
program = os.path.join(build, "src", "tarnwick")
if not os.access(program, os.X_OK):
    sys.exit(f"no {program}: build tarnwick first")


def start_once(env):
    """Seconds from the start to the first paint, or None with the reason printed."""
    started = time.monotonic_ns()
    proc = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        out, err = proc.communicate(timeout=60)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.communicate()
        print("   tarnwick did not paint its window within 60 s")
        return None
    for line in out.splitlines():
        if line.startswith("first-paint "):
            return (int(line.split()[1]) - started) / 1e9
    print(f"   tarnwick ended (exit {proc.returncode}) without painting its window: {err.strip()[-300:]}")
    return None


with tempfile.TemporaryDirectory(prefix="tarnwick-start-") as tmp:
    env = dict(os.environ, HOME=tmp, TARNWICK_HOME=os.path.join(tmp, "data"), TARNWICK_EXIT_ON_FIRST_PAINT="1",
               XDG_RUNTIME_DIR=tmp, XDG_CONFIG_HOME=os.path.join(tmp, "config"),
               XDG_DATA_HOME=os.path.join(tmp, "share"))
    os.makedirs(env["TARNWICK_HOME"])
    first = start_once(env)
    later = [t for t in (start_once(env) for _ in range(runs)) if t is not None]
    # The floor under it: loading the libraries and making the application object, then
    # "--version" ends before any setting, rule list or window is touched.
    floor = []
    for _ in range(runs):
        started = time.monotonic_ns()
        subprocess.run([program, "--version"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        floor.append((time.monotonic_ns() - started) / 1e9)
platform = os.environ.get("QT_QPA_PLATFORM", "default")
if first is None or not later:
    sys.exit(1)
print(f"   {platform:<10} first start {first * 1000:7.1f} ms; later starts: best {min(later) * 1000:7.1f} ms, "
      f"median {statistics.median(later) * 1000:7.1f} ms ({len(later)} runs); "
      f"'tarnwick --version' best {min(floor) * 1000:.1f} ms")
