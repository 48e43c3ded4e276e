#!/usr/bin/env bash
# The clip intake against lame on the same sound, levelling against plain conversion, and the
# memory an hour of sound takes.
#
#   scripts/intake-bench.sh [runs]      (default 3)
#
# Makes, once, under build/intake-bench/: three minutes of 44,100 Hz 16-bit stereo sound with
# some life in it (sox), and an hour of it. Then times whole processes (scripts/
# compare-processes.py):
#   lame:    lame -V 4 --noreplaygain on the three minutes
#   convert: audio/bench/intake_bench on the same file (goal: at most 1.2 times lame; both
#            run on one processor, as both use one)
#   level:   intake_bench --level, which measures first and measures the MP3 on a second
#            thread while it encodes (goal: at most 1.5 times convert in wall time; run on
#            every processor, so the ratio needs a machine that is otherwise idle)
# and weighs intake_bench --level on the hour, with the player's limit lifted so that all of
# it is decoded twice and encoded (/usr/bin/time -v; goal: under 64 MiB). The build is the
# release preset's, or the folder PWX_BUILD_DIR names.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
bench=$("$root/scripts/release-editor.sh" intake_bench audio/bench/intake_bench)

work=$root/build/intake-bench
mkdir -p "$work"
if [[ ! -f $work/hour.wav ]]; then
  # A slow sweep, pink noise and a beat of the level, so the encoder has real work to do.
  sox -R -D -n -r 44100 -c 2 -b 16 "$work/minutes.wav" \
    synth 180 sine 110:1760 pinknoise tremolo 3 40 gain -8 2>/dev/null
  sox "$work/minutes.wav" "$work/hour.wav" repeat 19
fi
out=$work/out
rm -rf "$out"
mkdir -p "$out"
trap 'rm -rf "$out"' EXIT

echo "Three minutes of 44,100 Hz stereo WAV ($(($(stat -c %s "$work/minutes.wav") / 1048576)) MiB):"
"$root/scripts/compare-processes.py" --runs "$runs" --warmup 1 --one-cpu \
  "lame -V 4" 7 lame --quiet -V 4 --noreplaygain "$work/minutes.wav" "$out/lame.mp3" \
  "convert" 3 "$bench" "$work/minutes.wav" "$out/convert.mp3"
"$root/scripts/compare-processes.py" --runs "$runs" --warmup 1 \
  "convert" 3 "$bench" "$work/minutes.wav" "$out/convert.mp3" \
  "level" 4 "$bench" --level "$work/minutes.wav" "$out/level.mp3"
"$bench" --level "$work/minutes.wav" "$out/level.mp3"

echo "An hour of the same, levelled with the limit lifted:"
/usr/bin/time -v "$bench" --level --limit 1000000000000 "$work/hour.wav" "$out/hour.mp3" \
  2>"$out/time.txt"
kib=$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' "$out/time.txt")
seconds=$(sed -n 's/^\s*Elapsed (wall clock) time.*: //p' "$out/time.txt")
awk -v kib="$kib" -v wall="$seconds" \
  'BEGIN { printf "hour --level: wall %s, peak memory %.1f MiB (goal under 64 MiB)\n", wall, kib / 1024 }'
