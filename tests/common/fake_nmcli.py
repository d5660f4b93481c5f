#!/usr/bin/python3
# A stand-in for NetworkManager's nmcli in the dial-up tests: it answers from scenario.json
# beside it and records each call in calls.log. Debian's own Python on purpose: the one first
# on the PATH may be another, and the tests replace the PATH.
import json, os, stat, sys, time

here = os.path.dirname(os.path.abspath(__file__))
scenario = json.load(open(os.path.join(here, "scenario.json")))
state_file = os.path.join(here, "state.json")
args = sys.argv[1:]

record = {"argv": args, "passwd": None}
if "passwd-file" in args:
    path = args[args.index("passwd-file") + 1]
    record["passwd"] = open(path).read()
    record["mode"] = oct(stat.S_IMODE(os.stat(path).st_mode))[2:]
with open(os.path.join(here, "calls.log"), "a") as log:
    log.write(json.dumps(record) + "\n")

conns = scenario.get("connections", [])
if os.path.exists(state_file):
    conns = json.load(open(state_file))

def save():
    json.dump(conns, open(state_file, "w"))

def esc(text):
    return text.replace("\\", "\\\\").replace(":", "\\:")

def answer(key):
    part = scenario.get(key, {})
    time.sleep(part.get("sleep", 0))
    if part.get("stderr"):
        sys.stderr.write(part["stderr"] + "\n")
    return part.get("exit", 0)

# Options before the command.
words = []
i = 0
while i < len(args):
    if args[i] in ("--terse", "-t"):
        i += 1
    elif args[i] in ("--escape", "--fields", "-f", "--wait", "-w", "--get-values", "-g"):
        i += 2
    else:
        words = args[i:]
        break
getv = args[args.index("--get-values") + 1] if "--get-values" in args else None

def find(name):
    for c in conns:
        if c["name"] == name:
            return c
    sys.stderr.write("Error: %s - no such connection profile.\n" % name)
    sys.exit(10)

if words[:2] == ["connection", "show"]:
    rest = words[2:]
    if rest[:1] == ["id"]:
        c = find(rest[1])
        if getv == "connection.type":
            print(c.get("type", "gsm"))
        sys.exit(0)
    code = answer("active" if "--active" in rest else "list")
    if code:
        sys.exit(code)
    for c in conns:
        if "--active" in rest:
            if c.get("state"):
                print("%s:%s:%s" % (esc(c["name"]), esc(c.get("type", "gsm")), c["state"]))
        else:
            print(esc(c["name"]))
    sys.exit(0)
if words[:2] == ["connection", "up"]:
    c = find(words[3])
    code = answer("up")
    if code == 0:
        c["state"] = "activated"
        save()
        print("Connection successfully activated (D-Bus active path: /org/freedesktop/NetworkManager/ActiveConnection/7)")
    sys.exit(code)
if words[:2] == ["connection", "down"]:
    c = find(words[3])
    if not c.get("state"):
        sys.stderr.write("Error: '%s' is not an active connection.\n" % words[3])
        sys.exit(10)
    code = answer("down")
    if code == 0:
        c["state"] = ""
        save()
    sys.exit(code)
sys.stderr.write("Error: argument not understood.\n")
sys.exit(2)
