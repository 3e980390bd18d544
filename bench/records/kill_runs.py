#!/usr/bin/env python3
"""Kills tavlin-cli outright at random moments of firmware updates and checks what is left.

    kill_runs.py TAVLIN_CLI [COUNT]

Each of COUNT runs (default 200) updates the simulated device in a folder of its own, with
--json and --verify, and is sent SIGKILL at a moment drawn uniformly from the first 1.2 times a
whole run's length (measured first), so some runs end before the kill. After each:
  - the station database, when there is one, passes PRAGMA integrity_check;
  - a run that printed its JSON object with "result": "ok" has its record completed as passed,
    under the run id the object names: no run is shown as passed without its record.
Prints the counts and exits 1 on any failure.
"""
import json
import os
import random
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

CLI = os.path.abspath(sys.argv[1])
COUNT = int(sys.argv[2]) if len(sys.argv) > 2 else 200
PACKAGE = "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=l.bin\n"
ARGS = ["--simulate", "--json", "update", "pkg.ini", "--verify"]


def prepare(folder):
    with open(os.path.join(folder, "l.bin"), "wb") as image:
        image.write(os.urandom(3000))
    with open(os.path.join(folder, "pkg.ini"), "w") as package:
        package.write(PACKAGE)


def whole_run_seconds():
    with tempfile.TemporaryDirectory() as folder:
        prepare(folder)
        started = time.monotonic()
        subprocess.run([CLI] + ARGS, cwd=folder, capture_output=True, check=True, timeout=60)
        return time.monotonic() - started


def one_run(folder, delay):
    prepare(folder)
    with open(os.path.join(folder, "out.json"), "wb") as out:
        process = subprocess.Popen([CLI] + ARGS, cwd=folder, stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=subprocess.DEVNULL)
        time.sleep(delay)
        process.send_signal(signal.SIGKILL)
        process.wait()
    database = os.path.join(folder, "Tavlin_results.sqlite")
    problems = []
    record = None
    if os.path.exists(database):
        with sqlite3.connect(database) as db:
            check = db.execute("PRAGMA integrity_check").fetchall()
            if check != [("ok",)]:
                problems.append(f"integrity_check: {check}")
            record = db.execute("SELECT uuid, outcome FROM run").fetchall()
    text = open(os.path.join(folder, "out.json"), "rb").read().decode(errors="replace")
    shown_passed = False
    try:
        shown = json.loads(text)
        shown_passed = shown.get("result") == "ok"
    except ValueError:
        pass  # cut off before the object, or in the middle of it: nothing was shown
    if shown_passed:
        kept = shown.get("record", {})
        if not kept.get("complete") or record != [(kept.get("run"), "passed")]:
            problems.append(f"shown as passed, record {record}, object's {kept}")
    return problems, record, shown_passed


def main():
    whole = whole_run_seconds()
    random.seed(int(os.environ.get("KILL_SEED", "1")))
    failures = 0
    outcomes = {}
    shown = 0
    started = time.monotonic()
    for n in range(COUNT):
        with tempfile.TemporaryDirectory() as folder:
            problems, record, shown_passed = one_run(folder, random.uniform(0, 1.2 * whole))
        outcome = record[0][1] if record else "no record yet"
        outcomes[outcome] = outcomes.get(outcome, 0) + 1
        shown += shown_passed
        for problem in problems:
            failures += 1
            print(f"run {n}: {problem}")
    print(f"{COUNT} runs killed within {1.2 * whole:.2f} s of their start "
          f"({time.monotonic() - started:.0f} s in all); records left: {outcomes}; "
          f"shown as passed: {shown}; failures: {failures}")
    return 1 if failures else 0


sys.exit(main())
