#!/usr/bin/env python3
"""Updates cut off and finished, through the real executable on a simulated device whose flash
outlives each run (--sim-state).

    resume_runs.py TAVLIN_CLI

A power cut in an image, during the restart in and the restart out, and the tool killed
outright mid-image: each time `detect` tells where the update stopped (in its object and the
log) while the unit waits in its update environment, `update --resume` finishes it with the
package's versions, and no record shows the cut run as passed. A package changed since is
refused, as is --resume with nothing to finish.
"""
import hashlib
import json
import os
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

CLI = sys.argv[1]
PACKAGE = ("[Tavlin HInfo]\nImage_en=1\nImage_version=1\nImage_name=h.bin\n"
           "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=l.bin\n"
           "[Tavlin RInfo]\nImage_en=1\nImage_version=305419897\nImage_name=r.bin\n")
FINISHED = "M--12345678, S--12345679"
failures = []


def check(name, condition, detail):
    if not condition:
        failures.append(f"{name}: {detail}")


def run(folder, *args, faults=None):
    command = [CLI, "--simulate", "--sim-state", "unit.state", "--json"]
    if faults:
        command.append("--sim-faults=" + faults)
    done = subprocess.run(command + list(args), cwd=folder, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=120)
    try:
        report = json.loads(done.stdout.decode())
    except ValueError:
        report = {"unreadable": done.stdout.decode()}
    return done.returncode, report, done.stderr.decode()


def rows(folder, query):
    # Read-only: a connection that made the file would race the tool making its database.
    path = os.path.join(folder, "Tavlin_results.sqlite")
    with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as db:
        return db.execute(query).fetchall()


def make_package(folder):
    for name, fill, size in (("h.bin", b"H", 2000), ("l.bin", b"L", 3000), ("r.bin", b"R", 3000)):
        with open(os.path.join(folder, name), "wb") as image:
            image.write(fill * size)
    with open(os.path.join(folder, "pkg.ini"), "w") as package:
        package.write(PACKAGE)


def log_text(folder):
    with open(os.path.join(folder, "Tavlin_log.txt"), encoding="utf-8", errors="replace") as log:
        return log.read()


def found_and_finished(name, folder, expected, told=None):
    """detect tells the cut (stage, image) of a unit in its update environment (expected None:
    the unit came back working, and nothing is told); --resume finishes it either way; nothing
    is left to tell."""
    status, report, err = run(folder, "detect")
    cut = report.get("interrupted_update")
    if expected is None:
        check(name, status == 0 and cut is None, f"detect exit {status}: {report}")
    else:
        check(name, status == 0 and cut is not None, f"detect exit {status}: {report}")
        if cut is None:
            return
        for key, value in expected.items():
            check(name, cut.get(key) == value, f"{key}: {cut}")
        with open(os.path.join(folder, "pkg.ini"), "rb") as package:
            check(name, cut["sha256"] == hashlib.sha256(package.read()).hexdigest(), cut)
        check(name, cut["package"] == os.path.join(folder, "pkg.ini"), cut)
    if told:
        check(name, told in log_text(folder), "not in the log: " + told)
    status, report, err = run(folder, "update", "--resume", "--verify")
    check(name, status == 0 and report.get("verified") is True, f"resume exit {status}: {err}")
    status, report, _ = run(folder, "versions")
    versions = report.get("versions", {})
    check(name, (versions.get("master"), versions.get("slave")) == ("12345678", "12345679"),
          report)
    status, report, _ = run(folder, "detect")
    check(name, "interrupted_update" not in report, report)
    outcomes = rows(folder, "SELECT arguments, outcome FROM run WHERE command = 'update'")
    check(name, outcomes[-1] == ('["--resume","--verify"]', "passed") and
          all(outcome != "passed" for _, outcome in outcomes[:-1]), outcomes)


def power_cut(name, faults, expected, told):
    with tempfile.TemporaryDirectory() as folder:
        make_package(folder)
        # A unit that came back working is not waited for the whole default 20 s.
        status, _, _ = run(folder, "update", "pkg.ini", "--verify", "--replug-timeout", "2",
                           faults=faults)
        check(name, status == 1, f"cut update exit {status}")
        found_and_finished(name, folder, expected, told)


def tool_killed(name):
    with tempfile.TemporaryDirectory() as folder:
        make_package(folder)
        # Slow packets, so the kill lands in an image.
        process = subprocess.Popen(
            [CLI, "--simulate", "--sim-state", "unit.state", "--sim-faults=latency=3ms",
             "update", "pkg.ini"], cwd=folder, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            time.sleep(0.05)
            try:
                if rows(folder, "SELECT packet FROM update_progress WHERE stage = 'image' "
                                "AND image_number = 3 AND packet > 0"):
                    break
            except sqlite3.Error:
                pass
        process.send_signal(signal.SIGKILL)
        process.wait()
        found_and_finished(name, folder, {"stage": "image", "image": "LInfo"})
        outcomes = rows(folder, "SELECT outcome FROM run WHERE command = 'update'")
        check(name, outcomes[0] == ("interrupted",), outcomes)


def refusals():
    with tempfile.TemporaryDirectory() as folder:
        make_package(folder)
        status, report, err = run(folder, "update", "--resume")
        check("nothing to resume", status == 1 and "sim-1" in err, f"exit {status}: {err}")
        run(folder, "update", "pkg.ini", faults="powercut-at=RInfo:5@200ms")
        with open(os.path.join(folder, "l.bin"), "ab") as image:
            image.write(b"!")
        status, report, err = run(folder, "update", "--resume")
        check("changed package", status == 1 and "l.bin" in report.get("reason", ""),
              f"exit {status}: {report.get('reason')}")
        check("changed package", "Update FW: not resumed:" in log_text(folder), "log")
        _, report, _ = run(folder, "detect")
        check("changed package", report.get("interrupted_update", {}).get("image") == "RInfo",
              report)


power_cut("in an image", "powercut-at=LInfo:10@300ms",
          {"stage": "image", "image": "LInfo", "image_number": 3, "images": 4, "packet": 9},
          "the last update of this unit stopped at LInfo, image 3 of 4")
power_cut("at a version record", "powercut-at=HInfo-R:version@300ms",
          {"stage": "image", "image": "HInfo", "image_number": 2}, None)
# The restart's request never reached the unit: it comes back working, and is still updated.
power_cut("restart in", "powercut-at=restart-in@300ms", None, None)
power_cut("restart out", "powercut-at=restart-out@300ms", {"stage": "restart-out"},
          "the last update of this unit stopped as it restarted out of its update environment")
tool_killed("killed")
refusals()

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
