#!/usr/bin/env bash
# The project check against decoding the same clips with mpg123.
#
#   scripts/check-bench.sh [runs] [megabytes-per-clip]      (defaults 3 and 10)
#
# Makes a project of 64 clips of about 10 MB each (constant 128 kbit/s stereo MP3s, each a
# sox-made sound encoded with lame and repeated to the size), every clip's source beside the
# project, then times `pwx36-editor check FOLDER` against `mpg123 -t` decoding the same 64
# files one after another, and prints the medians of wall time, CPU time and peak memory and
# their ratios. The clips are made once and kept under build/check-bench.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
megabytes=${2:-10}
editor=$("$root/scripts/release-editor.sh")

work=$root/build/check-bench/${megabytes}mb
project=$work/project
sounds=$work/sounds
if [[ ! -f $project/plist.cfg ]]; then
  rm -rf "$work"
  mkdir -p "$project" "$sounds"
  # One minute of sound with some life in it, encoded without a VBR header so that copies of
  # it can follow each other as one stream.
  sox -n -r 44100 -c 2 "$work/base.wav" synth 60 sine 220:880 pinknoise vol 0.3 2>/dev/null
  lame --quiet -t -b 128 --cbr "$work/base.wav" "$work/base.mp3"
  : >"$work/clip.mp3"
  while (($(stat -c %s "$work/clip.mp3") < megabytes * 1024 * 1024)); do
    cat "$work/base.mp3" >>"$work/clip.mp3"
  done
  for n in $(seq 1 64); do
    cp "$work/clip.mp3" "$sounds/Clip $n.mp3"
    cp "$work/clip.mp3" "$project/$(printf '%03d' "$n").mp3"
  done
  python3 - "$project" "$sounds" <<'PY'
import os, sys
project, sounds = sys.argv[1], sys.argv[2]
lines = [os.path.join(sounds, "Clip %d.mp3" % n) for n in range(1, 65)]
with open(os.path.join(project, "m3fn.txt"), "wb") as f:
    f.write(b"\xef\xbb\xbf" + b"".join(l.encode() + b"\r\n" for l in lines))
image = bytearray(512)
image[0:4] = b"\x5a\x35\x77\xa5"
for s in range(64):
    image[96 + s] = 1
for s in range(32):
    image[32 + s] = 1
for s in range(4):
    image[256 + 4 * s] = s + 1
with open(os.path.join(project, "plist.cfg"), "wb") as f:
    f.write(image)
PY
  rm -f "$work/base.wav" "$work/clip.mp3"
fi

copies=("$project"/0*.mp3)
echo "64 clips of $(($(stat -c %s "${copies[0]}") / 1024)) KiB each in $project"
# The check exits 1 when it finds errors; this project has none, but a warning about the
# missing error clip, so 0 is expected and 1 is let pass only to show the figures.
"$root/scripts/compare-processes.py" --runs "$runs" --warmup 1 --status-ok 0,1 \
  "mpg123 -t" $((3 + ${#copies[@]})) mpg123 -q -t "${copies[@]}" \
  "check" 3 "$editor" check "$project"
