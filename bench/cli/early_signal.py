#!/usr/bin/env python3
"""How often a SIGTERM that comes a few milliseconds after the start still ends the run
through its exit path: for each delay, RUNS runs of `tavlin-cli --simulate --json versions`,
each sent SIGTERM that long after it was started, counting the runs whose stdout holds the
JSON object. A run that the signal ended outright has none.

    early_signal.py CLI [RUNS] [DELAY_MS...]      (defaults: 20 runs at 2, 5 and 15 ms)

Runs in a temporary folder (the runs write their logs there). Prints one line per delay and
exits 0: a figure, not a verdict (it depends on how busy the machine is)."""
import json
import os
import signal
import subprocess
import sys
import tempfile
import time

cli = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
delays = [float(d) for d in sys.argv[3:]] or [2.0, 5.0, 15.0]


def one_run(delay_ms, folder):
    started = time.monotonic()
    child = subprocess.Popen([cli, "--simulate", "--json", "versions"], cwd=folder,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    # Popen returns once the program is executing; the delay counts from the start of Popen.
    remaining = delay_ms / 1000 - (time.monotonic() - started)
    if remaining > 0:
        time.sleep(remaining)
    child.send_signal(signal.SIGTERM)
    out, _ = child.communicate(timeout=60)
    lines = out.decode("utf-8", "replace").strip().splitlines()
    try:
        json.loads(lines[-1])
        return True
    except (IndexError, ValueError):
        return False


with tempfile.TemporaryDirectory() as folder:
    for delay in delays:
        objects = sum(one_run(delay, folder) for _ in range(runs))
        print(f"SIGTERM after {delay:g} ms: {objects} of {runs} runs gave the JSON object",
              flush=True)
