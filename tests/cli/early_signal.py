#!/usr/bin/env python3
"""A SIGTERM sent at the very start of a run, before the program could have set anything up
(held back by the launcher's signal mask until the program takes it): the run still ends
through the exit path - exit 1, a JSON object that says "interrupted", and for a run with a
device the log's end line.
    early_signal.py CLI
Runs in the current directory, where the log is written."""
import json
import os
import signal
import subprocess
import sys

cli = sys.argv[1]
failed = False
for command in (["layout", "1920x1080"], ["--simulate", "detect"]):
    if os.path.exists("Tavlin_log.txt"):
        os.remove("Tavlin_log.txt")
    signal.pthread_sigmask(signal.SIG_BLOCK, [signal.SIGTERM])
    child = subprocess.Popen([cli, "--json", *command], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
    signal.pthread_sigmask(signal.SIG_UNBLOCK, [signal.SIGTERM])
    child.send_signal(signal.SIGTERM)
    out, _ = child.communicate(timeout=30)
    lines = out.decode("utf-8", "replace").strip().splitlines()
    report = json.loads(lines[-1]) if lines else {}
    problems = []
    if child.returncode != 1:
        problems.append(f"exit {child.returncode}, not 1")
    if report.get("interrupted") is not True or report.get("exit") != 1:
        problems.append(f"the JSON object does not say interrupted: {lines[-1:] }")
    if "detect" in command:
        with open("Tavlin_log.txt", encoding="utf-8", errors="replace") as log:
            last = (log.read().rstrip().splitlines() or [""])[-1]
            if not last.endswith("Tavlin log end!"):
                problems.append("the log has no end line")
    for problem in problems:
        print(f"FAILED {' '.join(command)}: {problem}")
        failed = True
    if not problems:
        print(f"ok {' '.join(command)}")
sys.exit(1 if failed else 0)
