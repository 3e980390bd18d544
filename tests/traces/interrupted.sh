#!/bin/sh
# SIGINT in the middle of a recorded run: the run ends through the exit path (status 1) and the
# recording holds every report up to the end - each output report has its reply.
#   interrupted.sh CLI
set -u
cli=$1
rm -f s.trace out.txt
printf '1 srd 11\n%.0s' $(seq 400) >long.ini
"$cli" --simulate --sim-faults latency=10ms --record s.trace script long.ini >out.txt 2>&1 &
pid=$!
tries=0
# Well into the script, so that reports are still on their way to the file when it ends.
until [ "$(grep -c FPGASingleRead out.txt 2>/dev/null)" -ge 30 ]; do
    tries=$((tries + 1))
    [ $tries -le 400 ] || { kill -KILL $pid; echo "FAILED: never started"; exit 1; }
    sleep 0.05
done
kill -INT $pid
wait $pid
status=$?
[ $status -eq 1 ] || { echo "FAILED: exit $status, not 1"; exit 1; }
head -n 1 s.trace | grep -q '^{"format":"tavlin-trace","version":1,' ||
    { echo "FAILED: no header line"; exit 1; }
outs=$(grep -c '"event":"out"' s.trace)
ins=$(grep -c '"event":"in"' s.trace)
lines=$(grep -c 'FPGASingleRead' out.txt)
echo "reports out: $outs, in: $ins, register lines printed: $lines"
[ "$outs" -ge "$lines" ] && [ "$outs" -gt 0 ] || { echo "FAILED: reports missing"; exit 1; }
[ "$ins" -ge "$((outs - 1))" ] || { echo "FAILED: replies missing"; exit 1; }
# The last line is whole: the file was closed, not cut off.
tail -c 1 s.trace | od -An -c | grep -q '\\n' || { echo "FAILED: last line cut"; exit 1; }
echo ok
