#!/usr/bin/env python3
"""Two runs of the CLI started together in one log folder: each ends with a whole log of its
own (one start line first, one end line last), the JSON of each names that run's file, and the
log found there before is kept exactly once. Usage: two_runs_one_folder.py CLI [ARG...]"""
import json
import os
import shutil
import subprocess
import sys

folder = os.path.abspath("shared")
shutil.rmtree(folder, ignore_errors=True)
os.makedirs(folder)
with open(os.path.join(folder, "Tavlin_log.txt"), "w") as f:
    f.write("an earlier run\n")

command = sys.argv[1:] + ["--json", "--log-dir", folder, "versions"]
runs = [subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE) for _ in range(2)]
failures = []
logs = []
for run in runs:
    out, err = run.communicate(timeout=60)
    if run.returncode != 0:
        failures.append(f"exit {run.returncode}: {err.decode(errors='replace')}")
        continue
    logs.append(json.loads(out)["log"])

if len(set(logs)) != len(logs):
    failures.append(f"both runs name one log: {logs}")
for log in logs:
    with open(log, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()
    starts = [n for n, line in enumerate(lines) if line.endswith("Tavlin log start!")]
    ends = [n for n, line in enumerate(lines) if line.endswith("Tavlin log end!")]
    if starts != [0] or ends != [len(lines) - 1]:
        failures.append(f"{log} is not one whole run: starts at {starts}, ends at {ends}")
kept = sorted(name for name in os.listdir(folder) if name.startswith("Tavlin_log."))
with open(os.path.join(folder, "Tavlin_log.1.txt")) as f:
    if f.read() != "an earlier run\n" or "Tavlin_log.2.txt" in kept:
        failures.append(f"the earlier log was not kept exactly once: {kept}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
