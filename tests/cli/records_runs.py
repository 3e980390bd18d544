#!/usr/bin/env python3
"""The station's run records, through the real executable.

    records_runs.py TAVLIN_CLI

Each case runs tavlin-cli on the simulated device in a folder of its own and reads the record
back with sqlite3 and with `results`: a firmware update's record with its images and versions,
written before the JSON object names it; a file that is no station database left as it was and
the run told of it (failing only with --require-record); --results none; --all's copies writing
one database; and a run killed outright, shown as interrupted once a later run opens the file.
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
PACKAGE = "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=l.bin\n"
failures = []


def run(args, folder):
    done = subprocess.run([CLI] + args, cwd=folder, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=120)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def check(name, condition, detail):
    if not condition:
        failures.append(f"{name}: {detail}")


def rows(path, query):
    with sqlite3.connect(path) as db:
        return db.execute(query).fetchall()


def update_is_recorded_before_its_verdict(folder):
    with open(os.path.join(folder, "l.bin"), "wb") as image:
        image.write(b"\x4c" * 300)
    with open(os.path.join(folder, "pkg.ini"), "w") as package:
        package.write(PACKAGE)
    status, out, err = run(["--simulate", "--json", "--operator", "ann", "--lot", "L7",
                            "update", "pkg.ini", "--verify"], folder)
    check("update", status == 0, f"exit {status}: {err}")
    record = json.loads(out)["record"]
    database = os.path.join(folder, "Tavlin_results.sqlite")
    check("update", record["complete"] and record["path"] == database, record)
    runs = rows(database, "SELECT uuid, command, outcome, exit_status, operator, lot FROM run")
    check("update", runs == [(record["run"], "update", "passed", 0, "ann", "L7")], runs)
    images = rows(database, "SELECT section, size, verify_result FROM image")
    check("update", images == [("LInfo", 300, "passed")], images)
    unit = rows(database, "SELECT port, product_id, versions_before, versions_after FROM unit")
    check("update", unit == [("sim-1", unit[0][1], "M--00010203, S--00010204",
                              "M--12345678, S--00010204")], unit)
    steps = rows(database, "SELECT name, outcome FROM step ORDER BY id")
    check("update", steps == [("enter update environment", "passed"), ("write images", "passed"),
                              ("leave update environment", "passed"), ("verify", "passed")], steps)
    check("update", rows(database, "PRAGMA integrity_check") == [("ok",)], "integrity")
    status, out, err = run(["--json", "results", "--port", "sim-1"], folder)
    listed = json.loads(out)["runs"]
    check("results", status == 0 and [r["uuid"] for r in listed] == [record["run"]], out)
    status, out, err = run(["results", "--port", "sim-9"], folder)
    check("results", status == 0 and out == "", out)
    # The export is the file the line's people take away: written, and told as written.
    # (A run without measurements is the CSV's header alone.)
    for args, name, holds in [(["runs.json"], "runs.json", record["run"]),
                              (["--csv", "runs.csv"], "runs.csv", "run_uuid,started,port,")]:
        status, out, err = run(["results", "export"] + args, folder)
        path = os.path.join(folder, name)
        check("export", status == 0 and os.path.exists(path) and name in out, f"{out}{err}")
        if os.path.exists(path):
            with open(path, encoding="utf-8") as exported:
                check("export", holds in exported.read(), name)


def files_are_kept_with_their_hashes(folder):
    with open(os.path.join(folder, "s.ini"), "w") as script:
        script.write("1 pwd 10 1 5A\n1 srd 10\n")
    for args, kind in [(["level", "--frames", "3", "--png", "pic.png"], "picture"),
                       (["script", "s.ini"], "script")]:
        status, out, err = run(["--simulate"] + args, folder)
        check(kind, status == 0, f"exit {status}: {err}")
        database = os.path.join(folder, "Tavlin_results.sqlite")
        kept = rows(database, f"SELECT path, sha256, size FROM artefact WHERE kind = '{kind}'")
        check(kind, len(kept) >= 1, kept)
        for path, sha256, size in kept:
            with open(path, "rb") as kept_file:
                data = kept_file.read()
            check(kind, (sha256, size) == (hashlib.sha256(data).hexdigest(), len(data)),
                  f"{path}: {sha256} {size}")


def a_foreign_file_is_left_alone(folder):
    path = os.path.join(folder, "notes.sqlite")
    with open(path, "wb") as foreign:
        foreign.write(b"station notes, not a database\n" * 40)
    before = open(path, "rb").read()
    for extra, expected in [([], 0), (["--require-record"], 1)]:
        status, out, err = run(["--simulate", "--json", "--results", path] + extra +
                               ["versions"], folder)
        record = json.loads(out)["record"]
        check(f"foreign {extra}", status == expected, f"exit {status}")
        check(f"foreign {extra}", not record["complete"] and record["reason"], record)
        check(f"foreign {extra}", "notes.sqlite" in err, err)
    check("foreign", open(path, "rb").read() == before, "the file was changed")
    with open(os.path.join(folder, "Tavlin_log.txt")) as log:
        check("foreign", "Run record not kept in" in log.read(), "no log line")


def records_can_be_turned_off(folder):
    status, out, err = run(["--simulate", "--json", "--results", "none", "versions"], folder)
    check("none", status == 0 and "record" not in json.loads(out), out)
    check("none", not os.path.exists(os.path.join(folder, "Tavlin_results.sqlite")), "made one")


def all_copies_write_one_database(folder):
    status, out, err = run(["--simulate", "--sim-devices", "3", "--all", "--json",
                            "--log-dir", "logs", "versions"], folder)
    check("all", status == 0, f"exit {status}: {err}")
    database = os.path.join(folder, "logs", "Tavlin_results.sqlite")
    ports = rows(database, "SELECT port FROM unit ORDER BY port")
    check("all", ports == [("sim-1",), ("sim-2",), ("sim-3",)], ports)
    outcomes = rows(database, "SELECT DISTINCT outcome FROM run")
    check("all", outcomes == [("passed",)], outcomes)


def a_killed_run_is_found_interrupted(folder):
    process = subprocess.Popen([CLI, "--simulate", "level", "--frames", "100000"], cwd=folder,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    database = os.path.join(folder, "Tavlin_results.sqlite")
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if os.path.exists(database) and rows(database, "SELECT COUNT(*) FROM run") == [(1,)]:
            break
        time.sleep(0.05)
    process.send_signal(signal.SIGKILL)
    process.wait()
    check("killed", rows(database, "SELECT outcome FROM run") == [("running",)], "not running")
    check("killed", rows(database, "PRAGMA integrity_check") == [("ok",)], "integrity")
    run(["--simulate", "versions"], folder)
    outcomes = rows(database, "SELECT command, outcome FROM run ORDER BY id")
    check("killed", outcomes == [("level", "interrupted"), ("versions", "passed")], outcomes)


for case in [update_is_recorded_before_its_verdict, files_are_kept_with_their_hashes,
             a_foreign_file_is_left_alone,
             records_can_be_turned_off, all_copies_write_one_database,
             a_killed_run_is_found_interrupted]:
    with tempfile.TemporaryDirectory() as folder:
        case(folder)

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
