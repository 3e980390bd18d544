#!/usr/bin/env python3
"""Checks one tavlin-cli --json run as a station reads it.

    check_json.py OUT ERR STATUS EXPECTED_STATUS [--log-in DIR] [MEMBER=JSON ...]

OUT and ERR hold the run's stdout and stderr, STATUS its exit status. stdout must be exactly one
JSON object on one line with every member each object carries; stderr must be exactly the
object's messages, each on its line, in order; the exit status must be EXPECTED_STATUS and the
object's "exit" and "result". --log-in: the object names DIR/Tavlin_log.txt, which holds the
run's end line. MEMBER=JSON: a member (a.b for nested ones) must equal the JSON value; MEMBER#=N:
an array member has N elements.
"""
import json
import os
import sys

WORDS = {0: "ok", 1: "failed", 2: "usage", 3: "no-device", 4: "no-access"}


def fail(why):
    print("FAILED:", why)
    sys.exit(1)


def member(obj, path):
    for key in path.split("."):
        if not isinstance(obj, dict) or key not in obj:
            fail(f"no member {path}")
        obj = obj[key]
    return obj


def main(argv):
    out_path, err_path, status, expected = argv[1], argv[2], int(argv[3]), int(argv[4])
    out = open(out_path, "rb").read().decode("utf-8")  # invalid UTF-8 fails here
    err = open(err_path, "rb").read().decode("utf-8")
    print(out, end="")
    if status != expected:
        fail(f"exit status {status}, expected {expected}")
    if out.count("\n") != 1 or not out.endswith("\n"):
        fail("stdout is not exactly one line")
    obj = json.loads(out)
    for key in ("command", "exit", "result", "interrupted", "reason", "messages", "device",
                "log", "elapsed_ms"):
        if key not in obj:
            fail(f"no member {key}")
    if obj["exit"] != status or obj["result"] != WORDS[status]:
        fail(f"exit/result {obj['exit']}/{obj['result']} for status {status}")
    if (obj["reason"] == "") != (status == 0):
        fail(f"reason {obj['reason']!r} for status {status}")
    printed = "".join(m + "\n" for m in obj["messages"])
    if err != printed:
        fail(f"stderr differs from the messages:\n{err!r}\n{printed!r}")
    args = argv[5:]
    while args:
        arg = args.pop(0)
        if arg == "--log-in":
            log = os.path.join(os.path.abspath(args.pop(0)), "Tavlin_log.txt")
            if obj["log"] != log:
                fail(f"log {obj['log']!r}, expected {log!r}")
            if "Tavlin log end!" not in open(log, encoding="utf-8", errors="replace").read():
                fail("the log has no end line")
        elif "#=" in arg:
            path, count = arg.split("#=", 1)
            if len(member(obj, path)) != int(count):
                fail(f"{path} has {len(member(obj, path))} elements, expected {count}")
        else:
            path, value = arg.split("=", 1)
            if member(obj, path) != json.loads(value):
                fail(f"{path} is {member(obj, path)!r}, expected {value}")


main(sys.argv)
