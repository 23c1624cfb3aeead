#!/bin/bash
# The scalable icon drawn alike by librsvg (desktops, software centres) and
# by ImageMagick's own SVG renderer: both at 128 x 128, their root mean square
# difference under 8 % (antialiasing only; a gradient or an opacity one of
# them cannot draw shows as 20 % and more). Skips (77) without the renderers.
set -euo pipefail
svg=${1:?usage: icon_renderers.sh ICON.svg}
command -v rsvg-convert >/dev/null && command -v convert >/dev/null && command -v compare >/dev/null || {
  echo "icon_renderers: rsvg-convert or ImageMagick missing; skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rsvg-convert -w 128 -h 128 "$svg" -o "$work/librsvg.png"
convert -background none "MSVG:$svg" -resize 128x128 "$work/imagemagick.png"
# compare prints "ABSOLUTE (NORMALISED)" on stderr and exits 1 when they differ at all.
metric=$(compare -metric RMSE "$work/librsvg.png" "$work/imagemagick.png" null: 2>&1 || true)
share=$(sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p' <<<"$metric")
echo "icon_renderers: librsvg and ImageMagick differ by $metric (RMSE)"
awk -v d="$share" 'BEGIN { exit !(d != "" && d < 0.08) }'
