#!/usr/bin/env python3
"""Several simulated devices at one station, through the real executable.

    station_runs.py TAVLIN_CLI

Each case runs tavlin-cli on three simulated devices (ports sim-1 to sim-3) in a folder of its
own and checks its exit status and its JSON object: the device list, the refusal to choose, one
device chosen by its port, and --all with one device failing, with an interruption (SIGTERM),
hung up (SIGHUP), with its parent killed outright and with a log folder it cannot write.
"""
import ctypes
import json
import os
import signal
import subprocess
import sys
import tempfile
import time

CLI = sys.argv[1]
STATION = ["--simulate", "--sim-devices", "3"]
PORTS = ["sim-1", "sim-2", "sim-3"]
PACKAGE = "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=h.bin\n"
failures = []


def run(args, folder, interrupt_after=None, sent=signal.SIGTERM):
    process = subprocess.Popen([CLI] + STATION + args, cwd=folder, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if interrupt_after is not None:
        time.sleep(interrupt_after)
        process.send_signal(sent)
    out, err = process.communicate(timeout=60)
    return process.returncode, out.decode(), err.decode()


def check(name, condition, detail):
    if not condition:
        failures.append(f"{name}: {detail}")


def make_package(folder):
    with open(os.path.join(folder, "pkg.ini"), "w") as package:
        package.write(PACKAGE)
    with open(os.path.join(folder, "h.bin"), "wb") as image:
        image.write(bytes(range(256)) * 40)


def case(name, args, status, interrupt_after=None, then=None, sent=signal.SIGTERM, prepare=None):
    with tempfile.TemporaryDirectory() as folder:
        if prepare:
            prepare(folder)
        make_package(folder)
        got, out, err = run(args, folder, interrupt_after, sent)
        check(name, got == status, f"exit status {got}, expected {status}\n{err}")
        if "--json" in args:
            try:
                obj = json.loads(out)
            except ValueError:
                check(name, False, f"stdout is no JSON object: {out!r}")
                return
            check(name, obj.get("exit") == got, f"object's exit {obj.get('exit')} != {got}")
            if then:
                then(name, obj, err, folder)
        elif then:
            then(name, None, err, folder)


def listed(name, obj, err, folder):
    ports = [d["port"] for d in obj["devices"]]
    check(name, ports == PORTS, f"ports {ports}")
    check(name, all(d["mode"] == "application" and d["product_id"] == 0x55
                    for d in obj["devices"]), obj["devices"])


def refused(name, obj, err, folder):
    check(name, "sim-1, sim-2, sim-3" in err, f"the ports are not named: {err!r}")
    check(name, not os.path.exists(os.path.join(folder, "Tavlin_log.txt")), "a device was used")


def port_missing(name, obj, err, folder):
    check(name, "sim-7" in err and "sim-1, sim-2, sim-3" in err, f"the ports are not named: {err!r}")
    check(name, obj["result"] == "no-device" and "sim-1, sim-2, sim-3" in obj["reason"], obj)
    check(name, [m for m in obj["messages"] if "sim-1, sim-2, sim-3" in m], obj["messages"])
    check(name, obj["log"] is None, f"a log is named: {obj['log']}")
    check(name, not os.path.exists(os.path.join(folder, "Tavlin_log.txt")), "a device was used")


def chosen(name, obj, err, folder):
    check(name, obj.get("port") == "sim-2", f"port {obj.get('port')}")
    check(name, "versions" in obj, "no versions")


def all_but_one(name, obj, err, folder):
    devices = {d["port"]: d for d in obj["devices"]}
    check(name, sorted(devices) == PORTS, f"devices {sorted(devices)}")
    for port, device in devices.items():
        want = 1 if port == "sim-2" else 0
        check(name, device["exit"] == want, f"{port} exit {device['exit']}")
        log = os.path.join(folder, "logs", port, "Tavlin_log.txt")
        check(name, os.path.exists(log) and "Tavlin log end!" in open(log, encoding="utf-8",
                                                                         errors="replace").read(),
              f"{port}: no complete log in logs/{port}")
    check(name, "sim-2" in obj["reason"] and "sim-1" not in obj["reason"], obj["reason"])
    # Without a terminal every line of a device is led by its port.
    summary = [line for line in err.splitlines() if not line.startswith("[sim-")]
    check(name, len(summary) == 1, f"lines without a port: {summary}")


def all_stopped(name, obj, err, folder):
    check(name, obj["interrupted"], "not marked interrupted")
    check(name, all(d["interrupted"] and d["exit"] == 1 for d in obj["devices"]),
          [(d["port"], d["exit"], d["interrupted"]) for d in obj["devices"]])


def file_in_the_way(folder):
    os.makedirs(os.path.join(folder, "logs"))
    open(os.path.join(folder, "logs", "sim-2"), "w").close()


def no_copy_started(name, obj, err, folder):
    check(name, os.path.join("logs", "sim-2") in err, f"the folder is not named: {err!r}")
    check(name, err.count("\n") == 1 and err.endswith("\n"), f"not one line: {err!r}")
    check(name, "devices" not in obj, f"devices were run: {obj.get('devices')}")
    for port in PORTS:
        check(name, not os.path.exists(os.path.join(folder, "logs", port, "Tavlin_log.txt")),
              f"{port} was run")


case("list", ["list", "--json"], 0, then=listed)
case("refusal without --device", ["versions"], 2, then=refused)
case("--device", ["--device", "sim-2", "versions", "--json"], 0, then=chosen)
case("--device on an empty port", ["--device", "sim-7", "versions", "--json"], 3,
     then=port_missing)
case("--all with one refusing", ["--all", "update", "pkg.ini", "--json", "--log-dir", "logs",
                                 "--sim-faults", "device=sim-2,refuse=0x38"], 1, then=all_but_one)
case("--all interrupted", ["--all", "update", "pkg.ini", "--json", "--sim-faults",
                           "latency=5ms"], 1, interrupt_after=1.5, then=all_stopped)
case("--all only for three commands", ["--all", "detect"], 2)
case("--all with a device's log folder in the way", ["--all", "versions", "--json", "--log-dir",
                                                      "logs"], 2, then=no_copy_started,
     prepare=file_in_the_way)
case("--all hung up", ["--all", "update", "pkg.ini", "--json", "--sim-faults", "latency=5ms"], 1,
     interrupt_after=1.5, then=all_stopped, sent=signal.SIGHUP)


def parent_killed(name):
    """--all's parent killed outright in the middle of an update: each copy is asked to stop
    and ends through its own exit path (exit status 1, its log's end line), not by a signal
    and not at the update's end. This script takes the orphaned copies in to see their end."""
    libc = ctypes.CDLL(None, use_errno=True)
    check(name, libc.prctl(36, 1, 0, 0, 0) == 0, "no subreaper")  # PR_SET_CHILD_SUBREAPER
    with tempfile.TemporaryDirectory() as folder:
        make_package(folder)
        parent = subprocess.Popen([CLI] + STATION + ["--all", "update", "pkg.ini", "--json",
                                                     "--log-dir", "logs", "--sim-faults",
                                                     "latency=5ms"],
                                  cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE)
        for line in parent.stderr:  # images going out
            if b"%" in line:
                break
        copies = []
        for task in os.listdir(f"/proc/{parent.pid}/task"):
            with open(f"/proc/{parent.pid}/task/{task}/children") as children:
                copies += [int(pid) for pid in children.read().split()]
        parent.kill()
        parent.communicate(timeout=30)
        check(name, len(copies) == len(PORTS), f"copies {copies}")
        deadline = time.monotonic() + 15
        ended = {}
        while len(ended) < len(copies) and time.monotonic() < deadline:
            for pid in copies:
                if pid not in ended:
                    got, status = os.waitpid(pid, os.WNOHANG)
                    if got == pid:
                        ended[pid] = os.waitstatus_to_exitcode(status)
            time.sleep(0.02)
        for pid in copies:
            if pid not in ended:
                os.kill(pid, signal.SIGKILL)
                os.waitpid(pid, 0)
        check(name, sorted(ended.values()) == [1] * len(copies),
              f"the copies' exit statuses {ended} (1: stopped through the exit path)")
        for port in PORTS:
            log = os.path.join(folder, "logs", port, "Tavlin_log.txt")
            last = ""
            if os.path.exists(log):
                with open(log, encoding="utf-8", errors="replace") as text:
                    last = (text.read().splitlines() or [""])[-1]
            check(name, last.endswith("Tavlin log end!"), f"{port}: the log ends with {last!r}")
    libc.prctl(36, 0, 0, 0, 0)


parent_killed("--all's parent killed")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
