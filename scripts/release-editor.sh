#!/usr/bin/env bash
# Builds the editor for the scripts that run it (screenshots, benchmarks) and prints its path:
# the release preset, or the build folder PWX_BUILD_DIR names. Installs the tools they use.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${PWX_BUILD_DIR:-$root/build/release}")

"$root/scripts/install-deps.sh" tools >&2
if [[ ! -f $build/CMakeCache.txt ]]; then
  (cd "$root" && cmake --preset release >/dev/null)
fi
cmake --build "$build" --target pwx36-editor >/dev/null
echo "$build/app/pwx36-editor"
