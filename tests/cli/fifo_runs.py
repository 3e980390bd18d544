#!/usr/bin/env python3
"""Names that are FIFOs on every path of tavlin-cli that opens a file, through the real executable.

    fifo_runs.py TAVLIN_CLI

Opening a FIFO waits for its other end, for ever when there is none, so each case runs in a
folder of its own with a time limit: a run that waits shows as a failure, not as a hung suite.
Each must end within a few seconds with its exit status (2 for the log and the recording, 1 for
a command's own file), its message, and the log line where a log is written. Texts are the
program's own (Chinese): the run is given no language file.
"""
import json
import os
import subprocess
import sys
import tempfile
import time

CLI = os.path.abspath(sys.argv[1])
LIMIT = 15  # seconds: a run that waits on a FIFO waits for ever; a refusal takes well under one
failures = []

LOG_NOT_A_FILE = "日志文件 {} 不是普通文件"
TRACE_NOT_A_FILE = "记录文件 {} 不是普通文件"
NOT_A_FILE = "{} 不是普通文件"
LEVELING = "正在初始化设备"  # the leveling never starts: the pictures are refused first

# name, arguments (--simulate but for the replay), FIFOs to make, regular files to write, exit
# status, text on stderr or stdout, log line (None: no log is expected to hold one)
CASES = [
    ("record", ["--simulate", "--record", "rec.trace", "versions"], ["rec.trace"], {}, 2,
     TRACE_NOT_A_FILE.format("rec.trace"), None),
    ("replay", ["--replay", "rec.trace", "versions"], ["rec.trace"], {}, 2,
     TRACE_NOT_A_FILE.format("rec.trace"), None),
    ("log_dir", ["--simulate", "--log-dir", "logs", "versions"], ["logs/Tavlin_log.txt"], {}, 2,
     LOG_NOT_A_FILE.format("logs/Tavlin_log.txt"), None),
    ("log_probe", ["--simulate", "--log-dir", "logs", "versions"], ["logs/.Tavlin_log_probe"], {},
     2, "无法写入日志文件夹 logs", None),
    ("default_log", ["--simulate", "versions"], ["Tavlin_log.txt"], {}, 2,
     LOG_NOT_A_FILE.format("Tavlin_log.txt"), None),
    ("script", ["--simulate", "script", "s.ini"], ["s.ini"], {}, 1,
     "script s.ini cannot be read: not a regular file",
     "Script s.ini cannot be read: not a regular file"),
    ("burst_read_writes", ["--simulate", "script", "r.ini"], ["b.bin"], {"r.ini": "1 brd 10 4 b.bin\n"}, 1,
     "burst file b.bin cannot be opened: not a regular file",
     "Burst file b.bin cannot be opened (wb): not a regular file"),
    ("burst_write_reads", ["--simulate", "script", "w.ini"], ["b.bin"], {"w.ini": "1 bwd 7 30 4 b.bin\n"}, 1,
     "burst file b.bin cannot be opened: not a regular file",
     "Burst file b.bin cannot be opened (rb): not a regular file"),
    ("picture_master", ["--simulate", "level", "--png", "png"], ["png/master.png"], {}, 1,
     NOT_A_FILE.format("png/master.png"), None),
    ("picture_slave", ["--simulate", "level", "--png", "png"], ["png/slave.png"], {}, 1,
     NOT_A_FILE.format("png/slave.png"), None),
    ("fpga", ["--simulate", "fpga", "code.bin"], ["code.bin"], {}, 1,
     "FPGA file code.bin cannot be read: not a regular file",
     "FPGA file code.bin cannot be read (not a regular file)"),
    ("package", ["--simulate", "update", "pkg.ini"], ["pkg.ini"], {}, 1,
     "cannot read the package pkg.ini: not a regular file",
     'Update FW: package file "pkg.ini" cannot be read (not a regular file)!'),
    ("image", ["--simulate", "update", "pkg.ini"], ["h.bin"],
     {"pkg.ini": "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=h.bin\n"}, 1,
     "cannot open image h.bin: not a regular file",
     'Update FW: image file "h.bin" cannot be opened (not a regular file)!'),
]


def check(name, condition, detail):
    if not condition:
        failures.append(f"{name}: {detail}")


def run_case(name, args, fifos, files, status, text, log_line, json_object):
    with tempfile.TemporaryDirectory() as folder:
        for fifo in fifos:
            os.makedirs(os.path.join(folder, os.path.dirname(fifo)), exist_ok=True)
            os.mkfifo(os.path.join(folder, fifo))
        for file, content in files.items():
            with open(os.path.join(folder, file), "w") as out:
                out.write(content)
        command = [CLI] + (["--json"] if json_object else []) + args
        env = dict(os.environ, LC_ALL="zh_CN.UTF-8", LANG="zh_CN.UTF-8")
        start = time.monotonic()
        try:
            done = subprocess.run(command, cwd=folder, stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=LIMIT, env=env)
        except subprocess.TimeoutExpired:
            check(name, False, f"still running after {LIMIT} s: it waits on the FIFO")
            return
        elapsed = time.monotonic() - start
        out, err = done.stdout.decode(), done.stderr.decode()
        # Refused at once: well under a device's answer limit, with room for a sanitizer build on
        # a loaded machine (4.5 s seen there); a FIFO that is waited on hits LIMIT instead.
        check(name, elapsed < 8, f"took {elapsed:.1f} s")
        check(name, done.returncode == status,
              f"exit status {done.returncode}, expected {status}\n{out}{err}")
        check(name, text in out + err, f"no {text!r} in\n{out}{err}")
        check(name, LEVELING not in out + err, "the leveling started before the refusal")
        if json_object:
            try:
                obj = json.loads(out)
            except ValueError:
                check(name, False, f"stdout is no JSON object: {out!r}")
                return
            check(name, obj.get("exit") == status, f"object's exit {obj.get('exit')}")
            check(name, text in obj.get("reason", "") + "".join(obj.get("messages", [])),
                  f"the object does not say {text!r}: {out}")
        if log_line is not None:
            log_path = os.path.join(folder, "Tavlin_log.txt")
            log = open(log_path, encoding="utf-8").read() if os.path.exists(log_path) else ""
            check(name, log_line in log, f"no {log_line!r} in the log:\n{log}")
            check(name, log.endswith("Tavlin log end!\n"), f"the log has no end line:\n{log}")


for case in CASES:
    run_case(*case, json_object=False)
# The object of a refused run says why, the log's and the recording's refusals included.
for case in CASES:
    if case[0] in ("record", "default_log", "script", "picture_master"):
        run_case(case[0] + "_json", *case[1:], json_object=True)

for failure in failures:
    print(failure)
print(f"{len(CASES)} FIFO cases, {len(failures)} failure(s)")
sys.exit(1 if failures else 0)
