#!/usr/bin/env bash
# Regenerates Err1.mp3, the short "No content" clip the editor writes into
# every project it saves.
#
# Usage: assets/err1/make-err1.sh [output.mp3]     (default: next to this script)
#
# Needs espeak-ng, sox and lame (Debian packages of the same names).
# The output is byte-identical from run to run on the same tool versions:
# espeak-ng and lame are deterministic, and sox runs with -D so it never adds
# its (random) dither noise.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=${1:-"$here/Err1.mp3"}

readonly phrase="No content"
readonly title="EN_NoContent"   # goes into the TIT2 frame; plain ASCII only
readonly rate=44100
readonly total_samples=44100    # one second at $rate
readonly lead_samples=2205      # 50 ms of silence before the voice

die() { echo "make-err1: $*" >&2; exit 1; }

for tool in espeak-ng sox soxi lame; do
    command -v "$tool" >/dev/null || die "missing tool: $tool"
done
[[ $title =~ ^[[:print:]]+$ ]] || die "title must be printable ASCII"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 1. Speech, 22050 Hz mono as espeak-ng produces it.
espeak-ng -v en-us -s 160 -w "$tmp/speech.wav" "$phrase"

# 2. Cut leading/trailing silence, resample to 44.1 kHz stereo, normalise.
sox -D "$tmp/speech.wav" -b 16 "$tmp/voice.wav" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse \
    rate -v "$rate" channels 2 gain -n -1

voice_samples=$(soxi -s "$tmp/voice.wav")
tail_samples=$(( total_samples - lead_samples - voice_samples ))
(( tail_samples >= 0 )) || die "speech is ${voice_samples} samples, too long for the clip"

# 3. Soften the cut edges so the clip starts and ends without a click, then
#    pad to exactly one second. (The fade needs a known input length, which is
#    why this is a second sox run.)
sox -D "$tmp/voice.wav" "$tmp/clip.wav" \
    fade t 0.01 -0 0.03 pad "${lead_samples}s" "${tail_samples}s"
[[ $(soxi -s "$tmp/clip.wav") == "$total_samples" ]] || die "padding produced the wrong length"

# 4. MPEG-1 Layer III, joint stereo, VBR with the Xing/LAME info frame.
#    lame 3.100 writes no ID3 tag unless a tag field is given, so none are.
lame --silent -V 4 -b 48 -B 224 -F -m j "$tmp/clip.wav" "$tmp/audio.mp3"

# The tag below must be the only one in the file: refuse lame output that
# carries its own ID3v2 header or ID3v1 trailer.
hex() { od -An -tx1 | tr -d ' \n'; }
[[ $(head -c 3 "$tmp/audio.mp3" | hex) != 494433 ]] || die "lame wrote an ID3v2 tag"
[[ $(tail -c 128 "$tmp/audio.mp3" | head -c 3 | hex) != 544147 ]] || die "lame wrote an ID3v1 tag"
# 0xFFFB: frame sync, MPEG-1, Layer III, no CRC
[[ $(head -c 2 "$tmp/audio.mp3" | hex) == fffb ]] \
    || die "lame output does not start with an MPEG-1 Layer III frame"

# 5. Our own ID3v2.3 tag: header "ID3" 3.0, no flags, syncsafe size; one TIT2
#    frame (ISO-8859-1, encoding byte 0), no padding.
byte() { for b; do printf '%b' "\\x$(printf %02x "$b")"; done; }
be32() {  # plain big-endian 32-bit (frame sizes in v2.3)
    byte $(( ($1 >> 24) & 255 )) $(( ($1 >> 16) & 255 )) $(( ($1 >> 8) & 255 )) $(( $1 & 255 ))
}
syncsafe32() {  # 4 x 7 bits (tag size in the header)
    byte $(( ($1 >> 21) & 127 )) $(( ($1 >> 14) & 127 )) $(( ($1 >> 7) & 127 )) $(( $1 & 127 ))
}
frame_body_size=$(( 1 + ${#title} ))
tag_body_size=$(( 10 + frame_body_size ))
{
    printf 'ID3\x03\x00\x00'
    syncsafe32 "$tag_body_size"
    printf 'TIT2'
    be32 "$frame_body_size"
    printf '\x00\x00'   # frame flags
    printf '\x00'       # text encoding: ISO-8859-1
    printf '%s' "$title"
} > "$tmp/tag.bin"
[[ $(stat -c %s "$tmp/tag.bin") == $(( 10 + tag_body_size )) ]] || die "ID3 tag has the wrong size"

cat "$tmp/tag.bin" "$tmp/audio.mp3" > "$tmp/Err1.mp3"
mv -f "$tmp/Err1.mp3" "$out"
echo "wrote $out ($(stat -c %s "$out") bytes)"
