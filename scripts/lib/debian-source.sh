# Sourced by the scripts that cross-build libraries for Windows from Debian's own source.
# fetch_debian_source PACKAGE TAG: downloads the source of the installed binary PACKAGE into the
# current folder (once: a second call finds it) and prints the .dsc's name. Where the machine has
# no source entry for the repository the package came from, one is added, made from the binary
# entry with the same address (deb822 or one-line format) and named after TAG.

_source_sudo=""
if [ "$(id -u)" -ne 0 ]; then
    _source_sudo="sudo"
fi

_add_source_entry() {
    local package=$1 version=$2 tag=$3 uri entry="" f
    uri="$(apt-cache madison "$package" | awk -F'|' -v v="$version" \
        '{gsub(/ /, "", $2)} $2 == v {split($3, a, " "); print a[1]; exit}')"
    if [ -z "$uri" ]; then
        echo "no configured repository offers $package $version" >&2
        return 1
    fi
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        entry="$(awk -v uri="$uri" '
            BEGIN { RS = ""; FS = "\n" }
            {
                hit = 0
                for (i = 1; i <= NF; i++) {
                    if ($i !~ /^URIs:/) continue
                    n = split(substr($i, 6), u, " ")
                    for (j = 1; j <= n; j++) if (u[j] == uri || u[j] == uri "/") hit = 1
                }
                if (!hit) next
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^Types:/) print "Types: deb-src"
                    else if ($i !~ /^#/) print $i
                }
                print ""
            }' "$f")"
        if [ -n "$entry" ]; then
            printf '%s\n' "$entry" |
                $_source_sudo tee "/etc/apt/sources.list.d/tavlin-$tag-source.sources" >/dev/null
            return 0
        fi
    done
    entry="$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk -v uri="$uri" '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i == uri || $i == uri "/") {
            $1 = "deb-src"; print; next } }')"
    if [ -n "$entry" ]; then
        printf '%s\n' "$entry" |
            $_source_sudo tee "/etc/apt/sources.list.d/tavlin-$tag-source.list" >/dev/null
        return 0
    fi
    echo "no configured entry for $uri to derive a source entry from" >&2
    return 1
}

fetch_debian_source() {
    local package=$1 tag=$2 source version dsc
    source="$(dpkg-query -W -f='${source:Package}' "$package")"
    version="$(dpkg-query -W -f='${source:Version}' "$package")"
    dsc="${source}_${version#*:}.dsc"
    if [ ! -f "$dsc" ]; then
        if ! apt-get source --download-only "$source=$version" >"download-$source.log" 2>&1; then
            _add_source_entry "$package" "$(dpkg-query -W -f='${Version}' "$package")" "$tag" ||
                return 1
            $_source_sudo apt-get update -q >/dev/null
            apt-get source --download-only "$source=$version" >"download-$source.log" 2>&1 || {
                cat "download-$source.log" >&2
                return 1
            }
        fi
    fi
    echo "$dsc"
}
