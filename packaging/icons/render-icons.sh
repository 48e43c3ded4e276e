#!/usr/bin/env bash
# Renders the PNG sizes of the application icon from io.pwx36.editor.svg. The PNGs are committed,
# so building needs no SVG renderer; run this again after changing the SVG and commit the result.
# Uses rsvg-convert (Debian package librsvg2-bin) or, failing that, ImageMagick's convert.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
svg="$here/io.pwx36.editor.svg"
for size in 48 128 256; do
  out="$here/${size}x${size}/io.pwx36.editor.png"
  mkdir -p "$(dirname "$out")"
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert --width "$size" --height "$size" --output "$out" "$svg"
  elif [ -x /usr/bin/convert ]; then
    /usr/bin/convert -background none -density 384 "$svg" -resize "${size}x${size}" \
      -strip "PNG32:$out"
  else
    echo "render-icons.sh: needs rsvg-convert (apt-get install librsvg2-bin)" >&2
    exit 1
  fi
  echo "wrote $out"
done
