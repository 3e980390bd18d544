#!/usr/bin/env python3
"""Cuts firmware updates off and finishes them, on a simulated unit whose flash outlives each run.

    cut_and_resume.py TAVLIN_CLI [KILLS] [SEED]

Power cuts at 40 points spread through a whole update of a three-image package (HInfo to both
sensors, LInfo, RInfo: four writes):
  - the first, middle and last packet of each of the four images (12),
  - the four version records (4),
  - the restart into the update environment and back out of it (2),
  - 22 more after evenly spread counts of packets across the whole update.
Then KILLS (default 20) runs of tavlin-cli killed outright (SIGKILL) at moments drawn uniformly
from a whole update's length (measured first), with the packets slowed so the moments spread.

After each cut the unit is finished with `update --resume --verify` (a unit the cut left
untouched, a kill before anything was asked of it, with a plain update). Every unit must end with
the package's versions and a passing verify, and no record may show a cut run as passed. Prints
one line per cut and the totals; exits 1 on any failure.
"""
import json
import os
import random
import signal
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import time

CLI = os.path.abspath(sys.argv[1])
KILLS = int(sys.argv[2]) if len(sys.argv) > 2 else 20
SEED = int(sys.argv[3]) if len(sys.argv) > 3 else 1
PACKAGE = ("[Tavlin HInfo]\nImage_en=1\nImage_version=1\nImage_name=h.bin\n"
           "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=l.bin\n"
           "[Tavlin RInfo]\nImage_en=1\nImage_version=305419897\nImage_name=r.bin\n")
IMAGE_BYTES = {"h.bin": 4096, "l.bin": 16384, "r.bin": 16384}
PACKET = 62
WRITES = [("HInfo-L", "h.bin"), ("HInfo-R", "h.bin"), ("LInfo", "l.bin"), ("RInfo", "r.bin")]
PACKETS = [-(-IMAGE_BYTES[name] // PACKET) for _, name in WRITES]
FINISHED = ("12345678", "12345679")
failures = []


def run(folder, *args, faults=None, timeout=120):
    command = [CLI, "--simulate", "--sim-state", "unit.state", "--json"]
    if faults:
        command.append("--sim-faults=" + faults)
    started = time.monotonic()
    done = subprocess.run(command + list(args), cwd=folder, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=timeout)
    try:
        report = json.loads(done.stdout.decode())
    except ValueError:
        report = {}
    return done.returncode, report, time.monotonic() - started


def prepare(folder):
    rng = random.Random(7)
    for name, size in IMAGE_BYTES.items():
        with open(os.path.join(folder, name), "wb") as image:
            image.write(bytes(rng.randrange(256) for _ in range(size)))
    with open(os.path.join(folder, "pkg.ini"), "w") as package:
        package.write(PACKAGE)


def rows(folder, query):
    path = os.path.join(folder, "Tavlin_results.sqlite")
    with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as db:
        return db.execute(query).fetchall()


def cut_points():
    points = []
    for (image, _), count in zip(WRITES, PACKETS):
        for packet in (1, (count + 1) // 2, count):
            points.append((f"{image} packet {packet}", f"powercut-at={image}:{packet}@200ms"))
    for image, _ in WRITES:
        points.append((f"{image} version record", f"powercut-at={image}:version@200ms"))
    points.append(("restart in", "powercut-at=restart-in@200ms"))
    points.append(("restart out", "powercut-at=restart-out@200ms"))
    total = sum(PACKETS)
    for i in range(22):
        after = (i + 1) * total // 23
        points.append((f"after {after} of {total} packets", f"powercut-after={after}@200ms"))
    return points


def finish(name, folder, told):
    """Resumes (or, with nothing to resume, updates) and checks the unit and the records."""
    status, report, seconds = run(folder, "update", "--resume", "--verify")
    how = "resumed"
    if status != 0 and "no unfinished update" in report.get("reason", ""):
        # Nothing was asked of the unit before the cut: it must still be working.
        _, detected, _ = run(folder, "detect")
        if detected.get("device", {}).get("product_id") == 0x42:
            failures.append(f"{name}: left in its update environment with nothing to resume")
        status, report, more = run(folder, "update", "pkg.ini", "--verify")
        seconds += more
        how = "updated"
    versions = report.get("versions", {})
    ok = (status == 0 and report.get("verified") is True and
          (versions.get("master"), versions.get("slave")) == FINISHED)
    if not ok:
        failures.append(f"{name}: {how} exit {status}: {report.get('reason')}")
    outcomes = rows(folder, "SELECT arguments, outcome FROM run WHERE command = 'update' "
                            "ORDER BY id")
    cut_runs = outcomes[:-1]
    if any(outcome == "passed" for _, outcome in cut_runs) or outcomes[-1][1] != "passed":
        failures.append(f"{name}: records {outcomes}")
    print(f"{name:34} {told or '-':70.70} {how:8} {seconds:6.2f} s {'ok' if ok else 'FAILED'}",
          flush=True)
    return seconds


def power_cuts():
    times = []
    for name, faults in cut_points():
        with tempfile.TemporaryDirectory() as folder:
            prepare(folder)
            status, report, _ = run(folder, "update", "pkg.ini", "--verify",
                                    "--replug-timeout", "3", faults=faults)
            if status == 0:
                failures.append(f"{name}: the cut update claimed success")
            _, detected, _ = run(folder, "detect")
            told = next((m for m in detected.get("messages", []) if "stopped" in m
                         or "停止" in m), "")
            times.append(finish(name, folder, told))
    return times


def kills():
    with tempfile.TemporaryDirectory() as folder:
        prepare(folder)
        started = time.monotonic()
        run(folder, "update", "pkg.ini", "--verify", faults="latency=1ms")
        whole = time.monotonic() - started
    rng = random.Random(SEED)
    times = []
    for i in range(KILLS):
        moment = rng.uniform(0, whole)
        with tempfile.TemporaryDirectory() as folder:
            prepare(folder)
            process = subprocess.Popen(
                [CLI, "--simulate", "--sim-state", "unit.state", "--sim-faults=latency=1ms",
                 "update", "pkg.ini", "--verify"], cwd=folder, stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(moment)
            process.send_signal(signal.SIGKILL)
            ended = process.wait()
            if ended == 0:
                continue  # the update ended before the kill: nothing was cut
            _, detected, _ = run(folder, "detect")
            told = next((m for m in detected.get("messages", []) if "stopped" in m
                         or "停止" in m), "")
            times.append(finish(f"kill at {moment:.2f} of {whole:.2f} s", folder, told))
    return times, whole


cut_times = power_cuts()
kill_times, whole = kills()
print(f"power cuts: {len(cut_times)}, finished in a median {statistics.median(cut_times):.2f} s "
      f"(max {max(cut_times):.2f} s)")
if kill_times:
    print(f"kills: {len(kill_times)} of {KILLS} landed in the update ({whole:.2f} s long), "
          f"finished in a median {statistics.median(kill_times):.2f} s")
for failure in failures:
    print("FAILED", failure)
sys.exit(1 if failures else 0)
