#!/bin/sh
# Starts tavlin-cli in the background, waits until its output shows READY, sends SIGNAL and
# checks that the run left through the exit path: exit status 1, "Tavlin log end!" as the log's
# last line, EXPECT in the output and FORBID nowhere in it (fixed strings; empty: no check),
# all within 2.5 s of the signal.
# Runs in the current directory, where the log is written.
#   QuitBySignal.sh SIGNAL READY EXPECT FORBID COMMAND [ARGUMENTS...]
set -u
sig=$1 ready=$2 expect=$3 forbid=$4
shift 4
rm -f Tavlin_log.txt
: >out.txt
"$@" >out.txt 2>&1 &
pid=$!
tries=0
until grep -qF -- "$ready" out.txt; do
    tries=$((tries + 1))
    if [ $tries -gt 400 ] || ! kill -0 $pid 2>/dev/null; then
        echo "never saw: $ready"
        kill -KILL $pid 2>/dev/null
        cat out.txt
        exit 1
    fi
    sleep 0.05
done
fail() {
    echo "FAILED: $1"
    exit 1
}
kill -"$sig" $pid
# The command stops at its next step; running on to its natural end is no stop.
tries=0
while kill -0 $pid 2>/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 50 ]; then
        kill -KILL $pid
        cat out.txt
        fail "still running 2.5 s after the signal"
    fi
    sleep 0.05
done
wait $pid
status=$?
cat out.txt
[ $status -eq 1 ] || fail "exit status $status, not 1"
last=$(tail -n 1 Tavlin_log.txt)
case "$last" in
    *"Tavlin log end!") ;;
    *) fail "the log's last line is: $last" ;;
esac
[ -z "$expect" ] || grep -qF -- "$expect" out.txt || fail "the output lacks: $expect"
[ -z "$forbid" ] || ! grep -qF -- "$forbid" out.txt || fail "the output has: $forbid"
