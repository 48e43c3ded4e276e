#!/usr/bin/env bash
# Makes the small clips that the tests of the clip probe and the project check decode: good
# MPEG-1 and MPEG-2 clips, mono and stereo, constant and variable bit rate, and broken ones.
#
# Usage: assets/clips/make-clips.sh [folder]      (default: next to this script)
#
# Needs sox and lame (Debian packages of the same names). The output is the same from run to
# run on the same tool versions: sox runs with -D (no dither noise) and lame is deterministic.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=${1:-$here}
mkdir -p "$out"
for tool in sox lame python3; do
    command -v "$tool" >/dev/null || { echo "make-clips: missing tool: $tool" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One second of a 440 Hz tone, as 16-bit WAV at the rate and channel count asked.
tone() { sox -D -n -r "$1" -c "$2" -b 16 "$3" synth 1 sine 440 gain -6; }

tone 44100 2 "$tmp/stereo44.wav"
tone 44100 1 "$tmp/mono44.wav"
tone 22050 1 "$tmp/mono22.wav"

# Good clips: MPEG-1 Layer III stereo at a constant 128 kbit/s, MPEG-1 mono with a variable
# rate, MPEG-2 Layer III mono at 22,050 Hz.
lame --quiet --noreplaygain -b 128 -m s "$tmp/stereo44.wav" "$out/mpeg1-stereo-cbr.mp3"
lame --quiet --noreplaygain -V 4 -m m "$tmp/mono44.wav" "$out/mpeg1-mono-vbr.mp3"
lame --quiet --noreplaygain -b 32 -m m "$tmp/mono22.wav" "$out/mpeg2-mono-cbr.mp3"

# Broken clips, made from the stereo one: its last frame cut short; a run of bytes in the
# middle overwritten so that the decoder loses the frame sync there; a WAV file named .mp3;
# an empty file.
python3 - "$out" <<'PY'
import sys, os
out = sys.argv[1]
good = open(os.path.join(out, "mpeg1-stereo-cbr.mp3"), "rb").read()
open(os.path.join(out, "truncated.mp3"), "wb").write(good[:-150])
middle = len(good) // 2
damaged = good[:middle] + bytes([0x55] * 700) + good[middle + 700:]
open(os.path.join(out, "corrupted-middle.mp3"), "wb").write(damaged)
open(os.path.join(out, "empty.mp3"), "wb").write(b"")
PY
cp "$tmp/mono22.wav" "$out/wave-named.mp3"
ls -l "$out"/*.mp3
