#!/bin/sh
# Replays every session of corpus.list from DIR (see make-corpus.sh) in the device's place and
# checks that each run prints what the recorded one printed and ends with its exit status.
#   replay-corpus.sh CLI DIR
set -u
# The program's own texts (Chinese), whatever the machine's locale.
LC_ALL=zh_CN.UTF-8
export LC_ALL
cli=$(realpath "$1")
dir=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/script.ini "$here"/fpga.bin "$here"/h.bin "$here"/l.bin "$here"/package.ini "$work"/
cd "$work" || exit 1
# The detection's status lines, left out where the list says "presence".
presence='正在检测设备|设备检测完成|未检测到相应设备|设备未准备好'
shown() {
    case $2 in
        presence) grep -Ev "$presence" "$1" ;;
        status) ;;
        *) cat "$1" ;;
    esac
}
failed=0
count=0
grep -v '^#' "$here/corpus.list" >list
while IFS='|' read -r name plan filter command; do
    [ -n "$name" ] || continue
    count=$((count + 1))
    # shellcheck disable=SC2086 # the command's words are split on purpose
    "$cli" --replay "$dir/$name.trace" $command >replayed.out 2>replayed.err
    got=$?
    want=$(cat "$dir/$name.status")
    if [ "$got" != "$want" ]; then
        echo "FAILED $name: exit $got, recorded $want"
        cat replayed.err
        failed=$((failed + 1))
    elif ! shown "$dir/$name.out" "$filter" >want.txt || ! shown replayed.out "$filter" >got.txt ||
        ! cmp -s want.txt got.txt; then
        echo "FAILED $name: stdout differs"
        diff want.txt got.txt | head -20
        failed=$((failed + 1))
    else
        echo "ok $name (exit $got)"
    fi
done <list
[ "$count" -gt 0 ] || { echo "FAILED: no sessions listed"; exit 1; }
[ "$failed" -eq 0 ]
