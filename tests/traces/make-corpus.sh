#!/bin/sh
# Records every session of corpus.list on the simulated device: OUT/NAME.trace, the run's stdout
# (NAME.out) and its exit status (NAME.status). Run it again to bring the corpus in line with
# the program:  make-corpus.sh build/bin/tavlin-cli tests/traces
#   make-corpus.sh CLI OUT
set -u
# The program's own texts (Chinese), whatever the machine's locale.
LC_ALL=zh_CN.UTF-8
export LC_ALL
cli=$(realpath "$1")
out=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/script.ini "$here"/fpga.bin "$here"/h.bin "$here"/l.bin "$here"/package.ini "$work"/
cd "$work" || exit 1

grep -v '^#' "$here/corpus.list" | while IFS='|' read -r name plan filter command; do
    [ -n "$name" ] || continue
    rm -f "$out/$name.trace"
    # shellcheck disable=SC2086 # the command's words are split on purpose
    "$cli" --simulate ${plan:+--sim-faults="$plan"} --record "$out/$name.trace" $command \
        >"$out/$name.out" 2>/dev/null
    echo $? >"$out/$name.status"
    echo "$name: exit $(cat "$out/$name.status")"
done

