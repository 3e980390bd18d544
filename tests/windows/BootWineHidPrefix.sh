#!/usr/bin/env bash
# Boots the Wine prefix of the HID test bed (tests/wine), once per test run, outside any bed:
# winebus with its udev bus on (Wine 8 starts it only when it does not take SDL), and no
# wineserver left running for the prefix, so that the bed's own session starts Wine's device
# host inside the bed (see ../shared/notes/wine-hid.md in the project's notes).
# Usage: BootWineHidPrefix.sh PREFIX
set -euo pipefail
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true  # a session left over from an interrupted run
wineserver -w 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
timeout 300 wineboot --init >/dev/null 2>&1
timeout 120 wine reg add 'HKLM\System\CurrentControlSet\Services\winebus' \
    /v 'Enable SDL' /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
timeout 60 wineserver -w
grep -q '"Enable SDL"=dword:00000000' "$WINEPREFIX/system.reg"
