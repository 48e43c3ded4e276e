#!/usr/bin/env bash
# Makes the small clips that the tests of clip timing and of an input's sequence play: tones
# with silence before and after them, a clip too quiet to count as sound, a clip whose sound
# starts late, and one whose silence at the end is longer than its sound.
#
# Usage: assets/sequence/make-sequence-clips.sh [folder]      (default: next to this script)
#
# Needs sox and lame (Debian packages of the same names). sox runs with -D (no dither noise)
# and lame is deterministic, so the output is the same from run to run on the same versions.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=${1:-$here}
mkdir -p "$out"
for tool in sox lame; do
    command -v "$tool" >/dev/null || { echo "make-sequence-clips: missing tool: $tool" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# clip NAME RATE CHANNELS LEAD SOUND TAIL GAIN: LEAD seconds of silence, SOUND seconds of a
# 660 Hz tone at GAIN dB, TAIL seconds of silence.
clip() {
    sox -D -n -r "$2" -c "$3" -b 16 "$tmp/$1.wav" synth "$5" sine 660 gain "$7" pad "$4" "$6"
}

clip lead-tail 44100 2 0.5 1.0 0.3 -6
clip quiet 22050 1 0 1.0 0 -60
clip late-start 22050 1 3.5 0.5 0 -6
clip long-tail 22050 1 0 0.2 2.0 -6

lame --quiet --noreplaygain --resample 44.1 -b 128 -m j "$tmp/lead-tail.wav" "$out/lead-tail.mp3"
for name in quiet late-start long-tail; do
    lame --quiet --noreplaygain --resample 22.05 -b 32 -m m "$tmp/$name.wav" "$out/$name.mp3"
done
