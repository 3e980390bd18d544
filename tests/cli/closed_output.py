#!/usr/bin/env python3
"""Output nobody reads any more, through the real executable: the run goes on to its end.

    closed_output.py TAVLIN_CLI

Each case starts tavlin-cli on the simulated device in a folder of its own, reads what a station
script's `| head -n N` would read of one stream, closes it and waits for the end. Every case
checks the job's own exit status, the log's end line as its last line and, where the closing
was seen while the log ran, one line that tells it; the session's recording shows where the
device was left. A last case starts the run with both outputs closed and stops it midway.
"""
import json
import os
import signal
import subprocess
import sys
import tempfile
import time

CLI = sys.argv[1]
PACKAGE = "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=h.bin\n"
WORK_PRODUCT = 0x55
WORK_MODE = "22"
failures = []


def recording(folder):
    with open(os.path.join(folder, "s.trace"), encoding="utf-8") as trace:
        return [json.loads(line) for line in trace.read().splitlines()[1:]]


def sent_back_to_work(events):
    """The update went to its end: the last report sent asks the device to restart into its
    working firmware (update control 0x38 with the work product id)."""
    outs = [e["report"][2:6] for e in events if e.get("event") == "out"]
    return outs[-1:] == [f"38{WORK_PRODUCT:02x}"], f"last report sent {outs[-1:]}"


def nothing_to_check(events):
    return True, ""


def left_in_work_mode(events):
    """The last mode switch sent asked for work mode, and its reply is in the recording."""
    switches = [i for i, e in enumerate(events)
                if e.get("event") == "out" and e["report"][2:4] == "0e"]
    last = switches[-1] if switches else -1
    answered = any(e.get("event") == "in" for e in events[last + 1:]) if switches else False
    mode = events[last]["report"][4:6] if switches else None
    return mode == WORK_MODE and answered, f"last mode switch {mode}, answered {answered}"


def json_object_says_ok(out):
    try:
        report = json.loads(out)
    except ValueError:
        return False, f"no object: {out!r}"
    ok = (report.get("exit") == 0 and report.get("log_complete") is True
          and report.get("recording", {}).get("complete") is True)
    return ok, report


# name, arguments, the stream closed, lines read before closing it, output closed told in the
# log (None: the run writes no log, and must start none to say it), what the recording must
# show, environment
CASES = [
    ("layout | head -n 1", ["layout", "1920x1080"], "stdout", 1, None, None, {}),
    ("update | head -n 1", ["--record", "s.trace", "update", "pkg.ini"], "stdout", 1, True,
     sent_back_to_work, {}),
    ("calibrate | head -n 7", ["--record", "s.trace", "calibrate"], "stdout", 7, True,
     left_in_work_mode, {"LC_ALL": "zh_CN.UTF-8"}),
    ("--json update 2>closed", ["--json", "--record", "s.trace", "update", "pkg.ini"], "stderr",
     0, True, sent_back_to_work, {}),
    ("--json versions | true", ["--json", "--record", "s.trace", "versions"], "stdout", 0, False,
     nothing_to_check, {}),
]


def check(name, condition, detail):
    if not condition:
        failures.append(f"{name}: {detail}")


def run(name, args, closed, read_lines, told, device_check, env):
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "pkg.ini"), "w") as package:
            package.write(PACKAGE)
        with open(os.path.join(folder, "h.bin"), "wb") as image:
            image.write(bytes(range(256)) * 40)
        process = subprocess.Popen([CLI] + (["--simulate"] if device_check else []) + args,
                                   cwd=folder,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, env={**os.environ, **env})
        reader = process.stdout if closed == "stdout" else process.stderr
        other = process.stderr if closed == "stdout" else process.stdout
        for _ in range(read_lines):
            reader.readline()
        reader.close()
        kept = other.read().decode("utf-8", "replace")
        status = process.wait(timeout=60)
        check(name, status == 0, f"exit status {status}, not the job's 0")
        if told is None:
            check(name, not os.path.exists(os.path.join(folder, "Tavlin_log.txt")),
                  "a run without a log started one")
            return
        lines = []
        if os.path.exists(os.path.join(folder, "Tavlin_log.txt")):
            with open(os.path.join(folder, "Tavlin_log.txt"), encoding="utf-8",
                      errors="replace") as log:
                lines = log.read().splitlines()
        check(name, lines and lines[-1].endswith("Tavlin log end!"),
              f"the log's last line is {lines[-1:]}")
        notes = [line for line in lines if "Output closed: " in line]
        want = [f"Output closed: {closed} ("] if told else []
        check(name, [n[n.index("Output closed: "):][:len(w)] for n, w in zip(notes, want)] == want
              and len(notes) == len(want), f"notes of a closed output: {notes}")
        check(name, all(n.endswith("; the run goes on") for n in notes), notes)
        shown, detail = device_check(recording(folder))
        check(name, shown, detail)
        if "--json" in args and closed == "stderr":
            ok, report = json_object_says_ok(kept)
            check(name, ok, report)


def started_without_outputs(closing, json_mode, told):
    """Started with outputs closed (`>&- 2>&-`): the files and pipes the run opens must not take
    their numbers (its texts would go into them, the quit signals' pipe among them), so a SIGTERM
    in the middle still ends the run through its exit path, and the log tells the closed output
    its texts were meant for."""
    name = f"{json_mode} {closing}, then SIGTERM"
    with tempfile.TemporaryDirectory() as folder:
        command = f'exec "$0" --simulate {json_mode} --sim-faults latency=300ms versions {closing}'
        process = subprocess.Popen(["sh", "-c", command, CLI], cwd=folder,
                                   stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        log = os.path.join(folder, "Tavlin_log.txt")
        for _ in range(200):  # the run has started its log and printed its first line
            if os.path.exists(log) and "Open hid device" in open(log, errors="replace").read():
                break
            time.sleep(0.025)
        process.send_signal(signal.SIGTERM)
        status = process.wait(timeout=30)
        check(name, status == 1, f"exit status {status}, not 1 (stopped)")
        lines = open(log, encoding="utf-8", errors="replace").read().splitlines()
        check(name, lines[-1:] and lines[-1].endswith("Tavlin log end!"), f"log ends {lines[-1:]}")
        check(name, any(f"Output closed: {told} (" in line for line in lines), lines)


WITHOUT_OUTPUTS = [(">&- 2>&-", "--json", "stderr"), (">&-", "", "stdout")]
for case in CASES:
    run(*case)
for closing in WITHOUT_OUTPUTS:
    started_without_outputs(*closing)
for failure in failures:
    print("FAILED:", failure)
print(f"{len(CASES) + len(WITHOUT_OUTPUTS)} cases, {len(failures)} failures")
sys.exit(1 if failures else 0)
