#!/usr/bin/env bash
# The project check against decoding the same clips with mpg123.
#
#   scripts/check-bench.sh [runs] [megabytes-per-clip]      (defaults 3 and 10)
#
# Makes a project of 64 clips of about 10 MB each (scripts/make-bench-project.sh), then
# times `pwx36-editor check FOLDER` against `mpg123 -t` decoding the same 64 files one after
# another, and prints the medians of wall time, CPU time and peak memory and their ratios.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
megabytes=${2:-10}
editor=$("$root/scripts/release-editor.sh")

project=$("$root/scripts/make-bench-project.sh" "$megabytes")

copies=("$project"/0*.mp3)
echo "64 clips of $(($(stat -c %s "${copies[0]}") / 1024)) KiB each in $project"
"$root/scripts/compare-processes.py" --runs "$runs" --warmup 1 \
  "mpg123 -t" $((3 + ${#copies[@]})) mpg123 -q -t "${copies[@]}" \
  "check" 3 "$editor" check "$project"
