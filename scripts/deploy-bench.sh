#!/usr/bin/env bash
# Copying a project to a card against doing the same work by hand.
#
#   scripts/deploy-bench.sh [runs] [megabytes-per-clip]      (defaults 3 and 10)
#
# On the project of scripts/make-bench-project.sh (64 clips of about 10 MB), times
#   by hand: cp of the player's files into an empty folder, sync, sha256sum of the copies
#   deploy:  pwx36-editor deploy FOLDER DEST into an empty folder
#   again:   pwx36-editor deploy FOLDER DEST once more, nothing changed
# and prints the medians and the ratios to the copy by hand. The folders are in build/, on the
# same disk as the project.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
megabytes=${2:-10}
editor=$("$root/scripts/release-editor.sh")
project=$("$root/scripts/make-bench-project.sh" "$megabytes")
cards=$root/build/deploy-bench
rm -rf "$cards"
mkdir -p "$cards"
trap 'rm -rf "$cards"' EXIT

# Each side empties its folder first, inside the timed process, as the copy by hand must.
by_hand='rm -rf "$2" && mkdir "$2" && cd "$1" &&
  cp 0*.mp3 Err1.mp3 m3fn.txt vol.cfg rtu.cfg plist.cfg "$2"/ && sync &&
  cd "$2" && sha256sum 0*.mp3 Err1.mp3 m3fn.txt vol.cfg rtu.cfg plist.cfg >/dev/null'
# The first deploy starts without remembered hashes; the second keeps its own.
deploy='rm -rf "$2" "$4" && mkdir "$2" && XDG_CACHE_HOME=$4 exec "$3" deploy "$1" "$2"'
again='XDG_CACHE_HOME=$3 exec "$2" deploy "$1" "$4"'
mkdir "$cards/again"
"$editor" deploy "$project" "$cards/again" >/dev/null  # the card the second deploy finds equal

"$root/scripts/compare-processes.py" --runs "$runs" --warmup 1 \
  "cp+sync+sha256sum" 6 bash -c "$by_hand" _ "$project" "$cards/hand" \
  "deploy" 8 bash -c "$deploy" _ "$project" "$cards/deploy" "$editor" "$cards/cache-first" \
  "deploy again" 8 bash -c "$again" _ "$project" "$editor" "$cards/cache-again" "$cards/again"
