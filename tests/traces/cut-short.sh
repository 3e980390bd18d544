#!/bin/sh
# A recording that cannot be made is refused before anything runs (exit 2); one that fails on
# the way (here the file may not grow, as on a full disk) is told on stderr and in the JSON
# object's "recording" member while the run keeps its own exit status, and it replays up to
# where it ends instead of being refused whole.
#   cut-short.sh CLI
set -u
LC_ALL=zh_CN.UTF-8
export LC_ALL
cli=$1
fail() {
    echo "FAILED: $1"
    cat err.txt 2>/dev/null
    exit 1
}
rm -f Tavlin_log.txt
"$cli" --simulate --record= detect >out.txt 2>err.txt
status=$?
[ $status -eq 2 ] || fail "empty --record=: exit $status, not 2"
grep -qF '选项 --record 的值为空' err.txt || fail "empty --record=: no refusal on stderr"
[ ! -e Tavlin_log.txt ] || fail "empty --record=: the run started"

rm -f short.trace
(
    trap '' XFSZ
    ulimit -f 16
    "$cli" --simulate --json --record short.trace level --frames 3 >out.json 2>err.txt
    echo $? >status.txt
)
status=$(cat status.txt)
[ "$status" -eq 0 ] || fail "the level run: exit $status, not 0"
grep -qF '记录文件 short.trace 不完整' err.txt || fail "no word of the cut-short recording on stderr"
python3 - out.json <<'PY' || fail "the JSON object does not tell the cut-short recording"
import json, sys
o = json.loads(open(sys.argv[1], encoding="utf-8").read().strip().splitlines()[-1])
r = o["recording"]
assert r["path"] == "short.trace" and r["complete"] is False and r["reason"], r
assert o["exit"] == 0, o
PY
grep -qF 'Recording ends early' Tavlin_log.txt || fail "no word of it in the log"
"$cli" --replay short.trace level --frames 3 >out.txt 2>err.txt
status=$?
[ $status -ne 2 ] || fail "the short recording was refused"
echo ok
