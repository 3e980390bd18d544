#!/usr/bin/env python3
"""Command lines the CLI refuses before it touches a device, through the real executable.

    refused_options.py TAVLIN_CLI VERSION

Each refused line ends with exit status 2, its message on stderr and nothing on stdout; with
--json the one object says the same and carries the tool's version. --version answers with the
version; a Russian or Chinese run's usage and refusals are in its language.
"""
import json
import os
import subprocess
import sys
import tempfile

CLI, VERSION = sys.argv[1], sys.argv[2]
failures = []

# (arguments, a part of the English message)
REFUSED = [
    (["--replay", "", "versions"], "option --replay was given an empty value"),
    (["--replay=", "versions"], "option --replay was given an empty value"),
    (["--simulate", "--record=", "versions"], "option --record was given an empty value"),
    (["--simulate", "--sim-faults=", "versions"], "option --sim-faults was given an empty value"),
    (["--simulate", "--sim-devices", "", "versions"],
     "option --sim-devices was given an empty value"),
    (["--simulate", "versions", "--replay-pace"], "option --replay-pace needs a value"),
    (["--simulate", "--sim-devices", "two", "versions"],
     "--sim-devices takes a number of devices from 1 to 64"),
    (["--simulate", "--replay-pace", "recorded", "versions"], "--replay-pace needs --replay"),
    (["--replay-pace=immediate", "layout", "10x10"], "--replay-pace needs --replay"),
    (["--simulate", "--log-dir=", "detect"], "--log-dir takes a folder"),
    (["--simulate", "--device", "", "versions"], "--device takes a USB port"),
    (["--simulate", "level", "--png", ""], "option --png was given an empty value"),
    (["--simulate", "script", ""], "'script' was given an empty argument"),
    (["--simulate", "calibrate", "--screen", ""], "option --screen was given an empty value"),
    (["--all", "--simulate", "layout", "10x10"], "--all works with versions, mode and update only"),
    (["--all", "--simulate", "list"], "--all works with versions, mode and update only"),
    (["--all", "--help"], "--all works with versions, mode and update only"),
    (["--all", "--version"], "--all works with versions, mode and update only"),
    (["bogus"], "unknown command 'bogus' (see --help)"),
]


def run(args, locale="C", folder=None):
    env = dict(os.environ, LC_ALL=locale, LANG=locale)
    done = subprocess.run([CLI] + args, cwd=folder, env=env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def check(name, condition, detail):
    if not condition:
        failures.append(f"{name}: {detail}")


with tempfile.TemporaryDirectory() as folder:
    for args, message in REFUSED:
        name = " ".join(repr(a) if a == "" else a for a in args)
        status, out, err = run(args, folder=folder)
        check(name, status == 2, f"exit status {status}, expected 2\n{err}")
        check(name, message in err, f"stderr lacks {message!r}: {err!r}")
        check(name, out == "", f"stdout not empty: {out!r}")
        status, out, err = run(["--json"] + args, folder=folder)
        try:
            obj = json.loads(out)
        except ValueError:
            check(name, False, f"--json: stdout is no JSON object: {out!r}")
            continue
        check(name, status == 2 and obj["exit"] == 2 and obj["result"] == "usage",
              f"--json: exit status {status}, object {obj}")
        check(name, message in obj["reason"], f"--json: reason {obj['reason']!r}")
        check(name, obj.get("tool_version") == VERSION, f"--json: tool_version {obj}")
    check("refused lines", not os.path.exists(os.path.join(folder, "Tavlin_log.txt")),
          "a refused line started a log")

    status, out, err = run(["--version"])
    check("--version", status == 0 and out == f"tavlin-cli {VERSION}\n",
          f"exit status {status}, stdout {out!r}, stderr {err!r}")
    status, out, err = run(["--version", "--json"])
    obj = json.loads(out) if status == 0 else {}
    check("--version --json", obj.get("tool_version") == VERSION and f"tavlin-cli {VERSION}" in err,
          f"exit status {status}, stdout {out!r}, stderr {err!r}")

    # The usage and the refusals in the user's language; the built-in language is Chinese.
    for locale, usage, refusal, mode in [
            ("ru_RU.UTF-8", "использование:\n  tavlin-cli", "параметр --replay получил пустое значение",
             "mode — это 'work' или 'calibration', а не 'fast' (см. --help)"),
            ("zh_CN.UTF-8", "用法:\n  tavlin-cli", "选项 --replay 的值为空",
             "mode 只能是 'work' 或 'calibration'，而不是 'fast'（见 --help）"),
            ("C", "usage:\n  tavlin-cli", "option --replay was given an empty value",
             "mode is 'work' or 'calibration', not 'fast' (see --help)")]:
        status, out, err = run(["--help"], locale)
        check(f"{locale} --help", status == 0 and out.startswith(usage),
              f"exit status {status}, stdout {out[:200]!r}")
        status, out, err = run(["--replay=", "versions"], locale)
        check(f"{locale} --replay=", status == 2 and refusal in err,
              f"exit status {status}, stderr {err!r}")
        status, out, err = run(["--simulate", "mode", "fast"], locale)
        check(f"{locale} mode fast", status == 2 and mode in err,
              f"exit status {status}, stderr {err!r}")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
