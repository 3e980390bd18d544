#!/bin/sh
# A recording of an unknown version, one with a line that does not parse, one that is not
# there, damaged ones, and a differing first output report: each ends as it must.
#   refused.sh CLI GOOD_RECORDING
set -u
# The program's own texts (Chinese), whatever the machine's locale.
LC_ALL=zh_CN.UTF-8
export LC_ALL
cli=$1 good=$2
fail() {
    echo "FAILED: $1"
    cat err.txt 2>/dev/null
    exit 1
}
refused() {  # NAME EXPECTED-TEXT: the run is refused (exit 2) before a log is started
    rm -f Tavlin_log.txt
    "$cli" --replay "$1" versions >out.txt 2>err.txt
    status=$?
    [ $status -eq 2 ] || fail "$1: exit $status, not 2"
    grep -qF -- "$2" err.txt || fail "$1: no \"$2\" on stderr"
    [ ! -s out.txt ] || fail "$1: printed on stdout"
    [ ! -e Tavlin_log.txt ] || fail "$1: the run started"
}
echo '{"format":"tavlin-trace","version":2,"tool":"9","platform":"linux"}' >v2.trace
refused v2.trace "记录文件 v2.trace 的格式或版本未知"
{ head -n 3 "$good"; echo '{"t":1,"event":"in","report":"03"'; } >broken.trace
refused broken.trace "记录文件 broken.trace 的第 4 行无法解析"
refused missing.trace "无法读取记录文件 missing.trace"
# Damage that once crashed the replay or blocked it for ever: a header whose format is a number,
# a line nested deeper than any event, a line longer than any event, a FIFO, a folder, a device.
echo '{"format":5,"version":1}' >number.trace
refused number.trace "记录文件 number.trace 的格式或版本未知"
python3 -c "print('[' * 50000 + ']' * 50000)" >deep.trace
refused deep.trace "记录文件 deep.trace 的格式或版本未知"
{ head -n 2 "$good"; head -c 300000 /dev/zero | tr '\0' ' '; echo; } >long.trace
refused long.trace "记录文件 long.trace 的第 3 行无法解析"
rm -f fifo.trace && mkfifo fifo.trace
refused fifo.trace "记录文件 fifo.trace 不是普通文件"
mkdir -p folder.trace
refused folder.trace "记录文件 folder.trace 不是普通文件"
refused /dev/null "记录文件 /dev/null 不是普通文件"

# A versions session replayed for a register read: the first report differs.
"$cli" --replay "$good" read 0x10 >out.txt 2>err.txt
status=$?
[ $status -eq 1 ] || fail "differing report: exit $status, not 1"
grep -Eq 'output report 1 differs from the recording: sent 0306[0-9a-f]+, recorded 032d[0-9a-f]+' out.txt ||
    { cat out.txt; fail "differing report: no reason naming it"; }
# A versions session replayed for detect: the program stops before it sent the recorded reports.
"$cli" --replay "$good" detect >out.txt 2>err.txt
status=$?
[ $status -eq 1 ] || fail "stopped short: exit $status, not 1"
grep -Eq '回放未完成：记录中还有 [1-9][0-9]* 个输出报告未发送' err.txt || fail "stopped short: not said"
echo ok
