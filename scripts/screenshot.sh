#!/usr/bin/env bash
# Takes a picture of the editor's window with a sample project loaded.
#
#   scripts/screenshot.sh [out.png]            (default docs/screenshot.png)
#   scripts/screenshot.sh --check [out.png]    (default docs/check-results.png)
#   scripts/screenshot.sh --card [plan.png]    (default docs/card-plan.png, and card-result.png
#                                               beside it)
#   scripts/screenshot.sh --loudness [out.png] (default docs/loudness-menu.png: the audio list's
#                                               Loudness menu open)
#   scripts/screenshot.sh --report [page.png]  (default docs/report.png: page 1 of the sample's
#                                               commissioning report, made on the command line)
#
# Builds the release preset (or uses PWX_BUILD_DIR), writes a sample project into a temporary
# start folder, runs the editor there under a virtual X server and saves the window. With
# --check the sample has several faults, the project check runs, and the picture shows the
# screen with the window and the check's findings.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
check=0
card=0
report=0
loudness=0
if [[ ${1:-} == --check ]]; then
  check=1
  shift
elif [[ ${1:-} == --card ]]; then
  card=1
  shift
elif [[ ${1:-} == --loudness ]]; then
  loudness=1
  shift
elif [[ ${1:-} == --report ]]; then
  report=1
  shift
fi
default_out=$root/docs/screenshot.png
if ((check)); then default_out=$root/docs/check-results.png; fi
if ((card)); then default_out=$root/docs/card-plan.png; fi
if ((report)); then default_out=$root/docs/report.png; fi
if ((loudness)); then default_out=$root/docs/loudness-menu.png; fi
out=$(realpath -m "${1:-$default_out}")
editor=$("$root/scripts/release-editor.sh")

start=$(mktemp -d)
trap 'rm -rf "$start"' EXIT
project="$start/Hall A"
mkdir -p "$project" "$start/sounds"

# Clips 1, 2, 3, 5 and 8: the source files and their numbered project copies.
declare -A clips=([1]="Fire alarm" [2]="Gas leak" [3]="Evacuate now" [5]="All clear" [8]="Door open")
for n in "${!clips[@]}"; do
  cp "$root/assets/err1/Err1.mp3" "$start/sounds/${clips[$n]}.mp3"
  cp "$root/assets/err1/Err1.mp3" "$project/$(printf '%03d' "$n").mp3"
done

python3 - "$project" "$start/sounds" <<'PY'
import os, sys
project, sounds = sys.argv[1], sys.argv[2]
names = {1: "Fire alarm", 2: "Gas leak", 3: "Evacuate now", 5: "All clear", 8: "Door open"}
lines = [os.path.join(sounds, names[k] + ".mp3") if k in names else "" for k in range(1, 65)]
with open(os.path.join(project, "m3fn.txt"), "wb") as f:
    f.write(b"\xef\xbb\xbf" + b"".join(l.encode() + b"\r\n" for l in lines))

image = bytearray(512)
image[0:4] = b"\x5a\x35\x77\xa5"
image[8] = 5  # mode 5: binary inputs
for s in range(64):
    image[96 + s] = 1
# slot: (clips, repeat, alarm output)
slots = {0: ([1, 2], 3, 1), 1: ([3], 1, 0), 2: ([1, 5, 8], 2, 1), 4: ([2], 1, 0),
         6: ([8, 3], 5, 1), 9: ([5], 1, 0), 14: ([1, 2, 3, 5], 9, 1)}
for s, (numbers, repeat, alarm) in slots.items():
    image[32 + s] = len(numbers)
    image[96 + s] = repeat
    image[160 + s] = alarm
    for k, n in enumerate(numbers):
        image[256 + 4 * s + k] = n
with open(os.path.join(project, "plist.cfg"), "wb") as f:
    f.write(image)
PY
printf '%s/\r\n' "$project" >"$start/PRJ.cfg"
printf '7' >"$project/vol.cfg"
printf '12,9600,E,8,1' >"$project/rtu.cfg"

if ((report)); then
  cp "$root/assets/err1/Err1.mp3" "$project/Err1.mp3"
  "$editor" report "$project" -o "$start/report.pdf"
  pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$start/report.pdf" "${out%.png}"
  echo "$out"
  exit 0
fi

if ((card)); then
  # A saved project, and a FAT card (an image mounted through fusefat, where it can be) that
  # still holds a clip of an older project and what another system left there.
  cp "$root/assets/err1/Err1.mp3" "$project/Err1.mp3"
  mkdir -p "$start/card"
  if truncate -s 64M "$start/card.img" && mkfs.vfat "$start/card.img" >/dev/null 2>&1 &&
    fusefat -o rw+ "$start/card.img" "$start/card" >/dev/null 2>&1; then
    trap 'fusermount -u "$start/card" 2>/dev/null || true; rm -rf "$start"' EXIT
  fi
  cp "$root/assets/err1/Err1.mp3" "$start/card/017.mp3"
  cp "$root/assets/err1/Err1.mp3" "$start/card/._017.mp3"
  mkdir -p "$start/card/.Trashes"
fi

if ((check)); then
  # Faults the check finds: a copy gone, a copy cut short, a stray copy, an input that names
  # a clip the library lacks, one with a hole before its clip, no error clip.
  rm "$project/008.mp3"
  head -c 3000 "$root/assets/err1/Err1.mp3" >"$project/005.mp3"
  cp "$root/assets/err1/Err1.mp3" "$project/012.mp3"
  python3 - "$project/plist.cfg" <<'PY'
import sys
with open(sys.argv[1], "r+b") as f:
    image = bytearray(f.read())
    image[256 + 4 * 4: 256 + 4 * 4 + 2] = bytes([2, 9])  # bI5: 002, then clip 9 (free)
    image[256 + 4 * 9: 256 + 4 * 9 + 2] = bytes([0, 5])  # bI10: None, then 005
    f.seek(0)
    f.write(image)
PY
fi

mkdir -p "$(dirname "$out")"
cd "$start"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -euo pipefail
  "$1" &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  window=$(timeout 30 xdotool search --sync --name "PWX36 Editor" | head -n 1)
  sleep 2  # the start-up and the first paint
  if (($4)); then
    xdotool mousemove --window "$window" 890 26 click 1  # Copy to Card
    sleep 2
    xdotool key alt+o  # "Other Folder..."
    sleep 2
    xdotool type --delay 20 "$5"
    xdotool key Return
    sleep 4  # the check and the plan
    import -window root "$2"
    xdotool key Return  # Copy
    sleep 3
    import -window root "${2%.png}-result.png"
  elif (($6)); then
    xdotool mousemove --window "$window" 278 194 click 1  # Loudness
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "600x300+$X+$Y" +repage "$2"
  elif (($3)); then
    xdotool mousemove --window "$window" 1035 26 click 1  # Check Project
    results=$(timeout 30 xdotool search --sync --name "Project Check Results" | head -n 1)
    xdotool windowmove "$results" 120 300
    sleep 1
    import -window root "$2"
  else
    import -window "$window" "$2"
  fi
' _ "$editor" "$out" "$check" "$card" "$start/card" "$loudness"
echo "$out"
