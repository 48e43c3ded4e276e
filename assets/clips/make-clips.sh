#!/usr/bin/env bash
# Makes the small clips that the tests of the clip probe and the project check decode: good
# MPEG-1, MPEG-2 and MPEG-2.5 clips, mono and stereo, constant, variable and free-format bit
# rate, tagged ones, and broken ones and other files that hold MPEG audio frames.
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
tone 8000 1 "$tmp/mono8.wav"

# Good clips: MPEG-1 Layer III stereo at a constant 128 kbit/s, MPEG-1 mono with a variable
# rate, MPEG-2 Layer III mono at 22,050 Hz.
lame --quiet --noreplaygain -b 128 -m s "$tmp/stereo44.wav" "$out/mpeg1-stereo-cbr.mp3"
lame --quiet --noreplaygain -V 4 -m m "$tmp/mono44.wav" "$out/mpeg1-mono-vbr.mp3"
lame --quiet --noreplaygain -b 32 -m m "$tmp/mono22.wav" "$out/mpeg2-mono-cbr.mp3"
# The stereo clip with a CRC in every frame, its info frame's among them.
lame --quiet --noreplaygain -p -b 128 -m s "$tmp/stereo44.wav" "$out/crc-protected.mp3"
# MPEG-2.5 at 8,000 Hz, and a free-format clip (a bit rate outside the table).
lame --quiet --noreplaygain -b 16 -m m "$tmp/mono8.wav" "$out/mpeg25-mono-cbr.mp3"
lame --quiet --noreplaygain --freeformat -b 100 -m m "$tmp/mono44.wav" "$out/free-format.mp3"

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

# The constant-rate clip with the encoder's tag saying "method unknown", as many encoders
# other than lame write it: its Info frame reads as a variable rate unless the frames count.
info = bytearray(good)
at = info.find(b"LAME")
info[at + 9] &= 0xF0
open(os.path.join(out, "cbr-info-unknown.mp3"), "wb").write(bytes(info))

# The constant-rate clip with every tag an MP3 may carry: ID3v2 (with zeros after it), an APE
# tag and ID3v1 at the end.
title = b"Evacuate now"
frame = b"TIT2" + (len(title) + 1).to_bytes(4, "big") + b"\0\0" + b"\0" + title
body = frame + bytes(64)
size = bytes((len(body) >> s) & 0x7F for s in (21, 14, 7, 0))
id3v2 = b"ID3\3\0\0" + size + body
item = (5).to_bytes(4, "little") + bytes(4) + b"Title\0" + b"Alarm"
ape_size = 32 + len(item)
def ape(flags):
    return (b"APETAGEX" + (2000).to_bytes(4, "little") + ape_size.to_bytes(4, "little") +
            (1).to_bytes(4, "little") + flags.to_bytes(4, "little") + bytes(8))
ape_tag = ape(0xA0000000) + item + ape(0x80000000)
id3v1 = b"TAG" + b"Evacuate now".ljust(30, b"\0") + bytes(125 - 30)
open(os.path.join(out, "tagged.mp3"), "wb").write(id3v2 + bytes(100) + good + ape_tag + id3v1)

# MPEG-1 Layer II: one second of silent frames at 32 kbit/s, 48,000 Hz, mono (a frame of
# zeros allocates no bits to any band).
layer2 = (b"\xff\xfd\x14\xc0" + bytes(96 - 4)) * 42
open(os.path.join(out, "layer2.mp3"), "wb").write(layer2)

# RIFF files around the frames of a good clip: a WAVE file of MPEG audio, and a RIFF file of
# another kind (RMP3) with the frames as its data chunk.
def chunk(name, data):
    return name + len(data).to_bytes(4, "little") + data + bytes(len(data) % 2)
def riff(kind, chunks):
    return b"RIFF" + (4 + len(chunks)).to_bytes(4, "little") + kind + chunks
fmt = ((0x55).to_bytes(2, "little") + (2).to_bytes(2, "little") +
       (44100).to_bytes(4, "little") + (16000).to_bytes(4, "little") + (1).to_bytes(2, "little") +
       (0).to_bytes(2, "little") + (12).to_bytes(2, "little") + (1).to_bytes(2, "little") +
       (2).to_bytes(4, "little") + (418).to_bytes(2, "little") + (1).to_bytes(2, "little") +
       (1393).to_bytes(2, "little"))
wave = riff(b"WAVE", chunk(b"fmt ", fmt) + chunk(b"data", good))
open(os.path.join(out, "wave-mpeg.mp3"), "wb").write(wave)
open(os.path.join(out, "riff-other.mp3"), "wb").write(riff(b"RMP3", chunk(b"data", good)))
PY
cp "$tmp/mono22.wav" "$out/wave-named.mp3"
ls -l "$out"/*.mp3
