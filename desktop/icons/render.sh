#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG. Run it after changing the SVG and
# commit the PNGs: neither the build nor the program renders SVG.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" vondrel-viewer.svg --output "vondrel-viewer-$size.png"
done
