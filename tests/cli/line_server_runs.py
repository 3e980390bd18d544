#!/usr/bin/env python3
"""The upload to the line's server, through the real executable, against a throwaway
PostgreSQL 15 cluster (exit 77, skipped, where PostgreSQL is not installed).

    line_server_runs.py TAVLIN_CLI

A run with TAVLIN_RESULTS_SERVER lands on the server after its JSON object; with the server down
the run's exit status is the same and the failure is a warning on stderr and in the log;
`results upload` sends what waited (exit 0), and says exit 1 while the server is down or none is
given. The password given in the address appears in no output, log or record.
"""
import json
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
BIN = "/usr/lib/postgresql/15/bin/"
PASSWORD = "pw-7Hq2xZ"
failures = []


def check(name, condition, detail):
    if not condition:
        failures.append(f"{name}: {detail}")


class Cluster:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="tavlin-pg-")
        self.as_user = []
        if os.geteuid() == 0:
            user = pwd.getpwnam("postgres")
            os.chown(self.folder, user.pw_uid, user.pw_gid)
            self.as_user = ["runuser", "-u", "postgres", "--"]
        self.pg(["initdb", "-D", self.data(), "-A", "trust", "-U", "postgres", "-E", "UTF8",
                 "--locale=C", "--no-sync"])
        self.start()

    def data(self):
        return os.path.join(self.folder, "data")

    def pg(self, args):
        subprocess.run(self.as_user + [BIN + args[0]] + args[1:], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self):
        options = (f"-c listen_addresses='' -c unix_socket_directories='{self.folder}' "
                   "-c port=5432 -c fsync=off")
        self.pg(["pg_ctl", "-D", self.data(), "-l", os.path.join(self.folder, "server.log"),
                 "-w", "-o", options, "start"])

    def stop(self):
        self.pg(["pg_ctl", "-D", self.data(), "-m", "fast", "-w", "stop"])

    def uri(self, database):
        return f"postgresql://postgres:{PASSWORD}@/{database}?host={self.folder}&port=5432"

    def sql(self, database, query):
        done = subprocess.run(["psql", "-h", self.folder, "-p", "5432", "-U", "postgres",
                               "-d", database, "-tAqc", query], capture_output=True, text=True)
        return done.stdout.strip()

    def remove(self):
        try:
            self.pg(["pg_ctl", "-D", self.data(), "-m", "immediate", "-w", "stop"])
        except subprocess.CalledProcessError:
            pass
        shutil.rmtree(self.folder, ignore_errors=True)


def run(args, folder, server=None):
    environment = dict(os.environ)
    environment.pop("TAVLIN_RESULTS_SERVER", None)
    if server is not None:
        environment["TAVLIN_RESULTS_SERVER"] = server
    done = subprocess.run([CLI] + args, cwd=folder, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=120, env=environment)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def no_password(name, folder, *texts):
    for text in texts:
        check(name, PASSWORD not in text, "the password was shown")
    for root, _, files in os.walk(folder):
        for file in files:
            with open(os.path.join(root, file), "rb") as content:
                check(name, PASSWORD.encode() not in content.read(), f"the password is in {file}")


def a_run_lands_on_the_server_after_its_object(cluster, folder):
    cluster.sql("postgres", "CREATE DATABASE after_run")
    status, out, err = run(["--simulate", "--json", "versions"], folder,
                           server=cluster.uri("after_run"))
    check("after run", status == 0 and "tavlin-cli:" not in err, f"exit {status}: {err}")
    uuid = json.loads(out)["record"]["run"]
    check("after run", cluster.sql("after_run", "SELECT uuid, command, outcome FROM tavlin.run")
          == f"{uuid}|versions|passed", "not on the server")
    no_password("after run", folder, out, err)
    # The option wins over the variable.
    status, out, err = run(["--simulate", "--json", "--results-server", cluster.uri("after_run"),
                            "versions"], folder, server="host=/nonexistent dbname=none")
    check("option first", status == 0 and "tavlin-cli:" not in err, f"exit {status}: {err}")
    check("option first", cluster.sql("after_run", "SELECT count(*) FROM tavlin.run") == "2",
          "the second run is not on the server")


def a_server_that_is_down_costs_the_run_nothing(cluster, folder):
    cluster.sql("postgres", "CREATE DATABASE down")
    cluster.stop()
    try:
        for args, succeeds in [(["--simulate", "--json", "versions"], True),
                               (["--simulate", "--json", "read", "0x10"], True),
                               (["--simulate", "--json", "--sim-faults", "refuse-from=1",
                                 "versions"], False)]:
            baseline, _, _ = run(args, folder)
            status, out, err = run(["--results-server", cluster.uri("down")] + args, folder)
            check(f"down {args}", status == baseline and (status == 0) == succeeds,
                  f"exit {status}, {baseline} without a server")
            check(f"down {args}", "tavlin-cli: " in err and "dbname=down" in err, err)
            check(f"down {args}", json.loads(out)["exit"] == baseline, out)
            with open(os.path.join(folder, "Tavlin_log.txt")) as log:
                check(f"down {args}", "Warning: run records not uploaded to" in log.read(),
                      "no warning in the log")
            no_password(f"down {args}", folder, out, err)
        status, out, err = run(["--json", "results", "upload"], folder, server=cluster.uri("down"))
        check("upload while down", status == 1 and "dbname=down" in err, f"exit {status}: {err}")
        no_password("upload while down", folder, out, err)
    finally:
        cluster.start()
    status, out, err = run(["results", "upload"], folder, server=cluster.uri("down"))
    check("upload", status == 0 and out.startswith("uploaded 6 run records to "),
          f"exit {status}: {out}{err}")
    check("upload", cluster.sql("down", "SELECT count(*), count(DISTINCT uuid) FROM tavlin.run")
          == "6|6", "not every run arrived once")
    status, out, err = run(["results", "upload"], folder, server=cluster.uri("down"))
    check("nothing waiting", status == 0 and out.strip() == "no run records are waiting for the upload",
          f"exit {status}: {out}{err}")


def results_upload_needs_a_server(cluster, folder):
    status, out, err = run(["results", "upload"], folder)
    check("no server", status == 1 and "TAVLIN_RESULTS_SERVER" in err, f"exit {status}: {err}")
    status, out, err = run(["results", "upload", "now"], folder, server=cluster.uri("postgres"))
    check("stray argument", status == 2, f"exit {status}: {err}")


if not os.path.exists(BIN + "initdb"):
    print("skipped: no PostgreSQL 15")
    sys.exit(77)
cluster = Cluster()
try:
    for case in [a_run_lands_on_the_server_after_its_object,
                 a_server_that_is_down_costs_the_run_nothing, results_upload_needs_a_server]:
        with tempfile.TemporaryDirectory() as folder:
            case(cluster, folder)
finally:
    cluster.remove()

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
