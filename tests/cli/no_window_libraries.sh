#!/bin/sh
# A station without a display runs tavlin-cli: neither the program itself (its ELF NEEDED entries)
# nor anything the loader maps for it (ldd) may be a windowing, GL or desktop-bus library.
# Usage: no_window_libraries.sh EXECUTABLE
set -u
exe="$1"
forbidden='libQt6(Gui|Widgets|DBus|OpenGL|XcbQpa)|libX11|libxcb|libXau|libXdmcp|libxkbcommon|libEGL|libGL|libOpenGL|libdbus|libwayland|libfontconfig|libfreetype|libharfbuzz'

needed="$(readelf -d "$exe")" || { echo "readelf cannot read $exe" >&2; exit 1; }
needed="$(printf '%s\n' "$needed" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')"
[ -n "$needed" ] || { echo "$exe names no libraries at all: not a dynamic ELF program?" >&2; exit 1; }
loaded="$(ldd "$exe")" || { echo "ldd cannot resolve $exe" >&2; exit 1; }

status=0
for what in needed loaded; do
    eval "list=\$$what"
    hits="$(printf '%s\n' "$list" | grep -E "$forbidden")"
    if [ -n "$hits" ]; then
        echo "$exe: $what libraries a headless station lacks:" >&2
        printf '%s\n' "$hits" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "$exe: no windowing library needed or loaded ($(printf '%s\n' "$loaded" | wc -l) loaded)"
exit "$status"
