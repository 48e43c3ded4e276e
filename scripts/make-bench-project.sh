#!/usr/bin/env bash
# Makes the project the benchmarks work on, once, and prints its folder.
#
#   scripts/make-bench-project.sh [megabytes-per-clip]      (default 10)
#
# 64 clips of about that size (constant 128 kbit/s stereo MP3s, each a sox-made sound encoded
# with lame and repeated up to the size, and never past the player's limit of 10,485,760
# bytes), every clip's source beside the project, and the settings files a save writes. Kept
# under build/bench-project/<size>mb.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
megabytes=${1:-10}
work=$root/build/bench-project/${megabytes}mb
project=$work/project
sounds=$work/sounds
if [[ -f $project/plist.cfg ]]; then
  echo "$project"
  exit 0
fi
"$root/scripts/install-deps.sh" tools >&2
rm -rf "$work"
mkdir -p "$project" "$sounds"
# One minute of sound with some life in it, encoded without a VBR header so that copies of it
# can follow each other as one stream.
sox -n -r 44100 -c 2 "$work/base.wav" synth 60 sine 220:880 pinknoise vol 0.3 2>/dev/null
lame --quiet -t -b 128 --cbr "$work/base.wav" "$work/base.mp3"
: >"$work/clip.mp3"
limit=$((megabytes * 1024 * 1024))
((limit <= 10485760)) || limit=10485760
piece=$(stat -c %s "$work/base.mp3")
while (($(stat -c %s "$work/clip.mp3") + piece <= limit)); do
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
cp "$root/assets/err1/Err1.mp3" "$project/Err1.mp3"
printf '5' >"$project/vol.cfg"
printf '1,9600,N,8,1' >"$project/rtu.cfg"
rm -f "$work/base.wav" "$work/clip.mp3"
echo "$project"
