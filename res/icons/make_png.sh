#!/usr/bin/env bash
# Renders the committed PNG sizes of the application icon from tavlin.svg. Run after editing the
# SVG (needs rsvg-convert from librsvg2-bin) and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --output "tavlin-$size.png" tavlin.svg
done
