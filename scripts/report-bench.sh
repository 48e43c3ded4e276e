#!/usr/bin/env bash
# The commissioning report against hashing the same clips with sha256sum.
#
#   scripts/report-bench.sh [runs] [megabytes-per-clip]      (defaults 3 and 10)
#
# Makes a project of 64 clips of about 10 MB each (scripts/make-bench-project.sh), then
# times `pwx36-editor report FOLDER -o FILE.pdf` against `sha256sum` over the same 64 files,
# and prints the medians of wall time, CPU time and peak memory and their ratios. The report
# hashes every clip, so sha256sum is its floor.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
megabytes=${2:-10}
editor=$("$root/scripts/release-editor.sh")

project=$("$root/scripts/make-bench-project.sh" "$megabytes")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

copies=("$project"/0*.mp3)
echo "64 clips of $(($(stat -c %s "${copies[0]}") / 1024)) KiB each in $project"
"$root/scripts/compare-processes.py" --runs "$runs" --warmup 1 \
  "sha256sum" $((1 + ${#copies[@]})) sha256sum "${copies[@]}" \
  "report" 5 "$editor" report "$project" -o "$out/report.pdf"
