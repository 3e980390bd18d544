#!/bin/sh
# A recorded run replayed where it is not a plain one: a recording cut short, a run that heard no
# device notices, a station that chose one device of several, and a run that an unexpected
# error ended. Each CASE records on the simulated device and replays in a folder of its own.
#   replay-edges.sh CLI CASE   (CASE: ran-out, no-notices, port, unexpected, unexpected-update)
set -u
LC_ALL=zh_CN.UTF-8
export LC_ALL
cli=$1
case=$2
here=$(dirname "$(realpath "$0")")
fail() {
    echo "FAILED ($case): $1"
    for f in out.txt err.txt replay.out replay.err; do
        [ -f $f ] && { echo "--- $f"; tail -n 20 $f; }
    done
    exit 1
}
# The JSON object of OUT: MEMBER (a.b for nested ones) must equal the JSON value.
member() {
    python3 - "$1" "$2" "$3" <<'PY' || fail "$1: $2 is not $3"
import json, sys
obj = json.loads(open(sys.argv[1], encoding="utf-8").read().strip().splitlines()[-1])
for key in sys.argv[2].split("."):
    obj = obj[key]
want = json.loads(sys.argv[3])
if obj != want:
    print(f"{sys.argv[2]} is {obj!r}, expected {want!r}")
    sys.exit(1)
PY
}
rm -f ./*.trace out.txt err.txt replay.out replay.err Tavlin_log*.txt
cp "$here"/package.ini "$here"/h.bin "$here"/l.bin .

case $case in
ran-out)
    # A calibrate recording cut after its 100th line: the replay ends as soon as the program
    # wants more than it holds, with the line, instead of waiting out the 30 s target limit.
    "$cli" --simulate --sim-faults foreign=4 --record full.trace calibrate >out.txt 2>err.txt ||
        fail "the recorded run failed"
    head -n 100 full.trace >cut.trace
    start=$(date +%s%N)
    "$cli" --json --replay cut.trace calibrate >replay.out 2>replay.err
    status=$?
    took=$((($(date +%s%N) - start) / 1000000))
    echo "the cut replay ended after $took ms, exit $status"
    [ $status -eq 1 ] || fail "exit $status, not 1"
    [ $took -lt 5000 ] || fail "it took $took ms"
    member replay.out reason '"记录文件在第 101 行用完"'
    member replay.out interrupted false
    grep -qF 'tavlin-cli: 记录文件在第 101 行用完' replay.err || fail "not told on stderr"
    grep -qF 'Replay: the recording ran out at line 101' Tavlin_log.txt || fail "not logged"
    # The whole recording replays as it was recorded.
    "$cli" --replay full.trace calibrate >replay.out 2>replay.err || fail "the whole replay failed"
    cmp -s out.txt replay.out || fail "the whole replay printed otherwise"
    ;;
no-notices)
    # The system gave no notices: the update follows the device by its own detections, and the
    # replay prints what the run printed, no detection more.
    "$cli" --simulate --sim-faults notices=off --record n.trace update package.ini >out.txt \
        2>err.txt || fail "the recorded run failed"
    ! grep -q '"event":"notice"' n.trace || fail "notices were recorded"
    "$cli" --replay n.trace update package.ini >replay.out 2>replay.err || fail "the replay failed"
    recorded=$(grep -c '正在检测设备' out.txt)
    replayed=$(grep -c '正在检测设备' replay.out)
    [ "$recorded" -eq "$replayed" ] || fail "detections: $replayed replayed, $recorded recorded"
    presence='正在检测设备|设备检测完成|未检测到相应设备|设备未准备好'
    grep -Ev "$presence" out.txt >want.txt
    grep -Ev "$presence" replay.out >got.txt
    cmp -s want.txt got.txt || fail "the replay printed otherwise: $(diff want.txt got.txt)"
    # With notices, the run records them and the replay gives them back.
    "$cli" --simulate --record w.trace update package.ini >out.txt 2>err.txt ||
        fail "the run with notices failed"
    grep -q '"event":"notice"' w.trace || fail "no notice was recorded"
    "$cli" --replay w.trace update package.ini >replay.out 2>replay.err ||
        fail "the replay with notices failed"
    [ "$(grep -c '正在检测设备' replay.out)" -gt 1 ] || fail "the recorded notices were not given"
    ;;
port)
    # One device of three: the replay works on the port the run chose, without being told.
    "$cli" --simulate --sim-devices 3 --device sim-2 --record p.trace --json versions >out.txt \
        2>err.txt || fail "the recorded run failed"
    grep -q '"event":"port","port":"sim-2"' p.trace || fail "the port was not recorded"
    "$cli" --json --replay p.trace versions >replay.out 2>replay.err || fail "the replay failed"
    member replay.out port '"sim-2"'
    member replay.out versions.master '"00010203"'
    # Another port asked for explicitly still wins, and finds no device there.
    "$cli" --json --replay p.trace --device sim-9 versions >replay.out 2>replay.err
    [ $? -eq 3 ] || fail "--device sim-9 did not find the port empty"
    ;;
unexpected | unexpected-update)
    # An exception on the command thread in the middle of the run: the device goes back to work
    # mode (out of its update environment), the recording ends marked cut short, the log has its
    # end line and the object every member.
    if [ "$case" = unexpected ]; then
        "$cli" --simulate --sim-faults throw-at=0x2d --record u.trace --json mode calibration \
            >out.txt 2>err.txt
        status=$?
        back='"report":"030e22'
    else
        "$cli" --simulate --sim-faults throw-at=0x1f --record u.trace --json update package.ini \
            >out.txt 2>err.txt
        status=$?
        back='"report":"033855'
    fi
    [ $status -eq 1 ] || fail "exit $status, not 1"
    python3 "$here/../cli/check_json.py" out.txt err.txt $status 1 --log-in . log_complete=true \
        'port="sim-1"' recording.complete=false >check.txt || fail "$(cat check.txt)"
    member out.txt recording.path '"u.trace"'
    member out.txt device.vendor_id 8137
    tail -n 1 u.trace | grep -q '"event":"end","complete":false,"reason":"the run ended on an unexpected error' ||
        fail "the recording does not end marked cut short: $(tail -n 1 u.trace)"
    grep '"event":"out"' u.trace | tail -n 1 | grep -qF "$back" ||
        fail "the device was not sent back: $(grep '"event":"out"' u.trace | tail -n 1 | cut -c1-60)"
    grep -q 'Unexpected error: .* done' Tavlin_log.txt || fail "the log does not say it was sent back"
    ;;
*)
    fail "no such case"
    ;;
esac
echo ok
