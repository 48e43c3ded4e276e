#!/usr/bin/env bash
# Makes the small sound files that the tests of the clip intake convert and level: one of each
# format the intake reads, the channel counts and rates it brings to the player's, sounds
# to level (speech-like, synthesised speech, speech with plosives, music, a tone, noise), and
# files it must refuse, decode around, or know by their bytes whatever their names.
#
# Usage: assets/intake/make-intake-fixtures.sh [folder]      (default: next to this script)
#
# Needs sox, lame, python3, espeak-ng and ffmpeg (Debian packages of the same names). The
# output is the same from run to run on the same tool versions: sox runs repeatable (-R)
# without dither (-D), the speech-like sound comes from a fixed recipe, and espeak-ng, lame
# and ffmpeg (-bitexact) are deterministic.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=${1:-$here}
mkdir -p "$out"
for tool in sox lame python3 espeak-ng ffmpeg; do
    command -v "$tool" >/dev/null || { echo "make-intake-fixtures: missing tool: $tool" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
s() { sox -R -D "$@"; }

# Speech-like: 3 s, 16,000 Hz mono 16-bit WAV. Syllables of a voice-like source (harmonics of
# a gliding pitch, shaped by the formants of five vowels) with short noisy consonants and
# pauses between words, peaking near -6 dBFS.
python3 - "$out/speech.wav" <<'PY'
import math, random, struct, sys, wave
rate = 16000
vowels = {"a": (730, 1090, 2440), "e": (530, 1840, 2480), "i": (270, 2290, 3010),
          "o": (570, 840, 2410), "u": (300, 870, 2240)}
# (vowel, seconds, pitch at start, pitch at end, level); None is a pause.
words = [("a", .22, 130, 150, 1), ("i", .16, 150, 140, .8), None,
         ("o", .25, 120, 110, .9), ("e", .18, 125, 135, .7), ("u", .2, 135, 115, .85), None,
         ("e", .2, 140, 160, 1), ("a", .28, 160, 120, .95), None,
         ("i", .15, 125, 130, .6), ("o", .3, 130, 100, .9)]
noise = random.Random(36)
samples = [0.0] * int(.1 * rate)
for word in words:
    if word is None:
        samples += [0.0] * int(.18 * rate)
        continue
    vowel, seconds, f_start, f_end, level = word
    # A consonant: 40 ms of high-passed noise.
    last = 0.0
    for n in range(int(.04 * rate)):
        x = noise.uniform(-1, 1)
        samples.append(.08 * level * (x - last) * math.sin(math.pi * n / (.04 * rate)))
        last = x
    count = int(seconds * rate)
    phases = [noise.uniform(0, 2 * math.pi) for _ in range(40)]
    for n in range(count):
        t = n / count
        f0 = f_start + (f_end - f_start) * t
        envelope = level * math.sin(math.pi * t) ** .5
        value = 0.0
        for k in range(1, 40):
            f = k * f0
            if f > 3800:
                break
            gain = sum(1 / (1 + ((f - formant) / (60 + formant / 20)) ** 2) for formant in vowels[vowel])
            phases[k] += 2 * math.pi * f / rate
            value += gain / k * math.sin(phases[k])
        samples.append(.22 * envelope * value)
samples += [0.0] * int(.1 * rate)
samples = samples[:3 * rate] + [0.0] * max(0, 3 * rate - len(samples))
peak = max(abs(v) for v in samples)
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", round(v / peak * .5 * 32767)) for v in samples))
PY

# A tone: 2 s of 1 kHz at -30 dBFS, 44,100 Hz stereo FLAC.
s -n -r 44100 -c 2 -b 16 "$out/tone.flac" synth 2 sine 1000 gain -30
# Noise: 2 s of white noise, 48,000 Hz stereo Ogg Vorbis at high quality.
s -n -r 48000 -c 2 -C 6 "$out/noise.ogg" synth 2 whitenoise gain -12
# A chord: 1 s, 16,000 Hz stereo 16-bit AIFF.
s -n -r 16000 -c 2 -b 16 "$out/chord.aiff" synth 1 sine 262 sine 330 remix 1,2v0.5 2,1v0.5 gain -10
# Mono: 1 s of an 8-bit unsigned 11,025 Hz WAV.
s -n -r 11025 -c 1 -b 8 -e unsigned-integer "$out/mono.wav" synth 1 sine 500:700 gain -8
# Surround: 0.1 s of a 96,000 Hz 24-bit six-channel WAV, a different tone on each channel.
s -n -r 96000 -c 6 -b 24 "$out/surround.wav" \
    synth 0.1 sine 300 sine 400 sine 500 sine 60 sine 600 sine 700 gain -12
# An MP3 at an odd level and rate: MPEG-2 Layer III, 24,000 Hz mono, 3 s near -35 dBFS.
s -n -r 24000 -c 1 -b 16 "$tmp/quiet.wav" synth 3 sine 300:900 gain -32
lame --quiet --noreplaygain -b 32 -m m --resample 24 "$tmp/quiet.wav" "$out/quiet-24k.mp3"

# Synthesised speech: espeak-ng's voice as it speaks, 22,050 Hz mono, near -20 LUFS with its
# peaks close to full scale, so that levelling needs the limiter.
espeak-ng -v en -s 160 -w "$tmp/espeak.wav" "Attention please. Leave the building by the nearest exit."
s "$tmp/espeak.wav" "$out/espeak.flac"
# Speech with plosives, as a microphone close to the mouth records it: espeak-ng's words at
# 44,100 Hz mono with the low thumps of breath on "p" and "b" added, whose peaks stand far
# above the speech's loudness.
espeak-ng -v en -s 160 -w "$tmp/words.wav" "Please put the paper back by the big pot."
s "$tmp/words.wav" -r 44100 -b 16 "$tmp/words44.wav"
python3 - "$tmp/words44.wav" "$out/plosives.flac.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "rb") as w:
    rate = w.getframerate()
    samples = list(struct.unpack("<%dh" % w.getnframes(), w.readframes(w.getnframes())))
for start in (0.05, 0.45, 1.0, 1.55, 2.05):
    at = int(start * rate)
    for n in range(int(0.04 * rate)):
        t = n / rate
        thump = 0.9 * math.sin(2 * math.pi * 70 * t) * math.exp(-t / 0.012)
        if at + n < len(samples):
            samples[at + n] = max(-32767, min(32767, samples[at + n] + round(thump * 32767)))
with wave.open(sys.argv[2], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(struct.pack("<%dh" % len(samples), *samples))
PY
s "$out/plosives.flac.wav" "$out/plosives.flac"
rm "$out/plosives.flac.wav"
# Music: plucked notes of a chord and its arpeggio, 44,100 Hz stereo Ogg Vorbis, the voices spread
# between the sides.
notes=()
for note in C3 E3 G3 C4 E4 G4 C4 G3; do
    s -n -r 44100 -c 1 -b 16 "$tmp/note-$note-${#notes[@]}.wav" synth 0.35 pluck "$note" fade 0 0.35 0.1
    notes+=("$tmp/note-$note-${#notes[@]}.wav")
done
s "${notes[@]}" "$tmp/melody.wav"
s -n -r 44100 -c 1 -b 16 "$tmp/pad.wav" synth 2.8 pluck C2 pluck G2 fade 0 2.8 1
s -M "$tmp/melody.wav" "$tmp/pad.wav" -C 6 "$out/music.ogg" remix 1v0.8,2v0.3 1v0.3,2v0.8 gain -6
# MPEG-1 Layer II named .mp3, which the player does not play: 2 s, 44,100 Hz stereo.
s -n -r 44100 -c 2 -b 16 "$tmp/layer2.wav" synth 2 sine 440 sine 660 gain -12
ffmpeg -nostdin -v error -bitexact -i "$tmp/layer2.wav" -c:a mp2 -b:a 128k -f mp2 "$out/layer2.mp3"

# Damaged and wrong files. A WAV cut off at 1.2 s of its 2 s (its header still says 2 s); a
# FLAC with 300 bytes in the middle overwritten, so that a frame there is broken; a text file
# named .wav; an empty file.
s -n -r 22050 -c 1 -b 16 "$tmp/whole.wav" synth 2 sine 200:2000 gain -6
s -n -r 44100 -c 1 -b 16 "$tmp/intact.flac" synth 2 sine 440:880 gain -10
python3 - "$tmp" "$out" <<'PY'
import os, sys
tmp, out = sys.argv[1:]
whole = open(os.path.join(tmp, "whole.wav"), "rb").read()
assert whole[36:40] == b"data", "sox wrote a WAV header of another size"
open(os.path.join(out, "truncated.wav"), "wb").write(whole[:44 + int(1.2 * 22050) * 2])
flac = open(os.path.join(tmp, "intact.flac"), "rb").read()
middle = len(flac) // 2
open(os.path.join(out, "broken-frame.flac"), "wb").write(
    flac[:middle] + bytes([0x55] * 300) + flac[middle + 300:])
open(os.path.join(out, "text.wav"), "w").write("These are notes on the alarm sounds, not a sound.\n")
open(os.path.join(out, "empty.wav"), "wb").write(b"")
PY
ls -l "$out" | grep -v make-intake-fixtures
du -ch "$out"/* | tail -1
