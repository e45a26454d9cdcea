#!/usr/bin/env bash
# Redraws the PNG icons from paquet/icones/kirvane.svg (needs rsvg-convert, package
# librsvg2-bin). The PNGs are kept in the repository so that a build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../paquet/icones"
for taille in 16 32 48 64 128 256; do
    rsvg-convert -w "$taille" -h "$taille" kirvane.svg -o "kirvane-$taille.png"
done
