#!/usr/bin/env bash
# Cold-start cost of the editor against a bare Qt window of the same size.
#
#   scripts/startup-bench.sh [runs]        (default 30)
#
# Both sides are whole processes of app/bench/StartupProbe.cpp: "full" builds the editor's
# window over a project with 64 clips and every slot using four clips, runs the start-up and
# paints once; "empty" shows an empty QMainWindow and paints once. Uses hyperfine when it is
# installed, else a timing loop. QT_QPA_PLATFORM defaults to offscreen.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-30}
build=$(realpath -m "${PWX_BUILD_DIR:-$root/build/release}")
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

if [[ ! -f $build/CMakeCache.txt ]]; then
  (cd "$root" && cmake --preset release >/dev/null)
fi
cmake --build "$build" --target startup_probe >/dev/null
probe=$build/app/bench/startup_probe

start=$(mktemp -d)
trap 'rm -rf "$start"' EXIT
python3 - "$start" "$root/assets/err1/Err1.mp3" <<'PY'
import os, shutil, sys
start, clip = sys.argv[1], sys.argv[2]
project = os.path.join(start, "project")
sounds = os.path.join(start, "sounds")
os.makedirs(project)
os.makedirs(sounds)
lines = []
for n in range(1, 65):
    source = os.path.join(sounds, "Clip number %d.mp3" % n)
    shutil.copyfile(clip, source)
    shutil.copyfile(clip, os.path.join(project, "%03d.mp3" % n))
    lines.append(source)
with open(os.path.join(project, "m3fn.txt"), "wb") as f:
    f.write(b"\xef\xbb\xbf" + b"".join(l.encode() + b"\r\n" for l in lines))
image = bytearray(512)
image[0:4] = b"\x5a\x35\x77\xa5"
image[8] = 5
for s in range(64):
    image[96 + s] = 1
for s in range(32):
    image[32 + s] = 4
    image[96 + s] = 1 + s
    image[160 + s] = s % 2
    for k in range(4):
        image[256 + 4 * s + k] = 1 + (s * 4 + k) % 64
with open(os.path.join(project, "plist.cfg"), "wb") as f:
    f.write(image)
with open(os.path.join(start, "PRJ.cfg"), "wb") as f:
    f.write(project.encode() + b"/\r\n")
with open(os.path.join(project, "vol.cfg"), "wb") as f:
    f.write(b"7")
PY

cd "$start"
if command -v hyperfine >/dev/null; then
  hyperfine --warmup 3 --runs "$runs" --export-json "$start/times.json" \
    -n empty "$probe --empty" -n full "$probe" >&2
  python3 - "$start/times.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
e, f = r["empty"], r["full"]
print("empty QMainWindow: mean %.1f ms, median %.1f ms" % (e["mean"] * 1e3, e["median"] * 1e3))
print("full project:      mean %.1f ms, median %.1f ms" % (f["mean"] * 1e3, f["median"] * 1e3))
print("ratio full/empty:  %.2f (means), %.2f (medians)" % (f["mean"] / e["mean"], f["median"] / e["median"]))
PY
else
  time_runs() {
    local total=0 t0 t1
    for _ in $(seq "$runs"); do
      t0=$(date +%s%N)
      "$@" >/dev/null 2>&1
      t1=$(date +%s%N)
      total=$((total + t1 - t0))
    done
    echo $((total / runs / 1000))
  }
  "$probe" --empty >/dev/null 2>&1 && "$probe" >/dev/null 2>&1  # warm the caches
  empty=$(time_runs "$probe" --empty)
  full=$(time_runs "$probe")
  echo "empty QMainWindow: mean $((empty / 1000)).$(((empty % 1000) / 100)) ms"
  echo "full project:      mean $((full / 1000)).$(((full % 1000) / 100)) ms"
  python3 -c "print('ratio full/empty:  %.2f' % ($full / $empty))"
fi
