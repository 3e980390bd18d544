#!/usr/bin/env python3
"""How often a SIGTERM that comes a few milliseconds after the start still ends the run
through its exit path: for each delay, RUNS runs of `CLI --simulate --json versions`, each sent
SIGTERM that long after it was started, counting the runs whose stdout holds the JSON object (a
run the signal ended outright has none).

    early_signal.py [--runs N] [--delays MS,MS,...] CLI [CLI...]
                                               (defaults: 20 runs at 2, 5 and 15 ms)

Several programs (a build before and after a change, say) take turns run by run, so that a
machine whose load changes meanwhile weighs on each alike. Runs in a temporary folder (the
runs write their logs there). Prints one line per program and delay and exits 0: a figure, not
a verdict (it depends on how busy the machine is). The deterministic check of the same thing is
the cli_signal_while_loading_* tests."""
import argparse
import json
import signal
import subprocess
import tempfile
import time

parser = argparse.ArgumentParser()
parser.add_argument("--runs", type=int, default=20)
parser.add_argument("--delays", default="2,5,15")
parser.add_argument("programs", nargs="+")
options = parser.parse_args()
delays = [float(d) for d in options.delays.split(",")]


def one_run(program, delay_ms, folder):
    """True when the run wrote its object; the exit status as well."""
    started = time.monotonic()
    child = subprocess.Popen([program, "--simulate", "--json", "versions"], cwd=folder,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    # Popen returns once the program runs; the delay counts from the start of Popen.
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
        objects = {program: 0 for program in options.programs}
        for _ in range(options.runs):
            for program in options.programs:
                objects[program] += one_run(program, delay, folder)
        for program in options.programs:
            print(f"SIGTERM after {delay:g} ms: {objects[program]:2d} of {options.runs} runs "
                  f"gave the JSON object  ({program})", flush=True)
