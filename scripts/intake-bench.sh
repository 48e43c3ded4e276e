#!/usr/bin/env bash
# The clip intake against the tools doing the same work, as whole processes: an MP3 import
# against cp, a conversion against lame, levelling against a plain conversion, and the memory
# an hour of sound takes.
#
#   scripts/intake-bench.sh [runs]      (default 5)
#
# Makes, once, under build/intake-bench/: three minutes of 44,100 Hz 16-bit stereo sound with
# some life in it (sox), an hour of it, an MP3 of about 9.5 MB (lame -b 320), and three
# minutes of synthesised speech (espeak-ng) whose peaks need the limiter. Then times whole
# processes (scripts/compare-processes.py; medians of wall and CPU time):
#   import:  pwx36-editor import P 1 clip.mp3 against cp clip.mp3 + sync (goal: at most 1.5
#            times, in wall time: the import copies, scans the frame headers and decodes none)
#   convert: audio/bench/intake_bench on the three minutes against lame -V 4 --noreplaygain
#            (goal: at most 1.2 times; both on one processor, as both use one)
#   level:   intake_bench --level against the plain conversion, which measures first and
#            decodes and measures the MP3 on a second thread while it encodes (goals: at most
#            1.5 times with two processors, at most 2.0 times on one, taskset -c 0)
#   level (limiting): the same on the speech, where the limiter works and the gain is
#            found by passes over the limited sound (no goal; for the record)
# and weighs intake_bench --level on the hour, with the player's limit lifted so that all of
# it is decoded twice and encoded (/usr/bin/time -v; goal: under 64 MiB). The builds are the
# release preset's, or those in the folder PWX_BUILD_DIR names. On a shared machine the wall
# times of the two-processor runs need the machine otherwise idle; CPU times are steadier.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-5}
bench=$("$root/scripts/release-editor.sh" intake_bench audio/bench/intake_bench)
editor=$("$root/scripts/release-editor.sh")
compare=$root/scripts/compare-processes.py

work=$root/build/intake-bench
mkdir -p "$work"
if [[ ! -f $work/hour.wav ]]; then
  # A slow sweep, pink noise and a beat of the level, so the encoder has real work to do.
  sox -R -D -n -r 44100 -c 2 -b 16 "$work/minutes.wav" \
    synth 180 sine 110:1760 pinknoise tremolo 3 40 gain -8 2>/dev/null
  sox "$work/minutes.wav" "$work/hour.wav" repeat 19
fi
if [[ ! -f $work/clip.mp3 ]]; then
  # Four minutes less a little at 320 kbit/s: about 9.5 MB, under the player's 10 MiB.
  sox "$work/minutes.wav" "$work/longer.wav" repeat 1 trim 0 236 2>/dev/null
  lame --quiet -b 320 --noreplaygain "$work/longer.wav" "$work/clip.mp3"
  rm "$work/longer.wav"
fi
if [[ ! -f $work/speech.wav ]]; then
  espeak-ng -v en -s 160 -w "$work/sentence.wav" \
    "Attention please. A fire has been reported. Leave the building by the nearest exit."
  sox "$work/sentence.wav" -r 44100 "$work/speech.wav" repeat 30 trim 0 180
  rm "$work/sentence.wav"
fi
out=$work/out
rm -rf "$out"
mkdir -p "$out/P"
trap 'rm -rf "$out"' EXIT

# Prints "NAME: ratio R (goal G)" from compare-processes.py's "ratio a/b: wall W, CPU C" line.
verdict() {
  local name=$1 measure=$2 goal=$3 line
  line=$(cat)
  echo "$line"
  local ratio
  ratio=$(sed -n "s/^ratio .*: wall \([0-9.]*\), CPU \([0-9.]*\).*/\1 \2/p" <<<"$line" | tail -1)
  [[ -n $ratio ]] || return 0
  local wall=${ratio% *} cpu=${ratio#* }
  local value=$wall
  [[ $measure == CPU ]] && value=$cpu
  awk -v n="$name" -v m="$measure" -v v="$value" -v g="$goal" 'BEGIN {
    printf "%s: %s ratio %.2f (goal at most %s) %s\n", n, m, v, g, (v <= g ? "met" : "MISSED") }'
}

echo "Import of an MP3 of $(($(stat -c %s "$work/clip.mp3") / 1024)) KiB:"
"$compare" --runs "$runs" --warmup 1 \
  "cp + sync" 3 sh -c "cp '$work/clip.mp3' '$out/copy.mp3' && sync" \
  "import" 5 "$editor" import "$out/P" 1 "$work/clip.mp3" | verdict import wall 1.5
"$editor" import "$out/P" 1 "$work/clip.mp3"

echo
echo "Three minutes of 44,100 Hz stereo WAV ($(($(stat -c %s "$work/minutes.wav") / 1048576)) MiB):"
"$compare" --runs "$runs" --warmup 1 --one-cpu \
  "lame -V 4" 7 lame --quiet -V 4 --noreplaygain "$work/minutes.wav" "$out/lame.mp3" \
  "convert" 3 "$bench" "$work/minutes.wav" "$out/convert.mp3" | verdict convert wall 1.2
"$compare" --runs "$runs" --warmup 1 \
  "convert" 3 "$bench" "$work/minutes.wav" "$out/convert.mp3" \
  "level" 4 "$bench" --level "$work/minutes.wav" "$out/level.mp3" |
  verdict "level, two processors" wall 1.5
"$compare" --runs "$runs" --warmup 1 --one-cpu \
  "convert" 3 "$bench" "$work/minutes.wav" "$out/convert.mp3" \
  "level" 4 "$bench" --level "$work/minutes.wav" "$out/level.mp3" |
  verdict "level, one processor" wall 2.0
"$bench" --level "$work/minutes.wav" "$out/level.mp3"

echo
echo "Three minutes of synthesised speech, levelled through the limiter:"
"$compare" --runs "$runs" --warmup 1 \
  "convert" 3 "$bench" "$work/speech.wav" "$out/convert.mp3" \
  "level" 4 "$bench" --level "$work/speech.wav" "$out/level.mp3"
"$bench" --level "$work/speech.wav" "$out/level.mp3"

echo
echo "An hour of the sweep, levelled with the limit lifted:"
/usr/bin/time -v "$bench" --level --limit 1000000000000 "$work/hour.wav" "$out/hour.mp3" \
  2>"$out/time.txt"
kib=$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' "$out/time.txt")
seconds=$(sed -n 's/^\s*Elapsed (wall clock) time.*: //p' "$out/time.txt")
awk -v kib="$kib" -v wall="$seconds" \
  'BEGIN { printf "hour --level: wall %s, peak memory %.1f MiB (goal under 64 MiB)\n", wall, kib / 1024 }'
