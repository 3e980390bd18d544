#!/bin/sh
# A signed package end to end through the real executable and the firmware team's signing tool:
# the list written by `package manifest`, signed with minisign, verified and written to the
# simulated device; one changed byte afterwards, and the update is refused before any device is
# opened (no recording is even started) with exit status 1.
#   signed_update.sh TAVLIN_CLI
set -u
cli=$1
command -v minisign >/dev/null 2>&1 || { echo "minisign is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

head -c 1000 /dev/zero | tr '\000' 'h' > h.bin
head -c 130 /dev/zero | tr '\000' 'l' > l.bin
printf '[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=h.bin\n[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=l.bin\n' > pkg.ini
"$cli" package manifest pkg.ini >/dev/null || fail "package manifest"
test "$(wc -l < pkg.ini.sha256)" -eq 3 || fail "three files listed"
minisign -G -W -p line.pub -s line.key >/dev/null 2>&1 || fail "minisign -G"
minisign -S -s line.key -m pkg.ini.sha256 -t "end to end" >/dev/null 2>&1 || fail "minisign -S"
mkdir keys && cp line.pub keys/
export TAVLIN_KEY_DIR="$work/keys"
id=$(sed -n '1s/.* //p' line.pub)

"$cli" package verify pkg.ini > verify.txt || fail "package verify: $(cat verify.txt)"
grep -q "$id" verify.txt || fail "the key id $id in: $(cat verify.txt)"
grep -q "end to end" verify.txt || fail "the trusted comment in: $(cat verify.txt)"

"$cli" --simulate --results runs.sqlite --json update pkg.ini --verify > ok.json 2> ok.err
status=$?
test $status -eq 0 || fail "signed update exit $status: $(cat ok.err)"
grep -q "\"key_id\":\"$id\"" ok.json || fail "trust in $(cat ok.json)"
grep -q '"verified":true' ok.json || fail "versions read back"
# The run's record: the package's files as checked, who signed it, each image's hash.
"$cli" --results runs.sqlite results export runs.json >/dev/null || fail "results export"
h_sum=$(sha256sum h.bin | cut -d' ' -f1)
python3 - "$id" "$h_sum" <<'PY' || fail "record: $(cat runs.json)"
import json, sys
run = json.load(open("runs.json"))[-1]
kinds = [(a["kind"], a["path"]) for a in run["artefacts"]]
assert ("package", "h.bin") in kinds and ("package", "pkg.ini") in kinds, kinds
assert ("package-trust", "key %s: end to end" % sys.argv[1]) in kinds, kinds
assert [i["sha256"] for i in run["images"]][:2] == [sys.argv[2]] * 2, run["images"]
PY

printf 'L' | dd of=l.bin bs=1 seek=5 conv=notrunc 2>/dev/null
"$cli" --simulate --results none --record rec.jsonl --json update pkg.ini > bad.json 2> bad.err
status=$?
test $status -eq 1 || fail "tampered update exit $status"
test ! -e rec.jsonl || fail "the device was opened: $(head -3 rec.jsonl)"
grep -q '"device":null' bad.json || fail "device in $(cat bad.json)"
grep -q 'l.bin: its SHA-256 is not' bad.json || fail "reason in $(cat bad.json)"
echo "ok"
